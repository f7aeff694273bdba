// The automatic search of the port setting dialog through the real serial code: two gateway-sim
// pseudo-terminals, the first without gateway 1, the second with the demo installation. The
// dialog's own timers and a 10 ms link timer drive it, as in the program.
#include "cportsetting.h"
#include "gatewaylink.h"
#include "portlist.h"
#include "portsetting.h"
#include "projectdata.h"
#include "projectstore.h"
#include "recordinglog.h"
#include "scriptedprompter.h"
#include "serialline.h"

#include <QComboBox>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace lumaro;

namespace {
constexpr int kWaitMs = 20000;
constexpr int kAnswerWaitMs = 500;
}  // namespace

class TestPortSearch : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void findsGatewayOneOnTheSecondLine();

private:
    void startSim(QProcess &sim, const QStringList &arguments, QString *device);
    static void stopSim(QProcess &sim);

    QTemporaryDir m_dir;
    QProcess m_withoutGatewayOne;
    QProcess m_demo;
    QString m_first;
    QString m_second;
};

void TestPortSearch::startSim(QProcess &sim, const QStringList &arguments, QString *device)
{
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(QStringLiteral(GATEWAY_SIM_PATH), arguments);
    QVERIFY2(sim.waitForStarted(kWaitMs), qPrintable(sim.errorString()));
    QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine(), kWaitMs);
    *device = QString::fromLocal8Bit(sim.readLine()).trimmed();
    QVERIFY2(device->startsWith(QLatin1String("/dev/")), qPrintable(*device));
}

void TestPortSearch::stopSim(QProcess &sim)
{
    if (sim.state() == QProcess::NotRunning)
        return;
    sim.terminate();
    if (!sim.waitForFinished(kWaitMs))
        sim.kill();
}

void TestPortSearch::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString installation = m_dir.filePath(QStringLiteral("gateway2.ini"));
    QFile file(installation);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("; one gateway at address 2, none at address 1\n[M2]\nMODEL=80\nVER=16\n[M2A0]\nTYPE=06\n");
    file.close();
    startSim(m_withoutGatewayOne, {QStringLiteral("--installation"), installation}, &m_first);
    startSim(m_demo, {}, &m_second);
}

void TestPortSearch::cleanupTestCase()
{
    stopSim(m_withoutGatewayOne);
    stopSim(m_demo);
}

void TestPortSearch::findsGatewayOneOnTheSecondLine()
{
    QTemporaryDir project;
    ProjectStore store(project.path());
    QVERIFY(store.load());
    RecordingLog log;
    ScriptedPrompter prompter;
    ProjectData data;
    GatewayLink link(log, prompter);
    const PortList ports({}, {m_first, m_second});
    SerialLine line(link, store, data, log, prompter, ports, SerialLine::serialPortFactory());

    // The main window's link tick runs while the line is open.
    QTimer linkTimer;
    linkTimer.setInterval(GatewayLink::kTickMs);
    connect(&linkTimer, &QTimer::timeout, &link, &GatewayLink::tick);
    connect(&line, &SerialLine::opened, &linkTimer, qOverload<>(&QTimer::start));
    connect(&line, &SerialLine::closed, &linkTimer, &QTimer::stop);

    PortSetting::Session session;
    session.dialogShown = true;   // not the first opening: no ten-second countdown
    CPortSetting dialog(PortSetting::Context{line, link, store, log, prompter, session, kAnswerWaitMs});
    QSignalSpy found(&dialog.logic(), &PortSetting::gatewayOneFound);
    dialog.show();

    auto *portList = dialog.findChild<QComboBox *>(QStringLiteral("port"));
    QVERIFY(portList);
    QCOMPARE(portList->currentText(), QStringLiteral("AUTO/USB"));
    auto *open = dialog.findChild<QPushButton *>(QStringLiteral("openPort"));
    QVERIFY(open);
    QCOMPARE(open->text(), QStringLiteral("Open Port"));
    QTest::mouseClick(open, Qt::LeftButton);

    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), kWaitMs);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(found.count(), 1);
    const QString read = QStringLiteral("Read M1 gatewayunit data ...  ");
    QCOMPARE(log.lines(), (QStringList{
        m_first + QStringLiteral(",9600,N,8,2 Open  success.\r\n"),
        read + m_first + QStringLiteral(" close success.\r\n"),
        m_second + QStringLiteral(",9600,N,8,2 Open  success.\r\n"),
        read + QStringLiteral("Success.\r\n"),
    }));
    QVERIFY(prompter.shown().isEmpty());
    QVERIFY(data.bus.connected);
    QCOMPARE(line.device(), m_second);

    const ProjectStore disk(project.path());
    QCOMPARE(disk.read(ProjectFile::Db, QStringLiteral("M1"), QStringLiteral("NAME")), QStringLiteral("GatewayUnit1"));
    QCOMPARE(disk.read(ProjectFile::Db, QStringLiteral("M1"), QStringLiteral("MODEL")), QStringLiteral("80"));
    QCOMPARE(disk.read(ProjectFile::Db, QStringLiteral("M1"), QStringLiteral("VER")), QStringLiteral("16"));
    line.closeLine();
}

QTEST_MAIN(TestPortSearch)
#include "tst_portsearch.moc"
