// gateway-sim: a simulated RS485 line of DALI gateways on a pseudo-terminal, so that Lumaro can
// be tried, tested or prepared without hardware.

#include "faults.h"
#include "gatewayserver.h"
#include "installation.h"
#include "linesettings.h"
#include "pseudoterminal.h"
#include "simline.h"
#include "terminationsignals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>

using namespace lumaro::sim;

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "gateway-sim: %s\n", qPrintable(message));
    return 1;
}

bool fraction(const QString &text, double *value)
{
    bool ok = false;
    *value = text.toDouble(&ok);
    return ok && *value >= 0.0 && *value <= 1.0;
}

// The symbolic link that gives the pseudo-terminal a fixed name. Only a link is ever replaced
// or removed, never a file that happens to have that name.
class DeviceLink
{
public:
    ~DeviceLink()
    {
        const QFileInfo info(m_path);
        if (!m_path.isEmpty() && info.isSymLink() && info.symLinkTarget() == m_target)
            QFile::remove(m_path);
    }

    QString make(const QString &path, const QString &target)
    {
        const QFileInfo info(path);
        if (info.isSymLink()) {
            if (!QFile::remove(path))
                return QCoreApplication::translate("GatewaySim", "Cannot replace the link %1").arg(path);
        } else if (info.exists()) {
            return QCoreApplication::translate("GatewaySim", "%1 exists and is not a symbolic link").arg(path);
        }
        if (!QFile::link(target, path))
            return QCoreApplication::translate("GatewaySim", "Cannot make the link %1").arg(path);
        m_path = path;
        m_target = QFileInfo(target).canonicalFilePath();
        return QString();
    }

private:
    QString m_path;
    QString m_target;
};

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("gateway-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LUMARO_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("GatewaySim", "Simulates a line of DALI gateways and their gear on a pseudo-terminal. "
           "The first line of the output is the device path."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption installationOption(
        QStringLiteral("installation"), QCoreApplication::translate("GatewaySim", "Installation file to serve (default: the demo installation)."),
        QCoreApplication::translate("GatewaySim", "FILE"));
    const QCommandLineOption linkOption(QStringLiteral("link"),
                                        QCoreApplication::translate("GatewaySim", "Make a symbolic link PATH to the device (removed at exit)."),
                                        QCoreApplication::translate("GatewaySim", "PATH"));
    const QCommandLineOption baudOption(QStringLiteral("baud"), QCoreApplication::translate("GatewaySim", "Baud rate of the line (default 9600)."),
                                        QCoreApplication::translate("GatewaySim", "N"), QStringLiteral("9600"));
    const QCommandLineOption parityOption(QStringLiteral("parity"), QCoreApplication::translate("GatewaySim", "Parity: N, O or E (default N)."),
                                          QCoreApplication::translate("GatewaySim", "N|O|E"), QStringLiteral("N"));
    const QCommandLineOption stopBitsOption(QStringLiteral("stop-bits"), QCoreApplication::translate("GatewaySim", "Stop bits: 1 or 2 (default 2)."),
                                            QCoreApplication::translate("GatewaySim", "1|2"), QStringLiteral("2"));
    const QCommandLineOption silentOption(QStringLiteral("silent"),
                                          QCoreApplication::translate("GatewaySim", "Gateway address that does not answer (repeatable)."), QCoreApplication::translate("GatewaySim", "ADDR"));
    const QCommandLineOption loseOption(QStringLiteral("lose"), QCoreApplication::translate("GatewaySim", "Fraction 0..1 of answers lost."),
                                        QCoreApplication::translate("GatewaySim", "FRACTION"), QStringLiteral("0"));
    const QCommandLineOption damageOption(QStringLiteral("damage"),
                                          QCoreApplication::translate("GatewaySim", "Fraction 0..1 of answers with one damaged byte."), QCoreApplication::translate("GatewaySim", "FRACTION"),
                                          QStringLiteral("0"));
    const QCommandLineOption delayOption(QStringLiteral("delay"), QCoreApplication::translate("GatewaySim", "Extra delay of every answer in ms."),
                                         QCoreApplication::translate("GatewaySim", "MS"), QStringLiteral("0"));
    const QCommandLineOption seedOption(QStringLiteral("seed"), QCoreApplication::translate("GatewaySim", "Seed of the fault generator."), QCoreApplication::translate("GatewaySim", "N"),
                                        QStringLiteral("1"));
    const QCommandLineOption verboseOption(QStringLiteral("verbose"),
                                           QCoreApplication::translate("GatewaySim", "Print every request and answer on standard error."));
    parser.addOptions({installationOption, linkOption, baudOption, parityOption, stopBitsOption, silentOption,
                       loseOption, damageOption, delayOption, seedOption, verboseOption});
    parser.process(app);

    LineSettings settings;
    bool ok = false;
    settings.baud = parser.value(baudOption).toInt(&ok);
    if (!ok || settings.baud <= 0)
        return fail(QCoreApplication::translate("GatewaySim", "--baud needs a positive number"));
    const QString parity = parser.value(parityOption).toUpper();
    if (parity != QLatin1String("N") && parity != QLatin1String("O") && parity != QLatin1String("E"))
        return fail(QCoreApplication::translate("GatewaySim", "--parity must be N, O or E"));
    settings.parity = parity.at(0).toLatin1();
    settings.stopBits = parser.value(stopBitsOption).toInt(&ok);
    if (!ok || (settings.stopBits != 1 && settings.stopBits != 2))
        return fail(QCoreApplication::translate("GatewaySim", "--stop-bits must be 1 or 2"));

    Faults faults;
    for (const QString &text : parser.values(silentOption)) {
        const int address = text.toInt(&ok);
        if (!ok || address < 1 || address > 16)
            return fail(QCoreApplication::translate("GatewaySim", "--silent needs a gateway address 1..16"));
        faults.silentGateways.insert(address);
    }
    if (!fraction(parser.value(loseOption), &faults.loseFraction))
        return fail(QCoreApplication::translate("GatewaySim", "--lose needs a fraction 0..1"));
    if (!fraction(parser.value(damageOption), &faults.damageFraction))
        return fail(QCoreApplication::translate("GatewaySim", "--damage needs a fraction 0..1"));
    faults.extraDelayMs = parser.value(delayOption).toInt(&ok);
    if (!ok || faults.extraDelayMs < 0)
        return fail(QCoreApplication::translate("GatewaySim", "--delay needs a number of ms, 0 or more"));
    faults.seed = parser.value(seedOption).toUInt(&ok);
    if (!ok)
        return fail(QCoreApplication::translate("GatewaySim", "--seed needs a number"));

    const Installation installation = parser.isSet(installationOption)
        ? Installation::fromFile(parser.value(installationOption))
        : Installation::demo();
    if (!installation.isValid())
        return fail(installation.error());
    for (const QString &warning : installation.warnings())
        std::fprintf(stderr, "gateway-sim: %s\n", qPrintable(warning));

    SimLine line(installation);
    line.setFaults(faults);

    TerminationSignals signals_;
    if (!signals_.install())
        return fail(signals_.errorString());
    QObject::connect(&signals_, &TerminationSignals::terminationRequested, &app, [] { QCoreApplication::quit(); });

    PseudoTerminal terminal;
    if (!terminal.open())
        return fail(terminal.errorString());
    {
        // The device path first, on a line of its own and at once: whoever started the simulator
        // waits for it.
        QTextStream out(stdout);
        out << terminal.slavePath() << Qt::endl;
    }

    DeviceLink link;
    if (parser.isSet(linkOption)) {
        const QString error = link.make(parser.value(linkOption), terminal.slavePath());
        if (!error.isEmpty())
            return fail(error);
    }

    GatewayServer server(terminal, line, settings, parser.isSet(verboseOption));
    server.start();
    return app.exec();
}
