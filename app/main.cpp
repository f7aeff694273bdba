#include "appcore.h"
#include "cmainframe.h"
#include "messageboxprompter.h"
#include "projectfolder.h"
#include "terminationsignals.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

using namespace lumaro;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumaro"));
    QApplication::setApplicationVersion(QStringLiteral(LUMARO_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("DALI commissioning and control over an RS485 gateway line."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("PROJECT_FOLDER"),
                                 QStringLiteral("The project's working folder (default: the current directory)."));
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Adds a serial device that the system's port list does not show (repeatable)."),
                                        QStringLiteral("DEVICE"));
    const QCommandLineOption newOption(QStringLiteral("new"),
                                       QStringLiteral("Creates a project folder with an empty db.ctt and the shipped DeviceType.ini, and opens it."),
                                       QStringLiteral("FOLDER"));
    parser.addOption(portOption);
    parser.addOption(newOption);
    parser.process(app);

    QString folder = parser.positionalArguments().value(0, QDir::currentPath());
    if (parser.isSet(newOption)) {
        folder = parser.value(newOption);
        QString error;
        if (!createProjectFolder(folder, &error)) {
            qCritical("%s", qPrintable(error));
            return 2;
        }
    }
    if (!QDir::setCurrent(folder)) {
        qCritical("Cannot open the project folder %s", qPrintable(folder));
        return 2;
    }

    MessageBoxPrompter prompter;
    SystemClock clock;
    AppCore core(ProjectStore::currentWorkingFolder(), prompter, clock);
    core.readSettings();
    core.setExtraPorts(parser.values(portOption));

    // The language is chosen once, before the first text.
    QTranslator qtTranslator, translator;
    if (core.chinese()) {
        if (qtTranslator.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QApplication::installTranslator(&qtTranslator);
        if (translator.load(QStringLiteral(":/i18n/lumaro_zh_CN.qm")))
            QApplication::installTranslator(&translator);
    }

    if (!core.prepareProject())
        return 1;
    core.startLoading();

    CMainFrame window(core);
    prompter.setParent(&window);

    TerminationSignals termination;
    if (termination.install())
        QObject::connect(&termination, &TerminationSignals::terminationRequested, &window, &CMainFrame::terminate);

    window.showMaximized();
    window.startUp();
    return app.exec();
}
