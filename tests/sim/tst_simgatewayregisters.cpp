// The gateway's own registers on the simulated line: network parameters, reboot, the clock that
// runs on, the timing switch and the timing state, as Lumaro's gateway list reads and writes them.

#include "frame.h"
#include "protocol.h"
#include "simline.h"

#include <QTest>

using lumaro::Frame;
using namespace lumaro::sim;
namespace reg = lumaro::protocol::reg;
namespace ex = lumaro::protocol::exception;

namespace {

QByteArray frame(const char *hex)
{
    return Frame::withChecksum(QByteArray::fromHex(hex)).bytes();
}

// The answer without its checksum, as hex.
QByteArray answerHex(SimLine &line, const char *requestHex)
{
    const QByteArray a = line.handleRequest(frame(requestHex));
    return a.isEmpty() ? QByteArray() : a.first(a.size() - 2).toHex();
}

SimLine oneGateway()
{
    SimLine line;
    line.addGateway(SimGateway(1));
    return line;
}

}  // namespace

class TestSimGatewayRegisters : public QObject
{
    Q_OBJECT
private slots:
    void networkParameters();
    void rebootSilencesForAWhile();
    void clock_data();
    void clock();
    void clockRunsOn();
    void timingSwitch_data();
    void timingSwitch();
};

void TestSimGatewayRegisters::networkParameters()
{
    SimLine line = oneGateway();
    QCOMPARE(answerHex(line, "014350CA000A"), QByteArray("014314c0a80164c0a80101ffffff0001f6001a2b3c4d01"));
    // The ten registers are one block; reading past it is refused.
    QCOMPARE(answerHex(line, "014350DC0002"), QByteArray("01c302"));
    QCOMPARE(answerHex(line, "014350FE0001"), QByteArray("0143020000"));
}

void TestSimGatewayRegisters::rebootSilencesForAWhile()
{
    SimLine line = oneGateway();
    line.gateway(1)->setStatusFlags(0x24);
    QCOMPARE(answerHex(line, "014650E60002"), QByteArray("01c603"));
    QCOMPARE(answerHex(line, "014650E60001"), QByteArray("014650e60001"));
    QVERIFY(line.gateway(1)->isRebooting());
    QCOMPARE(answerHex(line, "014350FE0001"), QByteArray());
    line.advance(SimGateway::kRebootMs - 10);
    QCOMPARE(answerHex(line, "014350FE0001"), QByteArray());
    line.advance(10);
    // Back with its flags as they were.
    QCOMPARE(answerHex(line, "014350FE0001"), QByteArray("0143020024"));
}

void TestSimGatewayRegisters::clock_data()
{
    QTest::addColumn<QByteArray>("write");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QByteArray>("read");
    QTest::newRow("Tuesday 2024-03-05 14:07:09") << QByteArray("01504FE600040800180305 0E070902")
                                                 << QByteArray("01504fe60004") << QByteArray("0143080018030 50e070902");
    QTest::newRow("31 February refused") << QByteArray("01504FE60004080018021F0E070902")
                                         << QByteArray("01d003") << QByteArray("01430800180101 00000001");
    QTest::newRow("hour 24 refused") << QByteArray("01504FE6000408001803051800000 2")
                                     << QByteArray("01d003") << QByteArray("01430800180101 00000001");
}

void TestSimGatewayRegisters::clock()
{
    QFETCH(QByteArray, write);
    QFETCH(QByteArray, answer);
    QFETCH(QByteArray, read);
    SimLine line = oneGateway();
    QCOMPARE(answerHex(line, write.constData()), answer);
    QCOMPARE(answerHex(line, "01434FE60004"), QByteArray::fromHex(read).toHex());
}

void TestSimGatewayRegisters::clockRunsOn()
{
    SimLine line = oneGateway();
    // 2024-12-31 23:59:58 told as a Saturday (6), in truth a Tuesday: the gateway counts on from
    // what it is told, Sunday being 0.
    QCOMPARE(answerHex(line, "01504FE60004080018 0C1F173B3A06"), QByteArray("01504fe60004"));
    line.advance(999);
    QCOMPARE(answerHex(line, "01434FE60004"), QByteArray("01430800180c1f173b3a06"));
    line.advance(2001);
    QCOMPARE(answerHex(line, "01434FE60004"), QByteArray("0143080019010100000100"));
    line.advance(86400 * 1000);
    QCOMPARE(answerHex(line, "01434FE60004"), QByteArray("0143080019010200000101"));
}

void TestSimGatewayRegisters::timingSwitch_data()
{
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("refused");
    QTest::newRow("timing on") << QList<int>{1} << 0x01 << false;
    QTest::newRow("sequences 1 and 4 on, then timing off") << QList<int>{1, 11, 41, 0} << 0x12 << false;
    QTest::newRow("sequence 2 on and off again") << QList<int>{21, 20} << 0x00 << false;
    QTest::newRow("2 means nothing") << QList<int>{2} << 0x00 << true;
    QTest::newRow("sequence 5 does not exist") << QList<int>{51} << 0x00 << true;
    QTest::newRow("12 means nothing") << QList<int>{12} << 0x00 << true;
}

void TestSimGatewayRegisters::timingSwitch()
{
    QFETCH(QList<int>, values);
    QFETCH(int, state);
    QFETCH(bool, refused);
    SimLine line = oneGateway();
    bool anyRefused = false;
    for (const int v : values) {
        const QByteArray a = line.handleRequest(Frame::withChecksum(Frame::writeRegister(1, reg::TimingSwitch, uint16_t(v))).bytes());
        anyRefused |= Frame::parse(a).isException();
    }
    QCOMPARE(anyRefused, refused);
    QCOMPARE(answerHex(line, "01434EF80001"), QByteArray("01430200") + QByteArray::number(state, 16).rightJustified(2, '0'));
    // The switch itself cannot be read.
    QCOMPARE(answerHex(line, "01434EF60001"), QByteArray("01c302"));
}

QTEST_GUILESS_MAIN(TestSimGatewayRegisters)
#include "tst_simgatewayregisters.moc"
