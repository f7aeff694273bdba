// The main window over its application core in a temporary project: its menus, toolbar, panes
// and status bar, the start-up with the port setting dialog, the exit question and the shutdown.
// The line is a simulated gateway line in-process; after start-up the tests drive the link and
// the status poll tick by tick, so no test waits for real time to pass.
#include "appcore.h"
#include "clock.h"
#include "cmainframe.h"
#include "gatewaylink.h"
#include "inprocesstransport.h"
#include "installation.h"
#include "logbook.h"
#include "projectdata.h"
#include "projectstore.h"
#include "scriptedprompter.h"
#include "simline.h"
#include "statuspoll.h"
#include "testfiles.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <functional>
#include <memory>

using namespace lumaro;

namespace {

const QDateTime kStart(QDate(2024, 5, 17), QTime(10, 0, 0));
const QString kPrefix = QStringLiteral("2024-05-17  10:00:00  >");
const QString kLogFile = QStringLiteral("2024-05-17-log.txt");
// The one device the in-process factory can open; the fixtures' B0 PORTNAME names it.
const QString kSimDevice = QStringLiteral("simline");
const QString kExitQuestion = QStringLiteral("Are you sure to exit?");

QString testData(const QString &path)
{
    return QDir(qEnvironmentVariable("LUMARO_TEST_DATA")).filePath(path);
}

// The texts of a menu's items in order, separators left out; a submenu gives its title and
// then its items.
QStringList itemTexts(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *a : menu->actions()) {
        if (a->isSeparator())
            continue;
        texts.append(a->text());
        if (a->menu())
            texts.append(itemTexts(a->menu()));
    }
    return texts;
}

void collect(const QMenu *menu, QList<QAction *> *into)
{
    for (QAction *a : menu->actions()) {
        if (a->isSeparator())
            continue;
        into->append(a);
        if (a->menu())
            collect(a->menu(), into);
    }
}

}  // namespace

class TestMainFrame : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void beforeStartUp();
    void startUp();
    void menus_data();
    void menus();
    void toolBar();
    void statusPanes();
    void viewToggles_data();
    void viewToggles();
    void portCommands();
    void languageSwitch_data();
    void languageSwitch();
    void pollWaitsForThePortDialog();
    void exitAnsweredNo();
    void exitSavesAndEnds_data();
    void exitSavesAndEnds();
    void terminateDuringThePortDialog();
    void projectWithoutGear();

private:
    // A project folder from a fixture's db.ctt, the shipped DeviceType.ini and quick settings.
    void makeProject(const QString &fixture);
    // The core and the window as the program makes them, shown but not yet started up.
    void createWindow();
    // Starts up; `atPortDialog` gets the port setting dialog once it runs modal. By default it
    // confirms the preselected port at once instead of waiting out the countdown.
    void runStartUp(const std::function<void(QDialog *)> &atPortDialog = {});
    // Runs `act` on the modal dialog as soon as one is open (inside its exec()).
    void whenModal(const std::function<void(QDialog *)> &act);
    // Gives time to the link and the poll as the main window's timers would: the link every
    // 10 ms, the poll step every 100 ms, the one-second countdowns every second.
    void run(int ms);
    bool runUntil(const std::function<bool()> &done, int limitMs = 60000);
    // Until every gear of the hall fixture has been polled to its final state.
    bool runUntilHallPolled();

    QAction *action(const QString &text) const;
    QString stored(ProjectFile file, const QString &section, const QString &key) const;
    QStringList logFileLines() const;
    qsizetype writtenCount() const { return m_transport ? m_transport->written().size() : 0; }

    std::unique_ptr<QTemporaryDir> m_dir;
    FixedClock m_clock{kStart};
    ScriptedPrompter m_prompter;
    std::unique_ptr<sim::SimLine> m_simLine;
    QPointer<InProcessTransport> m_transport;   // the one the line opened last
    std::unique_ptr<AppCore> m_core;
    std::unique_ptr<CMainFrame> m_window;
    bool m_pollEnabledAtStartUpDialog = true;
    int m_ms = 0;
};

void TestMainFrame::initTestCase()
{
    // The tests close the main window and go on.
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestMainFrame::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_clock.set(kStart);
    m_prompter = ScriptedPrompter();
    m_pollEnabledAtStartUpDialog = true;
    m_ms = 0;
    const sim::Installation installation = sim::Installation::fromFile(testData(QStringLiteral("app/hall/installation.ini")));
    QVERIFY2(installation.isValid() && installation.warnings().isEmpty(),
             qPrintable(installation.error() + installation.warnings().join(u'\n')));
    m_simLine = std::make_unique<sim::SimLine>(installation);
}

void TestMainFrame::cleanup()
{
    m_window.reset();
    m_core.reset();
    m_simLine.reset();
}

void TestMainFrame::makeProject(const QString &fixture)
{
    const QDir dir(m_dir->path());
    QVERIFY(QFile::copy(testData(fixture), dir.filePath(QStringLiteral("db.ctt"))));
    QVERIFY(QFile::copy(QDir(qEnvironmentVariable("LUMARO_SOURCE_DIR")).filePath(QStringLiteral("data/DeviceType.ini")),
                        dir.filePath(QStringLiteral("DeviceType.ini"))));
    // Half-second time-outs and one minute between poll cycles.
    QVERIFY(writeAll(dir.filePath(QStringLiteral("softset.ini")),
                     "[SOFTWARE]\r\nCOMTIMEOUT=500\r\nALLCHECKTHREADCOUNT=1\r\n"));
}

void TestMainFrame::createWindow()
{
    auto factory = [this](const QString &device, const LineSettings &) -> std::unique_ptr<Transport> {
        if (device != kSimDevice)
            return nullptr;
        auto transport = std::make_unique<InProcessTransport>(*m_simLine, 2);
        m_transport = transport.get();
        return transport;
    };
    m_core = std::make_unique<AppCore>(m_dir->path(), m_prompter, m_clock, factory);
    m_core->readSettings();
    m_core->setExtraPorts({kSimDevice});
    QVERIFY(m_core->prepareProject());
    m_core->startLoading();
    m_window = std::make_unique<CMainFrame>(*m_core);
    m_window->show();
}

void TestMainFrame::whenModal(const std::function<void(QDialog *)> &act)
{
    auto *watch = new QTimer(this);
    watch->setInterval(5);
    connect(watch, &QTimer::timeout, this, [watch, act] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        watch->stop();
        watch->deleteLater();
        act(dialog);
    });
    watch->start();
}

void TestMainFrame::runStartUp(const std::function<void(QDialog *)> &atPortDialog)
{
    // Once the project has loaded, startUp() runs every step at once, the dialog's exec() last.
    QTRY_VERIFY_WITH_TIMEOUT(m_core->isLoaded(), 20000);
    whenModal([this, atPortDialog](QDialog *dialog) {
        m_pollEnabledAtStartUpDialog = m_core->poll().isEnabled();
        if (atPortDialog) {
            atPortDialog(dialog);
            return;
        }
        auto *open = dialog->findChild<QPushButton *>(QStringLiteral("openPort"));
        if (open)
            open->click();
        else
            dialog->reject();
    });
    m_window->startUp();
    QVERIFY(!QApplication::activeModalWidget());
}

void TestMainFrame::run(int ms)
{
    for (const int end = m_ms + ms; m_ms < end;) {
        m_ms += GatewayLink::kTickMs;
        m_core->link().tick();
        if (m_ms % 100 == 0)
            m_core->poll().pollTick();
        if (m_ms % 1000 == 0) {
            m_core->poll().resumeTick();
            m_core->poll().pauseTick();
        }
    }
}

bool TestMainFrame::runUntil(const std::function<bool()> &done, int limitMs)
{
    for (const int end = m_ms + limitMs; m_ms < end; run(GatewayLink::kTickMs))
        if (done())
            return true;
    return done();
}

bool TestMainFrame::runUntilHallPolled()
{
    const ProjectData &d = m_core->data();
    return runUntil([&d] {
        return d.gear(1, 0).level == 200 && d.gear(1, 1).status == GearRecord::LampFailure
               && d.gear(1, 2).status == GearRecord::NotAnswering;
    });
}

QAction *TestMainFrame::action(const QString &text) const
{
    QList<QAction *> all;
    for (QAction *top : m_window->menuBar()->actions())
        if (top->menu())
            collect(top->menu(), &all);
    for (QAction *a : all)
        if (a->text() == text)
            return a;
    return nullptr;
}

QString TestMainFrame::stored(ProjectFile file, const QString &section, const QString &key) const
{
    // A store of its own reads the file as it is on disk.
    const ProjectStore disk(m_dir->path());
    return disk.read(file, section, key, QStringLiteral("<missing>"));
}

QStringList TestMainFrame::logFileLines() const
{
    QString text = QString::fromUtf8(readAll(QDir(m_dir->path()).filePath(kLogFile)));
    if (text.endsWith(QLatin1String("\r\n")))
        text.chop(2);
    return text.isEmpty() ? QStringList() : text.split(QStringLiteral("\r\n"));
}

void TestMainFrame::beforeStartUp()
{
    makeProject(QStringLiteral("app/hall/db.ctt"));
    createWindow();
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Lumaro Com control software"));
    auto *tree = m_window->findChild<QTreeWidget *>();
    QVERIFY(tree);
    QCOMPARE(tree->topLevelItemCount(), 1);
    QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("Loading,Please wait..."));
    QVERIFY(m_core->log().entries().isEmpty());
    QVERIFY(!m_core->line().isConnected());
    QTRY_VERIFY_WITH_TIMEOUT(m_core->isLoaded(), 20000);
}

void TestMainFrame::startUp()
{
    makeProject(QStringLiteral("app/hall/db.ctt"));
    createWindow();
    runStartUp();

    QCOMPARE(m_core->log().entries(), (QStringList{
        kPrefix + QStringLiteral("Lumaro software open success.\r\n"),
        kPrefix + QStringLiteral("Loading data,Please wait ... Finish.\r\n"),
        kPrefix + QStringLiteral("simline,9600,N,8,2 Open  success.\r\n"),
    }));
    QVERIFY(m_prompter.shown().isEmpty());
    QVERIFY(m_core->line().isConnected());
    QCOMPARE(m_window->statusText(CMainFrame::PanePort), QStringLiteral("simline,9600,N,8,2 Open,"));

    // The tree as the project describes it, with the two folders after it and no loading node.
    auto *tree = m_window->findChild<QTreeWidget *>();
    QVERIFY(tree);
    QStringList top;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        top.append(tree->topLevelItem(i)->text(0));
    QCOMPARE(top, (QStringList{QStringLiteral("Devices"), QStringLiteral("ExpandControl"), QStringLiteral("TimingControl")}));
    QTreeWidgetItem *devices = tree->topLevelItem(0);
    QCOMPARE(devices->childCount(), 1);
    QCOMPARE(devices->child(0)->text(0), QStringLiteral("Hall#M1"));
    QTreeWidgetItem *gear = devices->child(0)->child(0);
    QCOMPARE(gear->text(0), QStringLiteral("ControlGear#CG"));
    QStringList gearNodes;
    for (int i = 0; i < gear->childCount(); ++i)
        gearNodes.append(gear->child(i)->text(0));
    QCOMPARE(gearNodes, (QStringList{QStringLiteral("Downlight#A0"), QStringLiteral("Panel#A1"), QStringLiteral("Archive#A2")}));

    // The two panes and their tabs.
    auto *deviceDock = m_window->findChild<QDockWidget *>(QStringLiteral("DeviceView"));
    auto *logDock = m_window->findChild<QDockWidget *>(QStringLiteral("LogView"));
    QVERIFY(deviceDock);
    QVERIFY(logDock);
    QCOMPARE(deviceDock->windowTitle(), QStringLiteral("DeviceView"));
    QCOMPARE(logDock->windowTitle(), QStringLiteral("LogView"));
    QCOMPARE(m_window->dockWidgetArea(deviceDock), Qt::LeftDockWidgetArea);
    QCOMPARE(m_window->dockWidgetArea(logDock), Qt::BottomDockWidgetArea);
    auto *deviceTabs = qobject_cast<QTabWidget *>(deviceDock->widget());
    auto *logTabs = qobject_cast<QTabWidget *>(logDock->widget());
    QVERIFY(deviceTabs);
    QVERIFY(logTabs);
    QCOMPARE(deviceTabs->count(), 1);
    QCOMPARE(deviceTabs->tabText(0), QStringLiteral("Control"));
    QCOMPARE(deviceTabs->widget(0), tree);
    QCOMPARE(logTabs->count(), 1);
    QCOMPARE(logTabs->tabText(0), QStringLiteral("Log"));
    auto *logList = qobject_cast<QListView *>(logTabs->widget(0));
    QVERIFY(logList);
    QCOMPARE(logList->model()->rowCount(), 3);
    QCOMPARE(logList->model()->index(2, 0).data().toString(), kPrefix + QStringLiteral("simline,9600,N,8,2 Open  success."));
}

void TestMainFrame::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("disabled");
    QTest::addColumn<QStringList>("checked");

    // With the line open. Commands whose windows come later are shown, but disabled.
    QTest::newRow("&Project")
        << QStringLiteral("&Project")
        << QStringList{QStringLiteral("&User..."), QStringLiteral("&Import..."), QStringLiteral("&Export..."),
                       QStringLiteral("Print ..."), QStringLiteral("E&xit")}
        << QStringList{QStringLiteral("&User..."), QStringLiteral("&Import..."), QStringLiteral("&Export..."),
                       QStringLiteral("Print ...")}
        << QStringList{};
    QTest::newRow("&Tools")
        << QStringLiteral("&Tools")
        << QStringList{QStringLiteral("&Scan Setting"), QStringLiteral("&Add Gateway..."), QStringLiteral("Open Port"),
                       QStringLiteral("Close Port"), QStringLiteral("&Port Setting..."), QStringLiteral("Upgrade firmware")}
        << QStringList{QStringLiteral("Open Port"), QStringLiteral("Upgrade firmware")}
        << QStringList{};
    QTest::newRow("&View")
        << QStringLiteral("&View")
        << QStringList{QStringLiteral("ToolBar"), QStringLiteral("&DeviceView"), QStringLiteral("&LogView"),
                       QStringLiteral("StatusBar"), QStringLiteral("Language"), QStringLiteral("Chinese"),
                       QStringLiteral("English"), QStringLiteral("Close Dimming Dialog")}
        << QStringList{QStringLiteral("Close Dimming Dialog")}
        << QStringList{QStringLiteral("ToolBar"), QStringLiteral("&DeviceView"), QStringLiteral("&LogView"),
                       QStringLiteral("StatusBar"), QStringLiteral("English")};
    QTest::newRow("&Help") << QStringLiteral("&Help") << QStringList{QStringLiteral("&About...")} << QStringList{}
                           << QStringList{};
}

void TestMainFrame::menus()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, items);
    QFETCH(QStringList, disabled);
    QFETCH(QStringList, checked);
    makeProject(QStringLiteral("app/hall/db.ctt"));
    createWindow();
    runStartUp();

    QStringList titles;
    const QMenu *found = nullptr;
    for (const QAction *top : m_window->menuBar()->actions()) {
        titles.append(top->text());
        if (top->text() == menu)
            found = top->menu();
    }
    QCOMPARE(titles, (QStringList{QStringLiteral("&Project"), QStringLiteral("&Tools"), QStringLiteral("&View"),
                                  QStringLiteral("&Help")}));
    QVERIFY(found);
    QCOMPARE(itemTexts(found), items);

    QList<QAction *> actions;
    collect(found, &actions);
    QStringList isDisabled, isChecked;
    for (const QAction *a : actions) {
        if (!a->isEnabled())
            isDisabled.append(a->text());
        if (a->isChecked())
            isChecked.append(a->text());
    }
    QCOMPARE(isDisabled, disabled);
    QCOMPARE(isChecked, checked);
}

void TestMainFrame::toolBar()
{
    makeProject(QStringLiteral("app/hall/db.ctt"));
    createWindow();
    auto *bar = m_window->findChild<QToolBar *>(QStringLiteral("ToolBar"));
    QVERIFY(bar);
    QStringList buttons;
    for (const QAction *a : bar->actions())
        buttons.append(a->isSeparator() ? QStringLiteral("|") : a->text());
    QCOMPARE(buttons, (QStringList{
        QStringLiteral("&User..."), QStringLiteral("|"),
        QStringLiteral("&Import..."), QStringLiteral("&Export..."), QStringLiteral("|"),
        QStringLiteral("&Scan Setting"), QStringLiteral("&Port Setting..."), QStringLiteral("&Add Gateway..."), QStringLiteral("|"),
        QStringLiteral("&DeviceView"), QStringLiteral("&LogView"), QStringLiteral("|"),
        QStringLiteral("Close Dimming Dialog"), QStringLiteral("Print ..."), QStringLiteral("|"),
        QStringLiteral("E&xit"),
    }));
    // The tooltips are the second halves of the command texts.
    const QList<std::pair<QString, QString>> tips = {
        {QStringLiteral("&Add Gateway..."), QStringLiteral("Add Gateway")},
        {QStringLiteral("&Port Setting..."), QStringLiteral("Setting serial port")},
        {QStringLiteral("&Import..."), QStringLiteral("Import")},
        {QStringLiteral("&Export..."), QStringLiteral("Outport")},
        {QStringLiteral("Close Dimming Dialog"), QStringLiteral("Close dimming dialog")},
        {QStringLiteral("Print ..."), QStringLiteral("Print")},
    };
    for (const auto &[text, tip] : tips) {
        const QAction *a = action(text);
        QVERIFY2(a, qPrintable(text));
        QCOMPARE(a->toolTip(), tip);
    }
    QTRY_VERIFY_WITH_TIMEOUT(m_core->isLoaded(), 20000);
}

void TestMainFrame::statusPanes()
{
    makeProject(QStringLiteral("app/hall/db.ctt"));
    createWindow();
    m_window->resize(1600, 900);
    QList<QLabel *> panes = m_window->statusBar()->findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
    QCOMPARE(panes.size(), 6);
    m_window->statusBar()->layout()->activate();
    // Panes 0, 1, 2 and 5 twice as wide as panes 3 and 4.
    const int eighth = panes[3]->width();
    QVERIFY2(eighth > 50, qPrintable(QString::number(eighth)));
    for (int pane : {0, 1, 2, 5})
        QVERIFY2(qAbs(panes[pane]->width() - 2 * eighth) <= 4,
                 qPrintable(QStringLiteral("pane %1: %2 against %3").arg(pane).arg(panes[pane]->width()).arg(eighth)));
    QVERIFY(qAbs(panes[4]->width() - eighth) <= 2);

    QVERIFY(m_window->statusText(CMainFrame::PanePort).isEmpty());
    runStartUp();
    QCOMPARE(panes[CMainFrame::PanePort]->text(), QStringLiteral("simline,9600,N,8,2 Open,"));
    QCOMPARE(m_window->statusText(6), QString());
    QCOMPARE(m_window->statusText(-1), QString());
}

void TestMainFrame::viewToggles_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("bar");
    QTest::newRow("ToolBar") << QStringLiteral("ToolBar") << QStringLiteral("ToolBar");
    QTest::newRow("&DeviceView") << QStringLiteral("&DeviceView") << QStringLiteral("DeviceView");
    QTest::newRow("&LogView") << QStringLiteral("&LogView") << QStringLiteral("LogView");
    QTest::newRow("StatusBar") << QStringLiteral("StatusBar") << QString();
}

void TestMainFrame::viewToggles()
{
    QFETCH(QString, command);
    QFETCH(QString, bar);
    makeProject(QStringLiteral("app/hall/db.ctt"));
    createWindow();
    runStartUp();
    QWidget *widget = bar.isEmpty() ? m_window->statusBar() : m_window->findChild<QWidget *>(bar);
    QVERIFY(widget);
    QAction *a = action(command);
    QVERIFY(a);
    QVERIFY(widget->isVisible());
    QVERIFY(a->isChecked());

    a->trigger();
    QVERIFY(!widget->isVisible());
    QVERIFY(!a->isChecked());
    a->trigger();
    QVERIFY(widget->isVisible());
    QVERIFY(a->isChecked());

    // A pane closed by its own close button takes the check mark with it.
    if (auto *dock = qobject_cast<QDockWidget *>(widget)) {
        dock->close();
        QVERIFY(!a->isChecked());
    }
}

void TestMainFrame::portCommands()
{
    makeProject(QStringLiteral("app/hall/db.ctt"));
    createWindow();
    runStartUp();
    QAction *open = action(QStringLiteral("Open Port"));
    QAction *close = action(QStringLiteral("Close Port"));
    QVERIFY(open);
    QVERIFY(close);
    QVERIFY(!open->isEnabled());
    QVERIFY(close->isEnabled());

    close->trigger();
    QVERIFY(!m_core->line().isConnected());
    QVERIFY(open->isEnabled());
    QVERIFY(!close->isEnabled());
    QCOMPARE(m_core->log().entries().last(), kPrefix + QStringLiteral("simline close success.\r\n"));
    QCOMPARE(m_window->statusText(CMainFrame::PanePort), QStringLiteral("simline Close"));

    // "Open Port" takes the device the dialog stored.
    QCOMPARE(stored(ProjectFile::Db, QStringLiteral("B0"), QStringLiteral("PORTNAME")), kSimDevice);
    open->trigger();
    QVERIFY(m_core->line().isConnected());
    QVERIFY(!open->isEnabled());
    QVERIFY(close->isEnabled());
    QCOMPARE(m_window->statusText(CMainFrame::PanePort), QStringLiteral("simline,9600,N,8,2 Open,"));
    QVERIFY(m_prompter.shown().isEmpty());
}

void TestMainFrame::languageSwitch_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("language");
    // The box of "Chinese" shows the Chinese twin of the text, which this English run has no
    // translator for; only the box of "English" is compared word for word.
    QTest::addColumn<QString>("message");
    QTest::newRow("Chinese: LANGUAGE=1") << QStringLiteral("Chinese") << QStringLiteral("1") << QString();
    QTest::newRow("English: LANGUAGE=0")
        << QStringLiteral("English") << QStringLiteral("0")
        << QStringLiteral("Settings have been changed , please take effect after restarting the software.");
}

void TestMainFrame::languageSwitch()
{
    QFETCH(QString, command);
    QFETCH(QString, language);
    QFETCH(QString, message);
    makeProject(QStringLiteral("app/hall/db.ctt"));
    // The file holds the other language, so that the switch shows in it.
    QVERIFY(writeAll(QDir(m_dir->path()).filePath(QStringLiteral("softset.ini")),
                     QByteArray("[SOFTWARE]\r\nCOMTIMEOUT=500\r\nALLCHECKTHREADCOUNT=1\r\nLANGUAGE=")
                         + (language == QLatin1String("1") ? "0" : "1") + "\r\n"));
    createWindow();
    runStartUp();
    QAction *a = action(command);
    QVERIFY(a);
    a->trigger();
    QCOMPARE(stored(ProjectFile::SoftSet, QStringLiteral("SOFTWARE"), QStringLiteral("LANGUAGE")), language);
    QCOMPARE(stored(ProjectFile::SoftSet, QStringLiteral("SOFTWARE"), QStringLiteral("COMTIMEOUT")), QStringLiteral("500"));
    QCOMPARE(m_prompter.shown().size(), 1);
    QCOMPARE(m_prompter.shown().first().icon, Prompter::Icon::Information);
    QVERIFY(!m_prompter.shown().first().text.isEmpty());
    if (!message.isEmpty())
        QCOMPARE(m_prompter.shown().first().text, message);
    // The running language stays until the next start.
    QCOMPARE(m_core->chinese(), language == QLatin1String("0"));
}

void TestMainFrame::pollWaitsForThePortDialog()
{
    makeProject(QStringLiteral("app/hall/db.ctt"));
    createWindow();
    runStartUp();
    QVERIFY(!m_pollEnabledAtStartUpDialog);
    QVERIFY(m_core->poll().isEnabled());

    // The first presence check is answered; the level query is due next.
    QVERIFY(runUntil([this] { return writtenCount() == 1 && !m_core->link().isBusy(); }));
    QCOMPARE(m_transport->written().first().left(6), QByteArray::fromHex("014300400001"));

    qsizetype inDialogBefore = -1, inDialogAfter = -1;
    bool enabledInDialog = true;
    whenModal([&](QDialog *dialog) {
        enabledInDialog = m_core->poll().isEnabled();
        inDialogBefore = writtenCount();
        run(5000);
        inDialogAfter = writtenCount();
        dialog->reject();
    });
    QAction *portSetting = action(QStringLiteral("&Port Setting..."));
    QVERIFY(portSetting);
    portSetting->trigger();
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(!enabledInDialog);
    QCOMPARE(inDialogBefore, 1);
    QCOMPARE(inDialogAfter, 1);

    // Closed again, the poll goes on with the level query of the same gear.
    QVERIFY(m_core->poll().isEnabled());
    QVERIFY(runUntil([this] { return writtenCount() == 2; }, 10000));
    QCOMPARE(m_transport->written().last().left(6), QByteArray::fromHex("0143004A0002"));
}

void TestMainFrame::exitAnsweredNo()
{
    makeProject(QStringLiteral("app/hall/db.ctt"));
    createWindow();
    runStartUp();
    QVERIFY(runUntilHallPolled());

    m_prompter.script(Prompter::Answer::No);
    QVERIFY(!m_window->close());
    QVERIFY(m_window->isVisible());
    QCOMPARE(m_prompter.shown().size(), 1);
    QCOMPARE(m_prompter.shown().first().icon, Prompter::Icon::Question);
    QCOMPARE(m_prompter.shown().first().buttons, Prompter::Buttons::YesNo);
    QCOMPARE(m_prompter.shown().first().text, kExitQuestion);

    // The live state is in the file all the same.
    QCOMPARE(stored(ProjectFile::Db, QStringLiteral("M1"), QStringLiteral("STATUS")), QStringLiteral("0"));
    QCOMPARE(stored(ProjectFile::Db, QStringLiteral("M1A0"), QStringLiteral("STATUS")), QStringLiteral("0"));
    QCOMPARE(stored(ProjectFile::Db, QStringLiteral("M1A0"), QStringLiteral("VOLUE")), QStringLiteral("200"));
    QCOMPARE(stored(ProjectFile::Db, QStringLiteral("M1A1"), QStringLiteral("STATUS")), QStringLiteral("2"));
    QCOMPARE(stored(ProjectFile::Db, QStringLiteral("M1A1"), QStringLiteral("VOLUE")), QStringLiteral("254"));
    QCOMPARE(stored(ProjectFile::Db, QStringLiteral("M1A2"), QStringLiteral("STATUS")), QStringLiteral("1"));
    QCOMPARE(stored(ProjectFile::Db, QStringLiteral("M1A2"), QStringLiteral("VOLUE")), QStringLiteral("0"));
    // Nothing else of the project changed.
    QCOMPARE(stored(ProjectFile::Db, QStringLiteral("M1A2"), QStringLiteral("NAME")), QStringLiteral("Archive"));

    // The poll pauses for eight seconds and then follows NOCHECKFLAG ("0": it runs again).
    QVERIFY(m_core->poll().isPaused());
    run(7000);
    QVERIFY(m_core->poll().isPaused());
    run(1000);
    QVERIFY(!m_core->poll().isPaused());

    // The program goes on: the log stays in the pane and nothing of the shutdown was logged.
    QVERIFY(m_core->log().entries().size() > 3);
    for (const QString &line : logFileLines())
        QVERIFY2(!line.contains(QLatin1String("close success")), qPrintable(line));
    QVERIFY(m_core->line().isConnected());
}

void TestMainFrame::exitSavesAndEnds_data()
{
    QTest::addColumn<bool>("bySignal");
    QTest::addColumn<QStringList>("asked");
    QTest::newRow("Exit, Yes") << false << QStringList{kExitQuestion};
    QTest::newRow("SIGTERM: no question") << true << QStringList{};
}

void TestMainFrame::exitSavesAndEnds()
{
    QFETCH(bool, bySignal);
    QFETCH(QStringList, asked);
    makeProject(QStringLiteral("app/hall/db.ctt"));
    createWindow();
    runStartUp();
    QVERIFY(runUntilHallPolled());
    const QStringList pane = m_core->log().entries();
    m_clock.advanceSeconds(65);

    if (bySignal) {
        m_window->terminate();
    } else {
        m_prompter.script(Prompter::Answer::Yes);
        QAction *exit = action(QStringLiteral("E&xit"));
        QVERIFY(exit);
        exit->trigger();
    }
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_prompter.texts(), asked);

    QCOMPARE(stored(ProjectFile::Db, QStringLiteral("M1A0"), QStringLiteral("VOLUE")), QStringLiteral("200"));
    QCOMPARE(stored(ProjectFile::Db, QStringLiteral("M1A1"), QStringLiteral("STATUS")), QStringLiteral("2"));
    QCOMPARE(stored(ProjectFile::Db, QStringLiteral("M1A2"), QStringLiteral("STATUS")), QStringLiteral("1"));
    QCOMPARE(stored(ProjectFile::Db, QStringLiteral("M1A2"), QStringLiteral("VOLUE")), QStringLiteral("0"));

    // The whole pane went to today's file, the shutdown's lines last, and the pane is empty.
    const QString closing = QStringLiteral("2024-05-17  10:01:05  >");
    QStringList expected;
    for (QString line : pane)
        expected.append(line.chopped(2));
    expected << closing + QStringLiteral("Saving project data , please wait...finish.")
             << closing + QStringLiteral("Lumaro software close success.");
    QCOMPARE(logFileLines(), expected);
    QCOMPARE(logFileLines().first(), kPrefix + QStringLiteral("Lumaro software open success."));
    QVERIFY(m_core->log().entries().isEmpty());

    // A second request to end (a signal after Exit) changes nothing.
    m_window->terminate();
    QCOMPARE(logFileLines(), expected);
}

void TestMainFrame::terminateDuringThePortDialog()
{
    makeProject(QStringLiteral("app/hall/db.ctt"));
    createWindow();
    const QByteArray before = readAll(QDir(m_dir->path()).filePath(QStringLiteral("db.ctt")));
    runStartUp([this](QDialog *) { m_window->terminate(); });

    QVERIFY(!m_window->isVisible());
    QVERIFY(!m_core->line().isConnected());
    QVERIFY(m_prompter.shown().isEmpty());
    QCOMPARE(logFileLines(), (QStringList{
        kPrefix + QStringLiteral("Lumaro software open success."),
        kPrefix + QStringLiteral("Loading data,Please wait ... Finish."),
        kPrefix + QStringLiteral("Saving project data , please wait...finish."),
        kPrefix + QStringLiteral("Lumaro software close success."),
    }));
    // No state was known yet: the project keeps what it held.
    QCOMPARE(readAll(QDir(m_dir->path()).filePath(QStringLiteral("db.ctt"))), before);
}

void TestMainFrame::projectWithoutGear()
{
    makeProject(QStringLiteral("app/nogear/db.ctt"));
    createWindow();
    runStartUp();
    QVERIFY(m_core->line().isConnected());

    // Every poll step ends in the pause between cycles, one minute here; nothing is sent.
    run(5000);
    QCOMPARE(writtenCount(), 0);
    QCOMPARE(m_core->poll().cyclePauseTicks(), 600);
    QVERIFY2(m_core->poll().pollCountdown() > 600 - 50, qPrintable(QString::number(m_core->poll().pollCountdown())));
    run(60000);
    QCOMPARE(writtenCount(), 0);

    auto *tree = m_window->findChild<QTreeWidget *>();
    QVERIFY(tree);
    QTreeWidgetItem *gateway = tree->topLevelItem(0)->child(0);
    QCOMPARE(gateway->text(0), QStringLiteral("Empty#M1"));
    QCOMPARE(gateway->childCount(), 1);
    QCOMPARE(gateway->child(0)->childCount(), 0);

    m_prompter.script(Prompter::Answer::Yes);
    QVERIFY(m_window->close());
    QCOMPARE(logFileLines().last(), kPrefix + QStringLiteral("Lumaro software close success."));
}

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
