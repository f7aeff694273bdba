// The gateway link over the real serial code (QSerialPort) against gateway-sim on a
// pseudo-terminal, ticked by a real 10 ms timer as in the program.
#include "clock.h"
#include "frame.h"
#include "gatewaylink.h"
#include "logbook.h"
#include "requester.h"
#include "requesterid.h"
#include "scriptedprompter.h"
#include "serialtransport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace lumaro;
namespace p = lumaro::protocol;

namespace {
struct Answer {
    int tag;
    QByteArray bytes;
};

class Collector final : public Requester
{
public:
    void onAnswer(int tag, const Frame &f) override { answers.append({tag, f.bytes()}); }
    void onTimeout(int tag) override { timeouts.append(tag); }
    QList<Answer> answers;
    QList<int> timeouts;
};
}  // namespace

class TestLinkSerial : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void exchangesOverThePort();

private:
    QProcess m_sim;
    QString m_device;
};

void TestLinkSerial::initTestCase()
{
    m_sim.setProgram(QStringLiteral(GATEWAY_SIM_PATH));
    m_sim.start();
    QVERIFY2(m_sim.waitForStarted(10000), qPrintable(m_sim.errorString()));
    QTRY_VERIFY_WITH_TIMEOUT(m_sim.canReadLine(), 10000);
    m_device = QString::fromUtf8(m_sim.readLine()).trimmed();
    QVERIFY(m_device.startsWith(QLatin1String("/dev/")));
}

void TestLinkSerial::cleanupTestCase()
{
    m_sim.terminate();
    QVERIFY(m_sim.waitForFinished(10000));
    QCOMPARE(m_sim.exitStatus(), QProcess::NormalExit);
}

void TestLinkSerial::exchangesOverThePort()
{
    QTemporaryDir dir;
    SystemClock clock;
    LogBook log(dir.path(), clock);
    ScriptedPrompter prompter;
    SerialTransport port;
    port.setPortName(m_device);
    GatewayLink link(log, prompter);
    link.setTransport(&port);
    QVERIFY2(link.open(), qPrintable(port.errorString()));

    Collector portSetting;
    link.registerRequester(requester::PortSetting, &portSetting);
    QTimer tick;
    connect(&tick, &QTimer::timeout, &link, &GatewayLink::tick);
    tick.start(GatewayLink::kTickMs);

    // Model and version of gateway 1, then a gateway that is not on the line, then a gear that
    // is not on gateway 1's bus, then a command to every gateway, which nobody answers.
    link.send(requester::PortSetting, 1, Frame::readRegisters(1, p::reg::ModelVersion, 2), 1000, {});
    link.send(requester::PortSetting, 2, Frame::readRegisters(15, p::reg::ModelVersion, 2), 1000, {});
    link.send(requester::PortSetting, 3,
              Frame::readRegisters(1, p::reg::make(63, p::item::Presence), 1), 1000, {});
    link.send(requester::Generic, 4, Frame::writeRegister(0, p::reg::make(p::target::Broadcast, p::item::DaliCommand), 0),
              1000, QStringLiteral("AllDevice OFF ... "));
    link.send(requester::Generic, 5, Frame::readRegisters(1, p::reg::Version, 1), 1000, QStringLiteral("M1 version ... "));

    QTRY_VERIFY_WITH_TIMEOUT(portSetting.answers.size() == 2 && portSetting.timeouts.size() == 1, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(!log.entries().isEmpty() && log.entries().last().endsWith(QLatin1String("\r\n")), 20000);

    const Frame model = Frame::parse(portSetting.answers[0].bytes);
    QCOMPARE(portSetting.answers[0].tag, 1);
    QCOMPARE(model.function(), p::function::ReadRegisters);
    QVERIFY(model.answerRegister(1).has_value());
    QCOMPARE(portSetting.timeouts, QList<int>{2});
    QCOMPARE(portSetting.answers[1].tag, 3);
    QVERIFY(Frame::parse(portSetting.answers[1].bytes).isException());
    QVERIFY2(log.entries().last().endsWith(QLatin1String("M1 version ... OK.\r\n")), qPrintable(log.entries().join(QString())));
    link.close();
}

QTEST_GUILESS_MAIN(TestLinkSerial)
#include "tst_link_serial.moc"
