// The background status poll with driven timers: against the simulated line for what the gear
// and gateways really answer, and against a hand-fed transport for answers no gateway should send.
#include "faketransport.h"
#include "frame.h"
#include "gatewaylink.h"
#include "inprocesstransport.h"
#include "installation.h"
#include "projectdata.h"
#include "projectstore.h"
#include "recordinglog.h"
#include "requesterid.h"
#include "scriptedprompter.h"
#include "simline.h"
#include "softwaresettings.h"
#include "statuspoll.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

using namespace lumaro;
namespace p = lumaro::protocol;

namespace {

// How a gear misses its presence checks on the simulated line.
enum class Miss {
    GearSilent,     // the gateway answers with an exception: the gear does not answer on its bus
    GatewaySilent,  // nothing answers: the link times out
};

// A request or answer given as the hex of its bytes without the checksum.
QByteArray frame(const char *hex)
{
    return Frame::withChecksum(QByteArray::fromHex(hex)).bytes();
}

SoftwareSettings quickSettings(const char *noCheckFlag = "0")
{
    SoftwareSettings s;
    s.comTimeout = 500;           // 50 link ticks: time-outs come quickly
    s.allCheckThreadCount = 1;    // one minute between cycles
    s.noCheckFlag = QString::fromLatin1(noCheckFlag);
    return s;
}

}  // namespace

Q_DECLARE_METATYPE(Miss)

class TestStatusPoll : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void startUp();
    void normalCycle();
    void statusBits_data();
    void statusBits();
    void presenceMisses_data();
    void presenceMisses();
    void silentGateway_data();
    void silentGateway();
    void statusQueryMissed_data();
    void statusQueryMissed();
    void unusableAnswers_data();
    void unusableAnswers();
    void noCheckFlag_data();
    void noCheckFlag();
    void noPresentGear();
    void disabledWaits();
    void waitsForIdleLink_data();
    void waitsForIdleLink();
    void suspendStopsThePoll();
    void refusedRequestIsAskedAgain();
    void removedGearIsNotQueried();

private:
    // db.ctt of the project, then the line it talks to, then the poll.
    void setUpProject(const char *dbText);
    void useSimulatedLine(QByteArrayView installationText);
    void useFakeLine();
    void startPoll(const SoftwareSettings &settings = quickSettings());

    // Lets time pass as the main window's timers would: the link tick every 10 ms, the poll tick
    // every 100 ms, the two one-second timers every second.
    void run(int ms);
    bool runUntil(const std::function<bool()> &done, int limitMs = 120000);
    bool runUntilWritten(int count) { return runUntil([&] { return written().size() >= count; }); }
    bool runUntilLogged(const QString &piece, int times = 1);
    // Hands an answer to the link as if it arrived on the line, and lets it be taken.
    void deliver(const QByteArray &answer);

    QList<QByteArray> written() const { return m_sim ? m_sim->written() : m_fake->written; }

    QTemporaryDir m_dir;
    ProjectData m_data;
    RecordingLog m_log;
    ScriptedPrompter m_prompter;
    std::unique_ptr<sim::SimLine> m_line;
    std::unique_ptr<InProcessTransport> m_sim;
    std::unique_ptr<FakeTransport> m_fake;
    std::unique_ptr<GatewayLink> m_link;
    std::unique_ptr<StatusPoll> m_poll;
    QList<int> m_writtenAt;   // ms at which each frame left
    int m_ms = 0;
};

void TestStatusPoll::cleanup()
{
    m_poll.reset();
    m_link.reset();
    m_sim.reset();
    m_fake.reset();
    m_line.reset();
    m_data = ProjectData();
    m_log.clear();
    m_writtenAt.clear();
    m_ms = 0;
}

void TestStatusPoll::setUpProject(const char *dbText)
{
    QVERIFY(m_dir.isValid());
    ProjectStore store(m_dir.path());
    QFile file(store.filePath(ProjectFile::Db));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray(dbText).replace("\n", "\r\n"));
    file.close();
    QVERIFY(store.load());
    m_data.rebuild(store);
}

void TestStatusPoll::useSimulatedLine(QByteArrayView installationText)
{
    const sim::Installation installation = sim::Installation::fromText(installationText);
    QVERIFY2(installation.warnings().isEmpty(), qPrintable(installation.warnings().join(u'\n')));
    m_line = std::make_unique<sim::SimLine>(installation);
    m_sim = std::make_unique<InProcessTransport>(*m_line, 3);
    m_link = std::make_unique<GatewayLink>(m_log, m_prompter);
    m_link->setTransport(m_sim.get());
    QVERIFY(m_link->open());
}

void TestStatusPoll::useFakeLine()
{
    m_fake = std::make_unique<FakeTransport>();
    m_link = std::make_unique<GatewayLink>(m_log, m_prompter);
    m_link->setTransport(m_fake.get());
    QVERIFY(m_link->open());
}

void TestStatusPoll::startPoll(const SoftwareSettings &settings)
{
    m_poll = std::make_unique<StatusPoll>(*m_link, m_data, m_log, settings);
}

void TestStatusPoll::run(int ms)
{
    for (const int end = m_ms + ms; m_ms < end;) {
        m_ms += GatewayLink::kTickMs;
        const qsizetype before = written().size();
        m_link->tick();
        if (written().size() > before)
            m_writtenAt.append(m_ms);
        if (m_ms % 100 == 0)
            m_poll->pollTick();
        if (m_ms % 1000 == 0) {
            m_poll->resumeTick();
            m_poll->pauseTick();
        }
    }
}

bool TestStatusPoll::runUntil(const std::function<bool()> &done, int limitMs)
{
    for (const int end = m_ms + limitMs; m_ms < end; run(GatewayLink::kTickMs))
        if (done())
            return true;
    return done();
}

bool TestStatusPoll::runUntilLogged(const QString &piece, int times)
{
    return runUntil([&] { return m_log.lines().join(QString()).count(piece) >= times; });
}

void TestStatusPoll::deliver(const QByteArray &answer)
{
    m_fake->deliver(answer);
    run(GatewayLink::kSilentTicks * GatewayLink::kTickMs);
}

void TestStatusPoll::startUp()
{
    setUpProject("[M1]\n[M1A0]\n");
    useSimulatedLine("[M1A0]\n");
    startPoll();
    QVERIFY(m_poll->isEnabled());
    QVERIFY(!m_poll->isPaused());
    QVERIFY(m_poll->isResumeTimerRunning());
    QVERIFY(!m_poll->isPollTimerRunning());
    QVERIFY(!m_poll->isPauseTimerRunning());
    QCOMPARE(m_poll->resumeCountdown(), 1);
    QCOMPARE(m_poll->pollCountdown(), 20);
    QCOMPARE(m_poll->pauseCountdown(), 1);

    // A stopped poll timer ignores its ticks.
    m_poll->pollTick();
    QCOMPARE(m_poll->pollCountdown(), 20);
    m_poll->resumeTick();
    QVERIFY(!m_poll->isResumeTimerRunning());
    QVERIFY(m_poll->isPollTimerRunning());
    m_poll->resumeTick();
    QVERIFY(!m_poll->isResumeTimerRunning());
    m_poll->pollTick();
    QCOMPARE(m_poll->pollCountdown(), 19);
}

void TestStatusPoll::normalCycle()
{
    setUpProject("[B0]\nCOM=0\n[M1]\n[M1A0]\n[M1A63]\n[M16]\n[M16A5]\n");
    useSimulatedLine("[M1A0]\nLEVEL=254\n[M1A63]\nLEVEL=120\n[M16A5]\nLEVEL=0\n");
    startPoll();
    QSignalSpy gearSpy(m_poll.get(), &StatusPoll::gearStateChanged);
    QSignalSpy gatewaySpy(m_poll.get(), &StatusPoll::gatewayStateChanged);

    QVERIFY(runUntilWritten(6));
    QVERIFY(runUntilLogged(QStringLiteral("M16A5 Query volue and status...  success.")));
    const QList<QByteArray> cycle = {
        frame("014300400001"), frame("0143004A0002"),
        frame("01433F400001"), frame("01433F4A0002"),
        frame("104305400001"), frame("1043054A0002"),
    };
    QCOMPARE(written(), cycle);
    // Poll timer from 1 s, first step after 20 ticks; the level query 200 ms after an answer,
    // but after the full 30 ticks for the last address of a bus (the answer does not shorten it).
    QCOMPARE(m_writtenAt, (QList<int>{3210, 3410, 3710, 6810, 10010, 10210}));
    QCOMPARE(m_log.lines(), (QStringList{
        QStringLiteral("M1A0 Check gear ...  OK.\r\n"),
        QStringLiteral("M1A0 Query volue and status...  success. Volue=254, Status=OK. \r\n"),
        QStringLiteral("M1A63 Check gear ...  OK.\r\n"),
        QStringLiteral("M1A63 Query volue and status...  success. Volue=120, Status=OK. \r\n"),
        QStringLiteral("M16A5 Check gear ...  OK.\r\n"),
        QStringLiteral("M16A5 Query volue and status...  success. Volue=0, Status=OK. \r\n"),
    }));

    const struct { int g, a, level; } gear[] = {{1, 0, 254}, {1, 63, 120}, {16, 5, 0}};
    QList<QList<QVariant>> gearSignals;
    for (const auto &e : gear) {
        const GearRecord &r = m_data.gear(e.g, e.a);
        QVERIFY(r.stateKnown);
        QCOMPARE(r.status, quint8(GearRecord::Answering));
        QCOMPARE(r.level, quint8(e.level));
        QCOMPARE(r.missCount, quint8(0));
        gearSignals << QList<QVariant>{e.g, e.a} << QList<QVariant>{e.g, e.a};
    }
    QCOMPARE(QList<QList<QVariant>>(gearSpy), gearSignals);
    QCOMPARE(QList<QList<QVariant>>(gatewaySpy),
             (QList<QList<QVariant>>{{1}, {1}, {16}}));
    for (int g : {1, 16}) {
        QVERIFY(m_data.gateway(g).stateKnown);
        QCOMPARE(m_data.gateway(g).status, quint8(GatewayRecord::Answering));
    }
    QVERIFY(!m_data.gateway(2).stateKnown);

    // After the last gear the poll waits one minute and starts again at the first gateway.
    QVERIFY(runUntilWritten(7));
    QCOMPARE(written().last(), cycle.first());
    QCOMPARE(m_writtenAt.last(), 70610);
}

void TestStatusPoll::statusBits_data()
{
    QTest::addColumn<QByteArray>("gearKeys");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("result");
    QTest::newRow("LAMPFAILURE=TRUE") << QByteArray("LAMPFAILURE=TRUE\n") << 2 << QStringLiteral(", Status=Failure.");
    QTest::newRow("GEARFAILURE=TRUE") << QByteArray("GEARFAILURE=TRUE\n") << 2 << QStringLiteral(", Status=Failure.");
    QTest::newRow("POWERCYCLE=TRUE is no failure") << QByteArray("POWERCYCLE=TRUE\n") << 0 << QStringLiteral(", Status=OK.");
}

void TestStatusPoll::statusBits()
{
    QFETCH(QByteArray, gearKeys);
    QFETCH(int, status);
    QFETCH(QString, result);
    setUpProject("[M2]\n[M2A11]\n");
    useSimulatedLine(QByteArray("[M2A11]\nLEVEL=200\n" + gearKeys));
    startPoll();
    QVERIFY(runUntilLogged(QStringLiteral(" \r\n")));
    QCOMPARE(m_log.lines().last(),
             QStringLiteral("M2A11 Query volue and status...  success. Volue=200") + result + QStringLiteral(" \r\n"));
    QCOMPARE(m_data.gear(2, 11).status, quint8(status));
    QCOMPARE(m_data.gear(2, 11).level, quint8(200));
}

void TestStatusPoll::presenceMisses_data()
{
    QTest::addColumn<Miss>("miss");
    QTest::addColumn<int>("misses");
    QTest::addColumn<int>("missCountBefore");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("missCount");
    QTest::addColumn<bool>("gatewayKnown");
    QTest::addColumn<int>("gatewayStatus");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("next");

    const QString exception = QStringLiteral("M1A3 Check gear ...  Slave time-out.\r\n");
    const QString timeout = QStringLiteral("M1A3 Check gear ...  Gateway response time-out.\r\n");
    const QString failure = QStringLiteral("M1A3 Failure.\r\n");
    QTest::newRow("one exception keeps the state, 01 43 03 40 00 01 again")
        << Miss::GearSilent << 1 << 0 << 0 << 150 << 1 << false << 0
        << QStringList{exception} << frame("014303400001");
    QTest::newRow("two exceptions: gear not answering, gateway answering")
        << Miss::GearSilent << 2 << 0 << 1 << 0 << 2 << true << 0
        << QStringList{exception, exception, failure} << frame("014304400001");
    QTest::newRow("one time-out keeps the state, 01 43 03 40 00 01 again")
        << Miss::GatewaySilent << 1 << 0 << 0 << 150 << 1 << false << 0
        << QStringList{timeout} << frame("014303400001");
    QTest::newRow("two time-outs: gear and gateway not answering")
        << Miss::GatewaySilent << 2 << 0 << 1 << 0 << 2 << true << 1
        << QStringList{timeout, timeout, failure} << frame("014304400001");
    QTest::newRow("miss count stays at 250")
        << Miss::GearSilent << 1 << 250 << 1 << 0 << 250 << true << 0
        << QStringList{exception, failure} << frame("014304400001");
}

void TestStatusPoll::presenceMisses()
{
    QFETCH(Miss, miss);
    QFETCH(int, misses);
    QFETCH(int, missCountBefore);
    QFETCH(int, status);
    QFETCH(int, level);
    QFETCH(int, missCount);
    QFETCH(bool, gatewayKnown);
    QFETCH(int, gatewayStatus);
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, next);

    setUpProject("[M1]\n[M1A3]\n[M1A4]\n");
    useSimulatedLine("[M1A3]\nLEVEL=150\n[M1A4]\nLEVEL=90\n");
    // As the gear list loads it from the store.
    GearRecord &gear = m_data.gear(1, 3);
    gear.stateKnown = true;
    gear.level = 150;
    gear.missCount = quint8(missCountBefore);
    startPoll();

    sim::Faults silent;
    if (miss == Miss::GearSilent)
        m_line->gateway(1)->gear(3)->setResponds(false);
    else
        silent.silentGateways = {1};
    m_line->setFaults(silent);
    QVERIFY(runUntilLogged(QStringLiteral(" time-out."), misses));
    // The line recovers before the next request.
    m_line->gateway(1)->gear(3)->setResponds(true);
    m_line->setFaults({});
    const qsizetype sent = written().size();

    QCOMPARE(m_log.lines(), lines);
    QCOMPARE(gear.status, quint8(status));
    QCOMPARE(gear.level, quint8(level));
    QCOMPARE(gear.missCount, quint8(missCount));
    QVERIFY(gear.stateKnown);
    QCOMPARE(m_data.gateway(1).stateKnown, gatewayKnown);
    QCOMPARE(m_data.gateway(1).status, quint8(gatewayStatus));

    QVERIFY(runUntilWritten(int(sent) + 1));
    QCOMPARE(written().last(), next);
    // Once the check is answered the misses are forgotten.
    if (next == frame("014303400001")) {
        QVERIFY(runUntilLogged(QStringLiteral(" OK.\r\n")));
        QCOMPARE(gear.missCount, quint8(0));
    }
}

void TestStatusPoll::silentGateway_data()
{
    QTest::addColumn<bool>("removed");
    QTest::newRow("gateway 2 silent") << false;
    QTest::newRow("gateway 2 removed from the line") << true;
}

void TestStatusPoll::silentGateway()
{
    QFETCH(bool, removed);
    setUpProject("[M1]\n[M1A0]\n[M2]\n[M2A1]\n[M2A2]\n[M3]\n[M3A0]\n");
    useSimulatedLine("[M1A0]\nLEVEL=254\n[M2A1]\nLEVEL=254\n[M2A2]\nLEVEL=254\n[M3A0]\nLEVEL=254\n");
    if (removed) {
        m_line->removeGateway(2);
    } else {
        sim::Faults faults;
        faults.silentGateways = {2};
        m_line->setFaults(faults);
    }
    startPoll();
    QVERIFY(runUntilLogged(QStringLiteral("M3A0 Query volue and status...  success.")));

    QList<QByteArray> toGateway2;
    for (const QByteArray &f : written())
        if (uint8_t(f[0]) == 2)
            toGateway2 << f;
    QCOMPARE(toGateway2, (QList<QByteArray>{frame("024301400001"), frame("024301400001"),
                                             frame("024302400001"), frame("024302400001")}));
    for (int a : {1, 2}) {
        const GearRecord &gear = m_data.gear(2, a);
        QVERIFY(gear.stateKnown);
        QCOMPARE(gear.status, quint8(GearRecord::NotAnswering));
        QCOMPARE(gear.level, quint8(0));
        QVERIFY(m_log.lines().contains(QStringLiteral("M2A%1 Failure.\r\n").arg(a)));
    }
    QVERIFY(m_data.gateway(2).stateKnown);
    QCOMPARE(m_data.gateway(2).status, quint8(GatewayRecord::NotAnswering));
    for (int g : {1, 3}) {
        QCOMPARE(m_data.gateway(g).status, quint8(GatewayRecord::Answering));
        QCOMPARE(m_data.gear(g, 0).status, quint8(GearRecord::Answering));
        QCOMPARE(m_data.gear(g, 0).level, quint8(254));
    }
}

void TestStatusPoll::statusQueryMissed_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("01 C3 04: exception answer") << frame("01C304")
        << QStringList{QStringLiteral("M1A3 Check gear ...  OK.\r\n"),
                       QStringLiteral("M1A3 Query volue and status...  Slave time-out.\r\n"),
                       QStringLiteral("M1A3 Failure.\r\n"),
                       QStringLiteral("M1A4 Check gear ... ")};
    QTest::newRow("no answer") << QByteArray()
        << QStringList{QStringLiteral("M1A3 Check gear ...  OK.\r\n"),
                       QStringLiteral("M1A3 Query volue and status...  Gateway response time-out.\r\n"),
                       QStringLiteral("M1A4 Check gear ... ")};
}

void TestStatusPoll::statusQueryMissed()
{
    QFETCH(QByteArray, answer);
    QFETCH(QStringList, lines);
    setUpProject("[M1]\n[M1A3]\n[M1A4]\n");
    useFakeLine();
    m_data.gear(1, 3).level = 150;
    startPoll();
    QVERIFY(runUntilWritten(1));
    deliver(frame("01430200FF"));
    QVERIFY(runUntilWritten(2));
    QCOMPARE(written().last(), frame("0143034A0002"));
    if (!answer.isEmpty())
        deliver(answer);
    QVERIFY(runUntilWritten(3));

    QCOMPARE(m_log.lines(), lines);
    const GearRecord &gear = m_data.gear(1, 3);
    QVERIFY(gear.stateKnown);
    QCOMPARE(gear.level, quint8(0));
    QCOMPARE(gear.status, quint8(GearRecord::Answering));
    QCOMPARE(written().last(), frame("014304400001"));
}

void TestStatusPoll::unusableAnswers_data()
{
    QTest::addColumn<bool>("toStatusQuery");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("line");
    const QString presence = QStringLiteral("M1A3 Check gear ... Response error.\r\n");
    const QString status = QStringLiteral("M1A3 Query volue and status... Response error.\r\n");
    QTest::newRow("02 43 02 00 FF: presence answer of gateway 2") << false << frame("02430200FF") << presence;
    QTest::newRow("02 C3 04: exception answer of gateway 2") << false << frame("02C304") << presence;
    QTest::newRow("01 46 03 40 00 01: write answer") << false << frame("014603400001") << presence;
    QTest::newRow("02 43 04 00 00 00 C8: status answer of gateway 2") << true << frame("024304000000C8") << status;
    QTest::newRow("01 43 02 00 00: status answer without the level") << true << frame("0143020000") << status;
}

void TestStatusPoll::unusableAnswers()
{
    QFETCH(bool, toStatusQuery);
    QFETCH(QByteArray, answer);
    QFETCH(QString, line);
    setUpProject("[M1]\n[M1A3]\n[M1A4]\n");
    useFakeLine();
    GearRecord &gear = m_data.gear(1, 3);
    gear.stateKnown = true;
    gear.level = 150;
    gear.status = GearRecord::LampFailure;
    startPoll();
    QVERIFY(runUntilWritten(1));
    if (toStatusQuery) {
        deliver(frame("01430200FF"));
        QVERIFY(runUntilWritten(2));
        gear.status = GearRecord::LampFailure;
    }
    QSignalSpy gearSpy(m_poll.get(), &StatusPoll::gearStateChanged);
    QSignalSpy gatewaySpy(m_poll.get(), &StatusPoll::gatewayStateChanged);
    const quint8 missCount = gear.missCount;
    deliver(answer);

    QCOMPARE(m_log.lines().last(), line);
    QCOMPARE(gear.status, quint8(GearRecord::LampFailure));
    QCOMPARE(gear.level, quint8(150));
    QCOMPARE(gear.missCount, missCount);
    QCOMPARE(gearSpy.size(), 0);
    QCOMPARE(gatewaySpy.size(), 0);
    // Asked again at once: the same check, or the next gear after a status query.
    const int sentAt = m_ms;
    QVERIFY(runUntilWritten(toStatusQuery ? 3 : 2));
    QVERIFY(m_ms - sentAt <= 300);
    QCOMPARE(written().last(), frame(toStatusQuery ? "014304400001" : "014303400001"));
}

void TestStatusPoll::noCheckFlag_data()
{
    QTest::addColumn<QString>("flag");
    QTest::addColumn<bool>("pausedAfter");
    QTest::newRow("NOCHECKFLAG=0 resumes") << QStringLiteral("0") << false;
    QTest::newRow("NOCHECKFLAG=1 stays paused") << QStringLiteral("1") << true;
}

void TestStatusPoll::noCheckFlag()
{
    QFETCH(QString, flag);
    QFETCH(bool, pausedAfter);
    setUpProject("[M1]\n[M1A0]\n");
    useSimulatedLine("[M1A0]\n");
    startPoll(quickSettings(qPrintable(flag)));
    QCOMPARE(m_poll->isPaused(), pausedAfter);

    m_poll->pause(8);
    QVERIFY(m_poll->isPaused());
    QVERIFY(m_data.bus.statusPollPaused);
    QVERIFY(m_poll->isPauseTimerRunning());
    run(7000);
    QVERIFY(m_poll->isPaused());
    QVERIFY(written().isEmpty());
    run(1000);
    QVERIFY(!m_poll->isPauseTimerRunning());
    QCOMPARE(m_poll->isPaused(), pausedAfter);
    QCOMPARE(m_data.bus.statusPollPaused, pausedAfter);
    run(1000);
    QCOMPARE(written().isEmpty(), pausedAfter);
}

void TestStatusPoll::noPresentGear()
{
    // Gateways and groups, but no gear.
    setUpProject("[M1]\n[M1G0]\n[M16]\n");
    useSimulatedLine("[M1A0]\n");
    startPoll();
    const int cyclePause = m_poll->cyclePauseTicks();
    QCOMPARE(cyclePause, 600);
    run(3100);   // the first step
    QCOMPARE(m_poll->pollCountdown(), cyclePause);
    QCOMPARE(m_poll->cursorGateway(), 0);
    QCOMPARE(m_poll->cursorAddress(), 0);
    run(cyclePause * 100 + 100);   // the pause, then the next step
    QCOMPARE(m_poll->pollCountdown(), cyclePause);
    QVERIFY(written().isEmpty());
    QVERIFY(m_log.lines().isEmpty());
}

void TestStatusPoll::disabledWaits()
{
    setUpProject("[M1]\n[M1A0]\n");
    useSimulatedLine("[M1A0]\n");
    startPoll();
    m_poll->setEnabled(false);
    QVERIFY(!m_poll->isEnabled());
    run(3100);   // the first step
    QCOMPARE(m_poll->pollCountdown(), 30);
    run(3000);
    QCOMPARE(m_poll->pollCountdown(), 0);
    run(100);    // the next step waits again
    QCOMPARE(m_poll->pollCountdown(), 30);
    QVERIFY(written().isEmpty());

    m_poll->setEnabled(true);
    QVERIFY(runUntilWritten(1));
    QCOMPARE(m_writtenAt.first(), 6200 + 3000 + 200 + 10);
}

void TestStatusPoll::waitsForIdleLink_data()
{
    QTest::addColumn<bool>("inFlight");
    QTest::addColumn<int>("countdown");
    QTest::newRow("a request in the ring waits 10 ticks") << false << 10;
    QTest::newRow("a request in flight: the next tick tries again") << true << 0;
}

void TestStatusPoll::waitsForIdleLink()
{
    QFETCH(bool, inFlight);
    QFETCH(int, countdown);
    setUpProject("[M1]\n[M1A0]\n");
    useSimulatedLine("[M1A0]\n");
    startPoll();
    run(3100);   // the cursor stands on M1A0; the next step would send
    QCOMPARE(m_link->send(requester::Generic, 0x8039, QByteArray::fromHex("014350F80002"), 500,
                          QStringLiteral("M1 ... ")),
             GatewayLink::SendResult::Queued);
    if (inFlight) {
        m_link->tick();
        QVERIFY(m_link->isBusy());
    }
    m_poll->pollTick();
    QCOMPARE(m_poll->pollCountdown(), countdown);
    QCOMPARE(m_link->queuedCount(), inFlight ? 0 : 1);

    // Once the window's request is done the poll goes on.
    QVERIFY(runUntilWritten(2));
    QCOMPARE(written().last(), frame("014300400001"));
}

void TestStatusPoll::suspendStopsThePoll()
{
    setUpProject("[M1]\n[M1A0]\n");
    useSimulatedLine("[M1A0]\n");
    startPoll();
    m_poll->resumeTick();
    QVERIFY(m_poll->isPollTimerRunning());

    m_poll->suspend(10);
    QVERIFY(!m_poll->isPollTimerRunning());
    QVERIFY(m_poll->isResumeTimerRunning());
    QCOMPARE(m_poll->resumeCountdown(), 10);
    m_poll->pollTick();
    QCOMPARE(m_poll->pollCountdown(), 20);
    for (int i = 0; i < 9; ++i)
        m_poll->resumeTick();
    QVERIFY(!m_poll->isPollTimerRunning());
    m_poll->resumeTick();
    QVERIFY(m_poll->isPollTimerRunning());
    QVERIFY(!m_poll->isResumeTimerRunning());
    m_poll->pollTick();
    QCOMPARE(m_poll->pollCountdown(), 19);
}

void TestStatusPoll::refusedRequestIsAskedAgain()
{
    setUpProject("[M1]\n[M1A0]\n[M1A1]\n");
    useSimulatedLine("[M1A0]\nLEVEL=254\n[M1A1]\n");
    startPoll();
    QVERIFY(runUntilLogged(QStringLiteral(" OK.\r\n")));
    // The port closes between the presence check and the status query.
    m_link->close();
    run(5000);
    QVERIFY(m_link->open());   // the transport forgets what it wrote
    QVERIFY(runUntilWritten(1));
    QCOMPARE(written().first(), frame("0143004A0002"));
    QVERIFY(runUntilLogged(QStringLiteral("Volue=254")));
    QCOMPARE(m_data.gear(1, 0).level, quint8(254));
}

void TestStatusPoll::removedGearIsNotQueried()
{
    setUpProject("[M1]\n[M1A3]\n[M1A4]\n");
    useSimulatedLine("[M1A3]\n[M1A4]\n");
    startPoll();
    QVERIFY(runUntilLogged(QStringLiteral("M1A3 Check gear ...  OK.\r\n")));
    // The gear leaves the project before its status query is due.
    setUpProject("[M1]\n[M1A4]\n");
    QVERIFY(runUntilWritten(2));
    QCOMPARE(written().last(), frame("014304400001"));
}

QTEST_GUILESS_MAIN(TestStatusPoll)
#include "tst_statuspoll.moc"
