// gateway-sim end to end: started as a process, spoken to through its pseudo-terminal with
// QSerialPort, ended with SIGTERM. Every wait is for an event, with a generous limit.

#include "frame.h"

#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

using lumaro::Frame;
using lumaro::FrameError;

namespace {
constexpr int kWaitMs = 10000;

QByteArray frame(const char *hex)
{
    return Frame::withChecksum(QByteArray::fromHex(hex)).bytes();
}
}  // namespace

class TestGatewaySim : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void answersModelAndVersion();
    void wrongChecksumAndAllGatewaysGetNoAnswer();
    void absentGearGetsAnException();
    void portCanBeClosedAndReopened();
    void endsCleanlyOnSigterm();
    void cleanupTestCase();

private:
    bool openPort();
    // Sends one request and waits for `size` answer bytes; returns what arrived by then.
    QByteArray exchange(const QByteArray &request, int size);

    QTemporaryDir m_dir;
    QString m_link;
    QString m_device;
    QProcess m_sim;
    QSerialPort m_port;
    QByteArray m_received;
};

void TestGatewaySim::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_link = m_dir.filePath(QStringLiteral("line"));
    m_sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_sim.start(QStringLiteral(GATEWAY_SIM_PATH), {QStringLiteral("--link"), m_link, QStringLiteral("--seed"),
                                                   QStringLiteral("1")});
    QVERIFY2(m_sim.waitForStarted(kWaitMs), qPrintable(m_sim.errorString()));
    QTRY_VERIFY_WITH_TIMEOUT(m_sim.canReadLine(), kWaitMs);
    m_device = QString::fromLocal8Bit(m_sim.readLine()).trimmed();
    QVERIFY2(m_device.startsWith(QLatin1String("/dev/")), qPrintable(m_device));
    QCOMPARE(QFileInfo(m_link).symLinkTarget(), m_device);

    connect(&m_port, &QSerialPort::readyRead, this, [this] { m_received += m_port.readAll(); });
    QVERIFY(openPort());
}

bool TestGatewaySim::openPort()
{
    m_port.setPortName(m_device);
    if (!m_port.open(QIODevice::ReadWrite))
        return false;
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setStopBits(QSerialPort::TwoStop);
    return true;
}

QByteArray TestGatewaySim::exchange(const QByteArray &request, int size)
{
    m_received.clear();
    m_port.write(request);
    if (!QTest::qWaitFor([&] { return m_received.size() >= size; }, kWaitMs))
        qWarning("no complete answer to %s", request.toHex(' ').constData());
    return m_received;
}

void TestGatewaySim::answersModelAndVersion()
{
    const QByteArray request = QByteArray::fromHex("014350f800024fb1");
    QCOMPARE(request, frame("014350f80002"));
    const QByteArray answer = exchange(request, 9);
    QCOMPARE(answer.size(), 9);
    QCOMPARE(Frame::check(answer), FrameError::None);
    // The demo's gateway 1: model 0x80, version 16.
    QCOMPARE(answer, frame("0143040080" "0010"));
}

void TestGatewaySim::wrongChecksumAndAllGatewaysGetNoAnswer()
{
    // Answers come in order, so a request that is answered right after one that is not shows
    // that nothing answered the first.
    const QByteArray version = frame("014350fa0001");
    const QByteArray badChecksum = QByteArray::fromHex("014350f800024fb0");
    QCOMPARE(exchange(badChecksum + version, 7), frame("0143020010"));

    // All gateways: OFF to all gear, carried out without an answer; then M1A0 reads level 0.
    const QByteArray allOff = frame("004650000000");
    const QByteArray status = frame("0143004a0002");
    const QByteArray answer = exchange(allOff + status, 9);
    QCOMPARE(answer.size(), 9);
    QCOMPARE(Frame::check(answer), FrameError::None);
    QCOMPARE(int(uint8_t(answer[1])), 0x43);
    QCOMPARE(int(uint8_t(answer[6])), 0);
}

void TestGatewaySim::absentGearGetsAnException()
{
    // M1A63 is not on the demo bus.
    const QByteArray answer = exchange(frame("01433f4a0002"), 5);
    QCOMPARE(answer, frame("01c304"));
    QVERIFY(Frame::parse(answer).isException());
}

void TestGatewaySim::portCanBeClosedAndReopened()
{
    m_port.close();
    QVERIFY(openPort());
    QCOMPARE(exchange(frame("014350fa0001"), 7), frame("0143020010"));
}

void TestGatewaySim::endsCleanlyOnSigterm()
{
    m_port.close();
    m_sim.terminate();
    QTRY_COMPARE_WITH_TIMEOUT(m_sim.state(), QProcess::NotRunning, kWaitMs);
    QCOMPARE(m_sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_sim.exitCode(), 0);
    QVERIFY(!QFileInfo(m_link).isSymLink());
}

void TestGatewaySim::cleanupTestCase()
{
    if (m_sim.state() != QProcess::NotRunning) {
        m_sim.kill();
        m_sim.waitForFinished(kWaitMs);
    }
}

QTEST_GUILESS_MAIN(TestGatewaySim)
#include "tst_gatewaysim.moc"
