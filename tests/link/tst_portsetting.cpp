// The logic of the port setting dialog with driven ticks: preselection from B0, the countdown of
// the first opening, confirming a choice, and the automatic search for gateway 1 over simulated
// lines, one per port.
#include "frame.h"
#include "gatewaylink.h"
#include "inprocesstransport.h"
#include "installation.h"
#include "portlist.h"
#include "portsetting.h"
#include "projectdata.h"
#include "projectstore.h"
#include "protocol.h"
#include "recordinglog.h"
#include "requesterid.h"
#include "scriptedprompter.h"
#include "serialline.h"
#include "simline.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <memory>

using namespace lumaro;
namespace p = lumaro::protocol;

namespace {

constexpr int kAnswerWaitMs = 500;   // 50 link ticks per time-out

const QString kReadM1 = QStringLiteral("Read M1 gatewayunit data ...  ");

QString opened(const char *device, const char *settings = "9600,N,8,2")
{
    return QStringLiteral("%1,%2 Open  success.\r\n").arg(QLatin1String(device), QLatin1String(settings));
}

PortList::Port port(const char *name)
{
    return {QString::fromLatin1(name), QStringLiteral("/dev/") + QLatin1String(name)};
}

}  // namespace

class TestPortSetting : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void preselection_data();
    void preselection();
    void confirmStoresAndOpens();
    void portNameSurvivesNewOrder();
    void reopenWithNewSettings();
    void countdownOnlyAtFirstOpening();
    void changingAListStopsCountdown_data();
    void changingAListStopsCountdown();
    void searchFindsGatewayOne_data();
    void searchFindsGatewayOne();
    void searchFindsNothing_data();
    void searchFindsNothing();
    void lineGoneDuringSearch_data();
    void lineGoneDuringSearch();
    void answersOutsideSearch_data();
    void answersOutsideSearch();

private:
    void start(const QByteArray &db = QByteArray());
    std::unique_ptr<PortSetting> dialog();
    // The main window's two timers: the link tick and the search step, both 10 ms.
    void run(PortSetting &logic, int ticks);
    QString stored(const char *section, const char *key) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingLog m_log;
    ScriptedPrompter m_prompter;
    ProjectData m_data;
    PortSetting::Session m_session;
    PortList m_ports;
    // The simulated line behind each port: ttyS0 has no gateway 1, ttyS1 has a silent one,
    // ttyS2 carries the demo installation. Other devices cannot be opened.
    std::map<QString, std::unique_ptr<sim::SimLine>> m_lines;
    std::unique_ptr<ProjectStore> m_store;
    std::unique_ptr<GatewayLink> m_link;
    std::unique_ptr<SerialLine> m_line;
};

void TestPortSetting::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_log.clear();
    m_prompter = ScriptedPrompter();
    m_data = ProjectData();
    m_session = PortSetting::Session();
    m_ports = PortList({port("ttyS0"), port("ttyS1"), port("ttyS2")}, {});

    m_lines.clear();
    auto withoutGatewayOne = std::make_unique<sim::SimLine>();
    withoutGatewayOne->addGateway(sim::SimGateway(2));
    m_lines[QStringLiteral("ttyS0")] = std::move(withoutGatewayOne);
    auto silentGatewayOne = std::make_unique<sim::SimLine>(sim::Installation::demo());
    sim::Faults silent;
    silent.silentGateways = {1};
    silentGatewayOne->setFaults(silent);
    m_lines[QStringLiteral("ttyS1")] = std::move(silentGatewayOne);
    auto demo = std::make_unique<sim::SimLine>(sim::Installation::demo());
    // A model code below 0x10 with a letter in it shows how MODEL is written: "%02X".
    demo->gateway(1)->setModel(0x0E);
    demo->gateway(1)->setVersion(21);
    m_lines[QStringLiteral("ttyS2")] = std::move(demo);
}

void TestPortSetting::cleanup()
{
    m_line.reset();
    m_link.reset();
    m_store.reset();
}

void TestPortSetting::start(const QByteArray &db)
{
    if (!db.isEmpty()) {
        QFile f(m_dir->filePath(QStringLiteral("db.ctt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(db);
    }
    m_store = std::make_unique<ProjectStore>(m_dir->path());
    QVERIFY(m_store->load());
    m_link = std::make_unique<GatewayLink>(m_log, m_prompter);
    auto factory = [this](const QString &device, const LineSettings &) -> std::unique_ptr<Transport> {
        const auto it = m_lines.find(device);
        if (it == m_lines.end())
            return nullptr;
        return std::make_unique<InProcessTransport>(*it->second, 2);
    };
    m_line = std::make_unique<SerialLine>(*m_link, *m_store, m_data, m_log, m_prompter, m_ports, factory);
}

std::unique_ptr<PortSetting> TestPortSetting::dialog()
{
    return std::make_unique<PortSetting>(
        PortSetting::Context{*m_line, *m_link, *m_store, m_log, m_prompter, m_session, kAnswerWaitMs});
}

void TestPortSetting::run(PortSetting &logic, int ticks)
{
    for (int i = 0; i < ticks; ++i) {
        m_link->tick();
        logic.searchTick();
    }
}

QString TestPortSetting::stored(const char *section, const char *key) const
{
    // A store of its own reads the file itself: what was written reached the disk.
    const ProjectStore disk(m_dir->path());
    return disk.read(ProjectFile::Db, QString::fromLatin1(section), QString::fromLatin1(key),
                     QStringLiteral("<missing>"));
}

void TestPortSetting::preselection_data()
{
    QTest::addColumn<QByteArray>("b0");
    QTest::addColumn<QList<int>>("indices");   // port, baud, parity, stop bit
    QTest::newRow("no keys: AUTO/USB, 9600, None, 2")
        << QByteArray() << QList<int>{0, 3, 0, 1};
    QTest::newRow("COM=2 BAUDRATE=6 PARITY=2 STOPBIT=0")
        << QByteArray("COM=2\r\nBAUDRATE=6\r\nPARITY=2\r\nSTOPBIT=0\r\n") << QList<int>{2, 6, 2, 0};
    QTest::newRow("indices outside their lists")
        << QByteArray("COM=4\r\nBAUDRATE=7\r\nPARITY=3\r\nSTOPBIT=2\r\n") << QList<int>{0, 3, 0, 1};
    QTest::newRow("PORTNAME=ttyS2 wins over COM=1")
        << QByteArray("COM=1\r\nPORTNAME=ttyS2\r\n") << QList<int>{3, 3, 0, 1};
    QTest::newRow("PORTNAME=/dev/ttyS2, the device path")
        << QByteArray("COM=1\r\nPORTNAME=/dev/ttyS2\r\n") << QList<int>{3, 3, 0, 1};
    QTest::newRow("PORTNAME not in the list: COM=2")
        << QByteArray("COM=2\r\nPORTNAME=ttyACM0\r\n") << QList<int>{2, 3, 0, 1};
}

void TestPortSetting::preselection()
{
    QFETCH(QByteArray, b0);
    QFETCH(QList<int>, indices);
    start("[B0]\r\n" + b0);
    const auto logic = dialog();
    QCOMPARE((QList<int>{logic->portIndex(), logic->baudIndex(), logic->parityIndex(), logic->stopBitIndex()}),
             indices);
    QCOMPARE(logic->portTexts(), (QStringList{QStringLiteral("AUTO/USB"), QStringLiteral("ttyS0"),
                                              QStringLiteral("ttyS1"), QStringLiteral("ttyS2")}));
    QVERIFY(logic->isOpenEnabled());
    QVERIFY(logic->isPortListEnabled());
    QVERIFY(!logic->isCloseEnabled());
}

void TestPortSetting::confirmStoresAndOpens()
{
    start("[B0]\r\nCOM=0\r\n");
    const auto logic = dialog();
    QSignalSpy finished(logic.get(), &PortSetting::finished);
    logic->choosePort(2);
    logic->chooseBaud(5);
    logic->chooseParity(1);
    logic->chooseStopBit(0);
    logic->confirm();

    QCOMPARE(stored("B0", "COM"), QStringLiteral("2"));
    QCOMPARE(stored("B0", "PORTNAME"), QStringLiteral("ttyS1"));
    QCOMPARE(stored("B0", "BAUDRATE"), QStringLiteral("5"));
    QCOMPARE(stored("B0", "PARITY"), QStringLiteral("1"));
    QCOMPARE(stored("B0", "STOPBIT"), QStringLiteral("0"));
    QCOMPARE(logic->statusText(), QStringLiteral("Connecting ttyS1, please wait......"));
    QCOMPARE(m_log.lines(), QStringList{opened("ttyS1", "19200,O,8,1")});
    QVERIFY(m_data.bus.connected);
    QCOMPARE(finished.count(), 1);
    // With the line open the port list is locked and only "Close Port" is offered.
    QVERIFY(!logic->isOpenEnabled());
    QVERIFY(!logic->isPortListEnabled());
    QVERIFY(logic->isCloseEnabled());
    logic->choosePort(3);
    QCOMPARE(logic->portIndex(), 2);

    logic->closePort();
    QCOMPARE(m_log.lines().last(), QStringLiteral("ttyS1 close success.\r\n"));
    QVERIFY(logic->isOpenEnabled());
}

void TestPortSetting::portNameSurvivesNewOrder()
{
    start();
    {
        const auto logic = dialog();
        logic->choosePort(3);
        logic->confirm();
        QCOMPARE(stored("B0", "PORTNAME"), QStringLiteral("ttyS2"));
    }
    m_line->closeLine();
    // An adapter came and the system lists the ports in another order now.
    m_ports = PortList({port("ttyACM0"), port("ttyS2"), port("ttyS0"), port("ttyS1")}, {});
    const auto logic = dialog();
    QCOMPARE(logic->portIndex(), 2);
    QCOMPARE(logic->portTexts()[logic->portIndex()], QStringLiteral("ttyS2"));
    logic->confirm();
    QCOMPARE(stored("B0", "COM"), QStringLiteral("2"));
    QCOMPARE(m_log.lines().last(), opened("ttyS2"));
    QCOMPARE(m_data.bus.comPort, quint8(2));
}

void TestPortSetting::reopenWithNewSettings()
{
    // The search opened the line, so COM still says AUTO/USB: confirming keeps the port in use
    // and applies the line settings chosen now.
    start("[B0]\r\nCOM=0\r\n");
    QVERIFY(m_line->openLine(QStringLiteral("ttyS2"), LineSettings()));
    const auto logic = dialog();
    QSignalSpy finished(logic.get(), &PortSetting::finished);
    QCOMPARE(logic->portIndex(), 0);
    logic->chooseBaud(6);
    logic->confirm();
    QCOMPARE(m_log.lines().last(), opened("ttyS2", "38400,N,8,2"));
    QCOMPARE(stored("B0", "BAUDRATE"), QStringLiteral("6"));
    QCOMPARE(stored("B0", "COM"), QStringLiteral("0"));
    QVERIFY(m_data.bus.connected);
    QCOMPARE(finished.count(), 1);
}

void TestPortSetting::countdownOnlyAtFirstOpening()
{
    start("[B0]\r\nCOM=1\r\n");
    {
        const auto first = dialog();
        QSignalSpy finished(first.get(), &PortSetting::finished);
        QCOMPARE(first->promptText(), QStringLiteral("Please select the COM port number  ... 10 Second"));
        for (int s = 0; s < 9; ++s)
            first->secondTick();
        QCOMPARE(first->promptText(), QStringLiteral("Please select the COM port number  ... 1 Second"));
        QCOMPARE(finished.count(), 0);
        QVERIFY(!m_data.bus.connected);
        first->secondTick();
        QCOMPARE(finished.count(), 1);
        QCOMPARE(m_log.lines(), QStringList{opened("ttyS0")});
        QCOMPARE(first->promptText(), QStringLiteral("Please select the COM port number"));
    }
    m_line->closeLine();
    const auto second = dialog();
    QSignalSpy finished(second.get(), &PortSetting::finished);
    QVERIFY(!second->isCountdownRunning());
    QCOMPARE(second->promptText(), QStringLiteral("Please select the COM port number"));
    for (int s = 0; s < 20; ++s)
        second->secondTick();
    QCOMPARE(finished.count(), 0);
    QVERIFY(!m_data.bus.connected);
}

void TestPortSetting::changingAListStopsCountdown_data()
{
    QTest::addColumn<int>("list");
    QTest::newRow("Port:") << 0;
    QTest::newRow("Baud rate:") << 1;
    QTest::newRow("Parity:") << 2;
    QTest::newRow("Stop Bit:") << 3;
}

void TestPortSetting::changingAListStopsCountdown()
{
    QFETCH(int, list);
    start("[B0]\r\nCOM=1\r\n");
    const auto logic = dialog();
    QSignalSpy finished(logic.get(), &PortSetting::finished);
    logic->secondTick();
    switch (list) {
    case 0: logic->choosePort(2); break;
    case 1: logic->chooseBaud(0); break;
    case 2: logic->chooseParity(2); break;
    case 3: logic->chooseStopBit(0); break;
    }
    QVERIFY(!logic->isCountdownRunning());
    QCOMPARE(logic->promptText(), QStringLiteral("Please select the COM port number"));
    for (int s = 0; s < 20; ++s)
        logic->secondTick();
    QCOMPARE(finished.count(), 0);
    QVERIFY(m_log.lines().isEmpty());
}

void TestPortSetting::searchFindsGatewayOne_data()
{
    QTest::addColumn<QByteArray>("db");
    QTest::addColumn<QString>("name");
    QTest::newRow("no section M1: created as GatewayUnit1")
        << QByteArray("[B0]\r\nCOM=0\r\n") << QStringLiteral("GatewayUnit1");
    QTest::newRow("M1 Hall with another model: name kept")
        << QByteArray("[B0]\r\nCOM=0\r\n[M1]\r\nNAME=Hall\r\nMODEL=79\r\nVER=3\r\n") << QStringLiteral("Hall");
}

void TestPortSetting::searchFindsGatewayOne()
{
    QFETCH(QByteArray, db);
    QFETCH(QString, name);
    start(db);
    const auto logic = dialog();
    QSignalSpy finished(logic.get(), &PortSetting::finished);
    QSignalSpy found(logic.get(), &PortSetting::gatewayOneFound);
    logic->confirm();
    // The first port is tried one step later, not at once.
    QCOMPARE(logic->search(), PortSetting::Search::StepDue);
    QVERIFY(!m_data.bus.connected);
    run(*logic, 1);
    QCOMPARE(logic->statusText(), QStringLiteral("Connecting ttyS0, please wait......"));
    QVERIFY(m_data.bus.connected);

    for (int i = 0; i < 400 && finished.isEmpty(); ++i)
        run(*logic, 1);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(found.count(), 1);
    QCOMPARE(m_log.lines(), (QStringList{
        opened("ttyS0"), kReadM1 + QStringLiteral("ttyS0 close success.\r\n"),
        opened("ttyS1"), kReadM1 + QStringLiteral("ttyS1 close success.\r\n"),
        opened("ttyS2"), kReadM1 + QStringLiteral("Success.\r\n"),
    }));
    QCOMPARE(m_prompter.shown().size(), 0);
    QVERIFY(m_data.bus.connected);
    QCOMPARE(m_line->device(), QStringLiteral("ttyS2"));
    const auto *transport = static_cast<const InProcessTransport *>(m_link->transport());
    QCOMPARE(transport->written(),
             QList<QByteArray>{Frame::withChecksum(QByteArray::fromHex("014350f80002")).bytes()});
    QCOMPARE(logic->search(), PortSetting::Search::Idle);
    QCOMPARE(logic->statusText(), QString());
    QCOMPARE(stored("M1", "NAME"), name);
    QCOMPARE(stored("M1", "MODEL"), QStringLiteral("0E"));
    QCOMPARE(stored("M1", "VER"), QStringLiteral("21"));
    QCOMPARE(stored("B0", "COM"), QStringLiteral("0"));
}

void TestPortSetting::searchFindsNothing_data()
{
    QTest::addColumn<QStringList>("devices");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QString>("message");
    QTest::newRow("no port opens")
        << QStringList{QStringLiteral("ttyACM0"), QStringLiteral("ttyACM1")} << QStringList()
        << QStringLiteral("Connect M1 GatewayUnit Timeout! please check the connection and try again.");
    QTest::newRow("no port carries gateway 1")
        << QStringList{QStringLiteral("ttyACM0"), QStringLiteral("ttyS0"), QStringLiteral("ttyS1")}
        << QStringList{opened("ttyS0"), kReadM1 + QStringLiteral("ttyS0 close success.\r\n"),
                       opened("ttyS1"), kReadM1 + QStringLiteral("ttyS1 close success.\r\n"),
                       QStringLiteral("Time-out.\r\n"), QStringLiteral("COM close Failed.\r\n")}
        << QStringLiteral("Connect M1 GatewayUnit time-out! please check the connection and try again.");
}

void TestPortSetting::searchFindsNothing()
{
    QFETCH(QStringList, devices);
    QFETCH(QStringList, log);
    QFETCH(QString, message);
    m_ports = PortList({}, devices);
    start();
    const auto logic = dialog();
    QSignalSpy finished(logic.get(), &PortSetting::finished);
    logic->confirm();
    run(*logic, 400);
    QCOMPARE(m_log.lines(), log);
    QCOMPARE(m_prompter.texts(), QStringList{message});
    QCOMPARE(logic->search(), PortSetting::Search::Idle);
    QCOMPARE(logic->statusText(), QString());
    QVERIFY(!m_data.bus.connected);
    QVERIFY(logic->isOpenEnabled());
    QCOMPARE(finished.count(), 0);
    QCOMPARE(stored("M1", "NAME"), QStringLiteral("<missing>"));
}

void TestPortSetting::lineGoneDuringSearch_data()
{
    QTest::addColumn<bool>("userCloses");
    QTest::newRow("adapter pulled out: the next port is tried") << false;
    QTest::newRow("Close Port: the search ends") << true;
}

void TestPortSetting::lineGoneDuringSearch()
{
    QFETCH(bool, userCloses);
    m_ports = PortList({port("ttyS0"), port("ttyS2")}, {});
    start();
    const auto logic = dialog();
    QSignalSpy finished(logic.get(), &PortSetting::finished);
    logic->confirm();
    run(*logic, 5);
    QCOMPARE(logic->search(), PortSetting::Search::Asking);
    if (userCloses) {
        logic->closePort();
    } else {
        Transport *transport = m_link->transport();
        transport->close();
        emit transport->lineError(QStringLiteral("No such device"));
    }
    run(*logic, 100);
    if (userCloses) {
        QCOMPARE(logic->search(), PortSetting::Search::Idle);
        QCOMPARE(m_log.lines().last(), kReadM1 + QStringLiteral("ttyS0 close success.\r\n"));
        QCOMPARE(logic->statusText(), QString());
        QVERIFY(!m_data.bus.connected);
        QCOMPARE(finished.count(), 0);
    } else {
        QCOMPARE(m_log.lines().last(), kReadM1 + QStringLiteral("Success.\r\n"));
        QCOMPARE(m_line->device(), QStringLiteral("ttyS2"));
        QCOMPARE(finished.count(), 1);
    }
    QVERIFY(m_prompter.shown().isEmpty());
}

void TestPortSetting::answersOutsideSearch_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("message");
    QTest::newRow("01 C3 04: exception answer")
        << Frame::readRegisters(1, p::reg::make(63, p::item::Presence), 1) << QStringLiteral("Failure.\r\n")
        << QStringLiteral("Connect M1 GatewayUnit failure! please check the connection and try again.");
    QTest::newRow("09 43 50 F8: no answer")
        << Frame::readRegisters(9, p::reg::ModelVersion, 2) << QStringLiteral("Time-out.\r\n")
        << QStringLiteral("Connect M1 GatewayUnit time-out! please check the connection and try again.");
    QTest::newRow("02 43 04: answer of gateway 2 is ignored")
        << Frame::readRegisters(2, p::reg::ModelVersion, 2) << QString() << QString();
}

void TestPortSetting::answersOutsideSearch()
{
    QFETCH(QByteArray, request);
    QFETCH(QString, result);
    QFETCH(QString, message);
    m_session.dialogShown = true;
    start();
    QVERIFY(m_line->openLine(QStringLiteral("ttyS2"), LineSettings()));
    const auto logic = dialog();
    QSignalSpy finished(logic.get(), &PortSetting::finished);
    QCOMPARE(m_link->send(requester::PortSetting, PortSetting::kModelVersionTag, request, kAnswerWaitMs, kReadM1),
             GatewayLink::SendResult::Queued);
    run(*logic, 100);

    if (result.isEmpty()) {
        QCOMPARE(m_log.lines().last(), kReadM1);
        QVERIFY(m_data.bus.connected);
        QVERIFY(m_prompter.shown().isEmpty());
    } else {
        QCOMPARE(m_log.lines().mid(1), (QStringList{kReadM1 + result, QStringLiteral("ttyS2 close success.\r\n")}));
        QVERIFY(!m_data.bus.connected);
        QCOMPARE(m_prompter.texts(), QStringList{message});
    }
    QCOMPARE(finished.count(), 0);
    QCOMPARE(stored("M1", "NAME"), QStringLiteral("<missing>"));
}

QTEST_GUILESS_MAIN(TestPortSetting)
#include "tst_portsetting.moc"
