#include "faketransport.h"
#include "frame.h"
#include "gatewaylink.h"
#include "recordinglog.h"
#include "requester.h"
#include "requesterid.h"
#include "scriptedprompter.h"

#include <QTest>

using namespace lumaro;
using SendResult = GatewayLink::SendResult;

namespace {

struct Event {
    QString kind;   // "answer" or "timeout"
    int tag;
    QByteArray bytes;
    bool operator==(const Event &) const = default;
};

class RecordingRequester final : public Requester
{
public:
    void onAnswer(int tag, const Frame &answer) override { events.append({QStringLiteral("answer"), tag, answer.bytes()}); }
    void onTimeout(int tag) override { events.append({QStringLiteral("timeout"), tag, {}}); }
    QList<Event> events;
};

QByteArray request(uint8_t address, uint8_t item = protocol::item::Presence)
{
    return Frame::readRegisters(address, protocol::reg::make(5, item), 1);
}

QByteArray answerTo(uint8_t address, const char *dataHex = "020001")
{
    return Frame::withChecksum(QByteArray(1, char(address)) + char(protocol::function::ReadRegisters)
                               + QByteArray::fromHex(dataHex)).bytes();
}

}  // namespace

class TestGatewayLink : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void refusals_data();
    void refusals();
    void noticeWhenPortClosed();
    void broadcastNeverWaits();
    void ringHoldsThirtyTwo();
    void timeoutAfterAnswerWait();
    void waitBelowOneTickIsNoAnswer();
    void bursts_data();
    void bursts();
    void genericRequesterLogsResult_data();
    void genericRequesterLogsResult();
    void routing_data();
    void routing();
    void lateAnswerGoesToGeneric();
    void oversizedReceptionIsDropped();
    void openAndCloseClearEverything();
    void descriptionIsCut();
    void ticksNeededOnlyWhileBusy();

private:
    void ticks(int n) { for (int i = 0; i < n; ++i) m_link->tick(); }

    RecordingLog m_log;
    ScriptedPrompter m_prompter;
    FakeTransport *m_transport = nullptr;
    GatewayLink *m_link = nullptr;
};

void TestGatewayLink::init()
{
    m_log.clear();
    m_prompter = ScriptedPrompter();
    m_transport = new FakeTransport;
    m_link = new GatewayLink(m_log, m_prompter);
    m_link->setTransport(m_transport);
    QVERIFY(m_link->open());
}

void TestGatewayLink::cleanup()
{
    delete m_link;
    delete m_transport;
}

void TestGatewayLink::refusals_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<bool>("open");
    QTest::addColumn<SendResult>("result");
    QTest::newRow("126 bytes before the checksum") << QByteArray(126, '\x01') << true << SendResult::Queued;
    QTest::newRow("127 bytes before the checksum") << QByteArray(127, '\x01') << true << SendResult::TooLong;
    QTest::newRow("127 bytes, port closed") << QByteArray(127, '\x01') << false << SendResult::TooLong;
    QTest::newRow("address 16") << request(16) << true << SendResult::Queued;
    QTest::newRow("address 17") << request(17) << true << SendResult::BadAddress;
    QTest::newRow("port closed") << request(1) << false << SendResult::PortClosed;
}

void TestGatewayLink::refusals()
{
    QFETCH(QByteArray, payload);
    QFETCH(bool, open);
    QFETCH(SendResult, result);
    if (!open)
        m_link->close();
    QCOMPARE(m_link->send(requester::Generic, 1, payload, 1500, QStringLiteral("request ")), result);
    QCOMPARE(m_link->queuedCount(), result == SendResult::Queued ? 1 : 0);
    QVERIFY(m_prompter.shown().isEmpty());
    ticks(1);
    QCOMPARE(m_transport->written.size(), result == SendResult::Queued ? 1 : 0);
    // A refusal leaves nothing in the log.
    QCOMPARE(m_log.lines().isEmpty(), result != SendResult::Queued);
}

void TestGatewayLink::noticeWhenPortClosed()
{
    m_link->close();
    QCOMPARE(m_link->sendWithNotice(220, 1, request(1), 1500, {}), SendResult::PortClosed);
    QCOMPARE(m_prompter.texts(), QStringList{QStringLiteral("Failure,Please open the serial port first.")});
    QCOMPARE(m_prompter.shown().first().buttons, Prompter::Buttons::OkCancel);
    // Oversized requests are refused without a word, even with the port closed.
    QCOMPARE(m_link->sendWithNotice(220, 1, QByteArray(127, '\x01'), 1500, {}), SendResult::TooLong);
    QCOMPARE(m_prompter.shown().size(), 1);
}

void TestGatewayLink::broadcastNeverWaits()
{
    RecordingRequester r;
    m_link->registerRequester(requester::GearList, &r);
    m_link->send(requester::GearList, 7, Frame::writeRegister(0, 0x5000, 0), 1500, {});
    m_link->send(requester::GearList, 8, request(1), 1500, {});
    ticks(1);
    QCOMPARE(m_transport->written.size(), 1);
    // 100 ms of quiet after a frame without answer, then the next request, and never a time-out.
    ticks(10);
    QCOMPARE(m_transport->written.size(), 1);
    ticks(1);
    QCOMPARE(m_transport->written.size(), 2);
    QVERIFY(r.events.isEmpty());
}

void TestGatewayLink::ringHoldsThirtyTwo()
{
    for (int i = 0; i < 32; ++i)
        QCOMPARE(m_link->send(requester::Generic, i, Frame::writeRegister(1, 0x0500, uint16_t(i)), 0, {}), SendResult::Queued);
    QCOMPARE(m_link->send(requester::Generic, 32, Frame::writeRegister(1, 0x0500, 32), 0, {}), SendResult::RingFull);
    QCOMPARE(m_link->queuedCount(), 32);
    ticks(32 * 11 + 20);
    QCOMPARE(m_transport->written.size(), 32);
    for (int i = 0; i < 32; ++i)
        QCOMPARE(m_transport->written[i], Frame::withChecksum(Frame::writeRegister(1, 0x0500, uint16_t(i))).bytes());
}

void TestGatewayLink::timeoutAfterAnswerWait()
{
    RecordingRequester r;
    m_link->registerRequester(requester::StatusPoll, &r);
    m_link->send(requester::StatusPoll, 0x40, request(3), 1500, QStringLiteral("check "));
    m_link->send(requester::StatusPoll, 0x4A, request(1), 1500, {});
    ticks(150);
    QVERIFY(r.events.isEmpty());
    QVERIFY(m_link->isBusy());
    ticks(1);
    QCOMPARE(r.events, (QList<Event>{{QStringLiteral("timeout"), 0x40, {}}}));
    QVERIFY(!m_link->isBusy());
    QCOMPARE(m_transport->written.size(), 1);
    ticks(1);
    QCOMPARE(m_transport->written.size(), 2);
    // A requester with its own time-out handling writes its own log text.
    QCOMPARE(m_log.lines(), QStringList{QStringLiteral("check ")});
}

void TestGatewayLink::waitBelowOneTickIsNoAnswer()
{
    RecordingRequester r;
    m_link->registerRequester(requester::StatusPoll, &r);
    m_link->send(requester::StatusPoll, 1, request(1), 5, {});
    m_link->send(requester::StatusPoll, 2, request(2), 5, {});
    ticks(11);
    QCOMPARE(m_transport->written.size(), 1);
    ticks(1);
    QCOMPARE(m_transport->written.size(), 2);
    ticks(30);
    QVERIFY(r.events.isEmpty());
}

void TestGatewayLink::bursts_data()
{
    QTest::addColumn<int>("ticksBetween");
    QTest::addColumn<int>("answers");
    QTest::newRow("15 ms apart: one answer") << 1 << 1;
    QTest::newRow("25 ms apart: one answer") << 2 << 1;
    QTest::newRow("40 ms apart: two receptions") << 4 << 0;
}

void TestGatewayLink::bursts()
{
    QFETCH(int, ticksBetween);
    QFETCH(int, answers);
    RecordingRequester r;
    m_link->registerRequester(requester::GearList, &r);
    m_link->send(requester::GearList, 9, request(1), 1500, {});
    ticks(1);
    const QByteArray answer = answerTo(1);
    m_transport->deliver(answer.left(3));
    ticks(ticksBetween);
    m_transport->deliver(answer.mid(3));
    ticks(3);
    QCOMPARE(r.events.size(), answers);
    if (answers)
        QCOMPARE(r.events.first(), (Event{QStringLiteral("answer"), 9, answer}));
}

void TestGatewayLink::genericRequesterLogsResult_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("line");
    QTest::newRow("normal answer") << answerTo(1) << QStringLiteral("M1A5 OFF ... OK.\r\n");
    QTest::newRow("01 C3 02: exception 2")
        << Frame::exceptionAnswer(1, protocol::function::ReadRegisters, 2)
        << QStringLiteral("M1A5 OFF ... Failure,Abnormal number=2.\r\n");
    QTest::newRow("no answer") << QByteArray() << QStringLiteral("M1A5 OFF ... Time-out.\r\n");
    QTest::newRow("damaged answer") << QByteArray::fromHex("0143020001FFFF") << QStringLiteral("M1A5 OFF ... Time-out.\r\n");
}

void TestGatewayLink::genericRequesterLogsResult()
{
    QFETCH(QByteArray, answer);
    QFETCH(QString, line);
    m_link->send(requester::Generic, 0x8039, request(1), 1500, QStringLiteral("M1A5 OFF ... "));
    ticks(1);
    QCOMPARE(m_log.lines(), QStringList{QStringLiteral("M1A5 OFF ... ")});
    if (!answer.isEmpty())
        m_transport->deliver(answer);
    ticks(152);
    QCOMPARE(m_log.lines(), QStringList{line});
    QCOMPARE(m_link->isBusy(), false);
}

void TestGatewayLink::routing_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("registered");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<QStringList>("answerLog");
    QTest::addColumn<QStringList>("timeoutLog");
    QTest::addColumn<int>("events");
    const QString d = QStringLiteral("req ");
    QTest::newRow("registered gear list") << requester::GearList << true << true << QStringList{d} << QStringList{d} << 1;
    QTest::newRow("closed gear list: dropped") << requester::GearList << false << true << QStringList{d} << QStringList{d} << 0;
    QTest::newRow("page without own time-out") << requester::SlaveScenePage << true << true
                                               << QStringList{d} << QStringList{d + QStringLiteral("Time-out.\r\n")} << 1;
    QTest::newRow("page not created: dropped") << requester::SlaveScenePage << false << true << QStringList{d} << QStringList{d} << 0;
    QTest::newRow("id outside the table: generic") << 999 << false << true
                                                   << QStringList{d + QStringLiteral("OK.\r\n")}
                                                   << QStringList{d + QStringLiteral("Time-out.\r\n")} << 0;
}

void TestGatewayLink::routing()
{
    QFETCH(int, id);
    QFETCH(bool, registered);
    QFETCH(QStringList, answerLog);
    QFETCH(QStringList, timeoutLog);
    QFETCH(int, events);
    for (bool answered : {true, false}) {
        m_log.clear();
        RecordingRequester r;
        if (registered)
            m_link->registerRequester(id, &r);
        m_link->send(id, 5, request(1), 1500, QStringLiteral("req "));
        ticks(1);
        if (answered)
            m_transport->deliver(answerTo(1));
        ticks(152);
        QCOMPARE(m_log.lines(), answered ? answerLog : timeoutLog);
        // Requesters without their own time-out handling hear only of answers.
        const bool ownTimeout = requester::info(id) && requester::info(id)->ownTimeout;
        QCOMPARE(r.events.size(), answered || ownTimeout ? events : 0);
        m_link->unregisterRequester(id);
    }
}

void TestGatewayLink::lateAnswerGoesToGeneric()
{
    RecordingRequester r;
    m_link->registerRequester(requester::StatusPoll, &r);
    m_link->send(requester::StatusPoll, 1, request(1), 500, QStringLiteral("poll "));
    ticks(60);
    QCOMPARE(r.events.size(), 1);
    m_transport->deliver(answerTo(1));
    ticks(3);
    QCOMPARE(r.events.size(), 1);
    // Routed to requester 0, handled like the generic one: its result joins the open line.
    QCOMPARE(m_log.lines(), QStringList{QStringLiteral("poll OK.\r\n")});
}

void TestGatewayLink::oversizedReceptionIsDropped()
{
    RecordingRequester r;
    m_link->registerRequester(requester::GearList, &r);
    m_link->send(requester::GearList, 1, request(1), 1500, {});
    ticks(1);
    m_transport->deliver(QByteArray(300, '\x01'));
    ticks(3);
    QVERIFY(r.events.isEmpty());
    QVERIFY(m_transport->discards > 0);
    // The next reception starts afresh and is taken.
    m_transport->deliver(answerTo(1));
    ticks(3);
    QCOMPARE(r.events.size(), 1);
}

void TestGatewayLink::openAndCloseClearEverything()
{
    RecordingRequester r;
    m_link->registerRequester(requester::GearList, &r);
    for (int i = 0; i < 3; ++i)
        m_link->send(requester::GearList, i, request(1), 1500, {});
    ticks(1);
    m_transport->deliver(answerTo(1).left(4));
    m_link->close();
    QCOMPARE(m_link->queuedCount(), 0);
    QVERIFY(!m_link->isBusy());
    QVERIFY(m_link->open());
    ticks(200);
    QVERIFY(r.events.isEmpty());
    QCOMPARE(m_transport->written.size(), 1);
}

void TestGatewayLink::descriptionIsCut()
{
    m_link->send(requester::Generic, 1, request(1), 0, QString(150, QLatin1Char('d')));
    ticks(1);
    QCOMPARE(m_log.pending().size() + m_log.lines().value(0).size(), 99);
}

void TestGatewayLink::ticksNeededOnlyWhileBusy()
{
    QList<bool> changes;
    connect(m_link, &GatewayLink::tickingNeeded, this, [&changes](bool needed) { changes.append(needed); });
    QVERIFY(m_link->isIdle());
    m_link->send(requester::Generic, 1, request(1), 0, {});
    QCOMPARE(changes, QList<bool>{true});
    // Sent, then the 100 ms gap after a frame without answer; idle after that.
    ticks(10);
    QCOMPARE(changes, QList<bool>{true});
    ticks(1);
    QCOMPARE(changes, (QList<bool>{true, false}));
    // An answer nobody waits for still has to be collected.
    m_transport->deliver(answerTo(1));
    QCOMPARE(changes, (QList<bool>{true, false, true}));
    ticks(3);
    QCOMPARE(changes, (QList<bool>{true, false, true, false}));
}

QTEST_GUILESS_MAIN(TestGatewayLink)
#include "tst_gatewaylink.moc"
