// The plain logic of gateway-sim: cutting the byte stream into requests, and the answer timing.

#include "frame.h"
#include "linetiming.h"
#include "requestassembler.h"

#include <QTest>

using lumaro::Frame;
using namespace lumaro::sim;

namespace {
constexpr int kGapMs = 10;

QByteArray frame(const char *hex)
{
    return Frame::withChecksum(QByteArray::fromHex(hex)).bytes();
}

// One arrival: bytes (hex) at a time in ms.
struct Chunk {
    QByteArray bytes;
    qint64 at;
};
}  // namespace

Q_DECLARE_METATYPE(QList<Chunk>)

class TestSimServing : public QObject
{
    Q_OBJECT
private slots:
    void assembler_data();
    void assembler();
    void overlongGarbageIsDropped();
    void lineTiming_data();
    void lineTiming();
};

void TestSimServing::assembler_data()
{
    QTest::addColumn<QList<Chunk>>("chunks");
    QTest::addColumn<QList<QByteArray>>("requests");
    QTest::addColumn<int>("dropped");

    const QByteArray read = frame("014350f80002");
    const QByteArray write = frame("014605000005");
    const QByteArray several = frame("0150050c00020400640065");
    const QByteArray upgrade = frame("017001020304");

    QTest::newRow("0x43 in one piece") << QList<Chunk>{{read, 0}} << QList<QByteArray>{read} << 0;
    QTest::newRow("0x43 then 0x46 in one piece") << QList<Chunk>{{read + write, 0}}
                                                 << QList<QByteArray>{read, write} << 0;
    QTest::newRow("0x43 in two pieces within the gap")
        << QList<Chunk>{{read.left(3), 0}, {read.mid(3), kGapMs - 1}} << QList<QByteArray>{read} << 0;
    QTest::newRow("0x50 by its byte count") << QList<Chunk>{{several.left(7), 0}, {several.mid(7) + read, 1}}
                                            << QList<QByteArray>{several, read} << 0;
    QTest::newRow("a pause longer than the gap drops the first piece")
        << QList<Chunk>{{read.left(3), 0}, {read, kGapMs}} << QList<QByteArray>{read} << 3;
    // Bytes of no known function are handed on at the gap; the line refuses them.
    QTest::newRow("garbage, a gap, then a request")
        << QList<Chunk>{{QByteArray::fromHex("ff0143"), 0}, {read, 50}}
        << QList<QByteArray>{QByteArray::fromHex("ff0143"), read} << 0;
    QTest::newRow("unknown length ends with the gap") << QList<Chunk>{{upgrade, 0}, {read, 20}}
                                                      << QList<QByteArray>{upgrade, read} << 0;
}

void TestSimServing::assembler()
{
    QFETCH(QList<Chunk>, chunks);
    QFETCH(QList<QByteArray>, requests);
    QFETCH(int, dropped);

    RequestAssembler assembler(kGapMs);
    QList<QByteArray> got;
    for (const Chunk &c : chunks)
        got += assembler.feed(c.bytes, c.at);
    got += assembler.idle(chunks.last().at + kGapMs);
    QCOMPARE(got, requests);
    QVERIFY(!assembler.hasPartial());
    QCOMPARE(int(assembler.droppedBytes()), dropped);
}

void TestSimServing::overlongGarbageIsDropped()
{
    RequestAssembler assembler(kGapMs);
    QVERIFY(assembler.feed(QByteArray(200, '\x05'), 0).isEmpty());
    QVERIFY(!assembler.hasPartial());
    QCOMPARE(int(assembler.droppedBytes()), 200);
    // Before the gap nothing is decided about a request of unknown length.
    const QByteArray upgrade = frame("017001020304");
    QVERIFY(assembler.feed(upgrade, 100).isEmpty());
    QVERIFY(assembler.idle(100 + kGapMs - 1).isEmpty());
    QCOMPARE(assembler.idle(100 + kGapMs), QList<QByteArray>{upgrade});
}

void TestSimServing::lineTiming_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<char>("parity");
    QTest::addColumn<int>("stopBits");
    QTest::addColumn<int>("nineBytesMs");
    QTest::addColumn<int>("gapMs");

    // 9 bytes of 11 bits at 9600 baud: 10.3 ms
    QTest::newRow("9600 N 2") << 9600 << 'N' << 2 << 11 << 10;
    QTest::newRow("9600 E 1") << 9600 << 'E' << 1 << 11 << 10;
    // 9 bytes of 10 bits at 19200 baud: 4.7 ms
    QTest::newRow("19200 N 1") << 19200 << 'N' << 1 << 5 << 10;
    // 9 bytes of 12 bits at 1200 baud: 90 ms; 4 characters 40 ms
    QTest::newRow("1200 O 2") << 1200 << 'O' << 2 << 90 << 40;
}

void TestSimServing::lineTiming()
{
    QFETCH(int, baud);
    QFETCH(char, parity);
    QFETCH(int, stopBits);
    QFETCH(int, nineBytesMs);
    QFETCH(int, gapMs);

    const LineTiming s{baud, parity, stopBits};
    QCOMPARE(s.bytesMs(9), nineBytesMs);
    QCOMPARE(s.silenceGapMs(), gapMs);
    // request, processing, two DALI frames, extra delay, answer
    QCOMPARE(s.answerDelayMs(8, 9, 2, 100),
             s.bytesMs(8) + LineTiming::kGatewayProcessingMs + 2 * LineTiming::kDaliFrameMs + 100 + nineBytesMs);
}

QTEST_GUILESS_MAIN(TestSimServing)
#include "tst_simserving.moc"
