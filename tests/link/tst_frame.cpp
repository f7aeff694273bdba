#include "frame.h"

#include <QTest>

using namespace lumaro;

class TestFrame : public QObject
{
    Q_OBJECT
private slots:
    void checksum_data();
    void checksum();
    void check_data();
    void check();
    void builders();
    void answerRegisters();
};

void TestFrame::checksum_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("01 43 50 F8 00 02") << QByteArray::fromHex("014350F80002") << QByteArray::fromHex("014350F800024FB1");
    QTest::newRow("01 43 05 4A 00 02") << QByteArray::fromHex("0143054A0002") << QByteArray::fromHex("0143054A0002624D");
    QTest::newRow("abc") << QByteArray("abc") << QByteArray::fromHex("616263B837");
    QTest::newRow("empty") << QByteArray() << QByteArray::fromHex("6813");
}

void TestFrame::checksum()
{
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, line);
    QCOMPARE(Frame::withChecksum(payload).bytes().toHex(' '), line.toHex(' '));
}

static QByteArray framed(const char *hex)
{
    return Frame::withChecksum(QByteArray::fromHex(hex)).bytes();
}

void TestFrame::check_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<FrameError>("error");
    QTest::newRow("01 C3 02 + checksum: exception, valid") << framed("01C302") << FrameError::None;
    QTest::newRow("01 43 + checksum: 4 bytes") << framed("0143") << FrameError::TooShort;
    QTest::newRow("01 43 04 ... damaged checksum")
        << QByteArray::fromHex("0143040001000200FFFF") << FrameError::BadChecksum;
    QTest::newRow("125 data bytes: 127 on the line") << framed(QByteArray(125, 'A').toHex()) << FrameError::None;
    QTest::newRow("126 data bytes: 128 on the line") << framed(QByteArray(126, 'A').toHex()) << FrameError::TooLong;
}

void TestFrame::check()
{
    QFETCH(QByteArray, bytes);
    QFETCH(FrameError, error);
    QCOMPARE(Frame::check(bytes), error);
    QCOMPARE(Frame::parse(bytes).isValid(), error == FrameError::None);
}

void TestFrame::builders()
{
    QCOMPARE(Frame::readRegisters(1, protocol::reg::ModelVersion, 2).toHex(' '), QByteArray("01 43 50 f8 00 02"));
    QCOMPARE(Frame::writeRegister(2, protocol::reg::make(protocol::target::group(5), protocol::item::DaliCommand), 0x17).toHex(' '),
             QByteArray("02 46 45 00 00 17"));
    QCOMPARE(Frame::writeRegisters(3, 0x4FE6, QByteArray::fromHex("0018")).toHex(' '), QByteArray("03 50 4f e6 00 01 02 00 18"));

    const Frame e = Frame::parse(Frame::exceptionAnswer(1, protocol::function::ReadRegisters, 2));
    QVERIFY(e.isException());
    QCOMPARE(e.exceptionCode(), uint8_t(2));
    QCOMPARE(e.function(), uint8_t(0xC3));
}

void TestFrame::answerRegisters()
{
    const Frame f = Frame::parse(framed("0143040024007F"));
    QCOMPARE(f.answerRegister(0), std::optional<uint16_t>(0x0024));
    QCOMPARE(f.answerRegister(1), std::optional<uint16_t>(0x007F));
    QCOMPARE(f.answerRegister(2), std::nullopt);
}

QTEST_GUILESS_MAIN(TestFrame)
#include "tst_frame.moc"
