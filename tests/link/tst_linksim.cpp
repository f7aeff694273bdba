// The link against the simulated line in-process, with the log book: what the user sees in the
// log pane for the typical exchanges, and what the gear did.
#include "clock.h"
#include "dalicommand.h"
#include "frame.h"
#include "gatewaylink.h"
#include "inprocesstransport.h"
#include "installation.h"
#include "logbook.h"
#include "requesterid.h"
#include "scriptedprompter.h"
#include "simline.h"

#include <QTemporaryDir>
#include <QTest>

using namespace lumaro;
namespace p = lumaro::protocol;

class TestLinkSim : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void logLines_data();
    void logLines();
    void commandToAllGateways();

private:
    void ticks(int n) { for (int i = 0; i < n; ++i) m_link->tick(); }

    QTemporaryDir m_dir;
    FixedClock m_clock{QDateTime(QDate(2024, 5, 17), QTime(8, 9, 10))};
    ScriptedPrompter m_prompter;
    std::unique_ptr<sim::SimLine> m_line;
    std::unique_ptr<InProcessTransport> m_transport;
    std::unique_ptr<LogBook> m_log;
    std::unique_ptr<GatewayLink> m_link;
};

void TestLinkSim::init()
{
    m_line = std::make_unique<sim::SimLine>(sim::Installation::demo());
    m_transport = std::make_unique<InProcessTransport>(*m_line, 3);
    m_log = std::make_unique<LogBook>(m_dir.path(), m_clock);
    m_link = std::make_unique<GatewayLink>(*m_log, m_prompter);
    m_link->setTransport(m_transport.get());
    QVERIFY(m_link->open());
}

void TestLinkSim::cleanup()
{
    m_link.reset();
    m_log.reset();
    m_transport.reset();
    m_line.reset();
}

void TestLinkSim::logLines_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("result");
    QTest::newRow("03 46 05 00 00 05: recall max level of M3A5")
        << Frame::writeRegister(3, p::reg::make(5, p::item::DaliCommand), dali::cmd::RecallMaxLevel)
        << QStringLiteral("M3A5 Recall max level ... ") << QStringLiteral("OK.\r\n");
    QTest::newRow("02 43 07 40 00 01: gear missing on the bus")
        << Frame::readRegisters(2, p::reg::make(7, p::item::Presence), 1)
        << QStringLiteral("M2A7 Check gear ... ") << QStringLiteral("Failure,Abnormal number=%1.\r\n").arg(p::exception::GearNoAnswer);
    QTest::newRow("09 43 50 F8 00 02: no gateway 9 on the line")
        << Frame::readRegisters(9, p::reg::ModelVersion, 2)
        << QStringLiteral("M9 read ... ") << QStringLiteral("Time-out.\r\n");
}

void TestLinkSim::logLines()
{
    QFETCH(QByteArray, request);
    QFETCH(QString, description);
    QFETCH(QString, result);
    QCOMPARE(m_link->send(requester::Generic, 0x8039, request, 1500, description), GatewayLink::SendResult::Queued);
    ticks(160);
    QCOMPARE(m_transport->written(), QList<QByteArray>{Frame::withChecksum(request).bytes()});
    QCOMPARE(m_log->entries(), QStringList{QStringLiteral("2024-05-17  08:09:10  >") + description + result});
    QVERIFY(!m_link->isBusy());
}

void TestLinkSim::commandToAllGateways()
{
    m_link->send(requester::Generic, 0x8039,
                 Frame::writeRegister(p::kAllGateways, p::reg::make(p::target::Broadcast, p::item::DaliCommand), dali::cmd::Off),
                 1500, QStringLiteral("AllDevice OFF ... "));
    m_link->send(requester::Generic, 0x8039, Frame::readRegisters(1, p::reg::Version, 1), 1500, QStringLiteral("M1 ... "));
    ticks(11);
    QCOMPARE(m_transport->written().size(), 1);
    ticks(10);
    QCOMPARE(m_transport->written().size(), 2);
    for (int g : m_line->gatewayAddresses())
        for (int a = 0; a < p::target::GearCount; ++a)
            if (const sim::SimGear *gear = m_line->gateway(g)->gear(a))
                QCOMPARE(gear->actualLevel(), uint8_t(0));
}

QTEST_GUILESS_MAIN(TestLinkSim)
#include "tst_linksim.moc"
