// The gear list without its window: its cells, its own poll and its commands, driven by ticks
// against the simulated line; and the window with its delegates on the demo project.
#include "cmydevicelist.h"
#include "colourcelldelegate.h"
#include "frame.h"
#include "gatewaylink.h"
#include "gearlist.h"
#include "gearlistcells.h"
#include "gearrecord.h"
#include "inprocesstransport.h"
#include "installation.h"
#include "levelbardelegate.h"
#include "levelscale.h"
#include "projectdata.h"
#include "projectstore.h"
#include "recordinglog.h"
#include "scriptedprompter.h"
#include "simline.h"
#include "softwaresettings.h"
#include "statuspoll.h"
#include "clock.h"

#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

using namespace lumaro;
namespace gc = lumaro::gearcells;

namespace {

QByteArray frame(const char *hex)
{
    return Frame::withChecksum(QByteArray::fromHex(hex)).bytes();
}

const char kDeviceTypes[] = "[DEV-06]\nMODEL=LED module\n[DEV-08]\nMODEL=Colour control\n";

}  // namespace

Q_DECLARE_METATYPE(gc::Colour)

class TestGearList : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void modelText_data();
    void modelText();
    void levelCell_data();
    void levelCell();
    void temperatureSteps_data();
    void temperatureSteps();
    void levelPercent_data();
    void levelPercent();
    void statusAndPhysicalMinimum();

    void fillReadsTheProject();
    void pollPhases_data();
    void pollPhases();
    void presenceMisses_data();
    void presenceMisses();
    void statusBits();
    void colourAnswers_data();
    void colourAnswers();
    void checkStatusAndReadVersion();
    void rowFollowsBackgroundPoll();
    void windowShowsTheDemo();

private:
    void setUp(const QByteArray &db, const QByteArray &installation, int comTimeout = 500);
    void run(int ms, bool listTicks = true, bool backgroundTicks = false);
    bool runUntil(const std::function<bool()> &done, int limitMs = 60000);
    // Log lines whose result has come.
    int completeLines() const
    {
        int n = 0;
        for (const QString &line : m_log.lines())
            n += line.endsWith(QLatin1String("\r\n"));
        return n;
    }

    QTemporaryDir m_dir;
    SoftwareSettings m_settings;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 0))};
    ProjectData m_data;
    RecordingLog m_log;
    ScriptedPrompter m_prompter;
    std::unique_ptr<ProjectStore> m_store;
    std::unique_ptr<sim::SimLine> m_line;
    std::unique_ptr<InProcessTransport> m_transport;
    std::unique_ptr<GatewayLink> m_link;
    std::unique_ptr<StatusPoll> m_poll;
    std::unique_ptr<GearList> m_list;
    int m_ms = 0;
};

void TestGearList::cleanup()
{
    m_list.reset();
    m_poll.reset();
    m_link.reset();
    m_transport.reset();
    m_line.reset();
    m_store.reset();
    m_data = ProjectData();
    m_log.clear();
    m_ms = 0;
}

void TestGearList::setUp(const QByteArray &db, const QByteArray &installation, int comTimeout)
{
    QVERIFY(m_dir.isValid());
    for (const auto &[name, text] : {std::pair{"db.ctt", db}, std::pair{"DeviceType.ini", QByteArray(kDeviceTypes)}}) {
        QFile file(m_dir.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(text).replace("\n", "\r\n"));
    }
    m_store = std::make_unique<ProjectStore>(m_dir.path());
    QVERIFY(m_store->load());
    m_data.rebuild(*m_store);
    m_settings = SoftwareSettings();
    m_settings.comTimeout = comTimeout;
    m_settings.checkThreadCount = 5;   // five seconds between two rounds of the list
    const sim::Installation inst = sim::Installation::fromText(installation);
    QVERIFY2(inst.warnings().isEmpty(), qPrintable(inst.warnings().join(u'\n')));
    m_line = std::make_unique<sim::SimLine>(inst);
    m_transport = std::make_unique<InProcessTransport>(*m_line, 3);
    m_link = std::make_unique<GatewayLink>(m_log, m_prompter);
    m_link->setTransport(m_transport.get());
    QVERIFY(m_link->open());
    m_poll = std::make_unique<StatusPoll>(*m_link, m_data, m_log, m_settings);
    m_list = std::make_unique<GearList>(
        DeviceContext{*m_link, *m_store, m_data, m_log, m_prompter, m_settings, *m_poll, m_clock});
}

// The link ticks every 10 ms, the list every 100 ms; the background poll only when asked.
void TestGearList::run(int ms, bool listTicks, bool backgroundTicks)
{
    for (const int end = m_ms + ms; m_ms < end;) {
        m_ms += GatewayLink::kTickMs;
        m_link->tick();
        if (m_ms % GearList::kTickMs == 0) {
            if (listTicks)
                m_list->tick();
            if (backgroundTicks)
                m_poll->pollTick();
        }
        if (backgroundTicks && m_ms % 1000 == 0)
            m_poll->resumeTick();
    }
}

bool TestGearList::runUntil(const std::function<bool()> &done, int limitMs)
{
    for (const int end = m_ms + limitMs; m_ms < end; run(GatewayLink::kTickMs))
        if (done())
            return true;
    return done();
}

// ---- cells ----

void TestGearList::modelText_data()
{
    QTest::addColumn<int>("deviceType");
    QTest::addColumn<int>("colourType");
    QTest::addColumn<QString>("text");
    QTest::newRow("LED gear has no suffix") << 6 << 0x62 << QStringLiteral("Name");
    QTest::newRow("0x62 Tc and RGB") << 8 << 0x62 << QStringLiteral("Name.TC.RGB");
    QTest::newRow("0x80 RGBW") << 8 << 0x80 << QStringLiteral("Name.RGBW");
    QTest::newRow("0x01 xy") << 8 << 0x01 << QStringLiteral("Name.xy");
    QTest::newRow("0x0C three primaries") << 8 << 0x0C << QStringLiteral("Name.PN=3");
    QTest::newRow("0xC0 six channels") << 8 << 0xC0 << QStringLiteral("Name.RGBWAF=6");
    QTest::newRow("type never read") << 255 << 0x02 << QStringLiteral("Name.TC");
}

void TestGearList::modelText()
{
    QFETCH(int, deviceType);
    QFETCH(int, colourType);
    QFETCH(QString, text);
    QCOMPARE(gc::modelText(QStringLiteral("Name"), quint8(deviceType), quint8(colourType)), text);
}

void TestGearList::levelCell_data()
{
    QTest::addColumn<int>("deviceType");
    QTest::addColumn<int>("colourType");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("mirek");
    QTest::addColumn<QList<int>>("rgbw");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("percent");
    QTest::addColumn<gc::Colour>("colour");
    const QList<int> none{0, 0, 0, 0};
    QTest::newRow("LED at 254") << 6 << 2 << 254 << 0 << none << QStringLiteral("ON:100%") << 100 << gc::kDefaultBar;
    QTest::newRow("LED at 153, a tie") << 6 << 2 << 153 << 0 << none << QStringLiteral("ON:6%") << 6 << gc::kDefaultBar;
    QTest::newRow("Tc 250 mirek is 4000 K, white") << 8 << 2 << 254 << 250 << none
                                                   << QStringLiteral("ON:100%,TC:4000K") << 100 << gc::Colour{255, 255, 255};
    QTest::newRow("Tc 0 mirek shows 0 K") << 8 << 2 << 0 << 0 << none
                                          << QStringLiteral("ON:0%,TC:0K") << 0 << gc::Colour{218, 160, 0};
    QTest::newRow("0x80, W only: full white") << 8 << 0x80 << 200 << 0 << QList<int>{0, 0, 0, 200}
                                              << QStringLiteral("R:0,G:0,B:0,W:200") << 100 << gc::Colour{255, 255, 255};
    QTest::newRow("0x60, W ignored: empty white") << 8 << 0x60 << 200 << 0 << QList<int>{0, 0, 0, 200}
                                                  << QStringLiteral("R:0,G:0,B:0") << 0 << gc::Colour{255, 255, 255};
    QTest::newRow("0x80 all off: empty white") << 8 << 0x80 << 200 << 0 << none
                                               << QStringLiteral("R:0,G:0,B:0,W:0") << 0 << gc::Colour{255, 255, 255};
    QTest::newRow("linear RGB") << 8 << 0x80 << 200 << 0 << QList<int>{254, 170, 1, 0}
                                << QStringLiteral("R:254,G:170,B:1,W:0") << 100 << gc::Colour{254, 25, 0};
}

void TestGearList::levelCell()
{
    QFETCH(int, deviceType);
    QFETCH(int, colourType);
    QFETCH(int, level);
    QFETCH(int, mirek);
    QFETCH(QList<int>, rgbw);
    QFETCH(QString, text);
    QFETCH(int, percent);
    QFETCH(gc::Colour, colour);
    GearRecord gear;
    gear.deviceType = quint8(deviceType);
    gear.colourType = quint8(colourType);
    gear.level = quint8(level);
    gear.colourTemperature = quint32(mirek);
    for (int c = 0; c < 4; ++c)
        gear.colour[size_t(c)] = quint8(rgbw[c]);
    const gc::Level cell = gc::level(gear);
    QCOMPARE(cell.text, text);
    QCOMPARE(cell.percent, percent);
    QCOMPARE(cell.colour, colour);
}

void TestGearList::temperatureSteps_data()
{
    QTest::addColumn<int>("kelvin");
    QTest::addColumn<gc::Colour>("colour");
    QTest::newRow("1500 K takes the first step") << 1500 << gc::Colour{218, 160, 0};
    QTest::newRow("2249 K is nearer 2000 K") << 2249 << gc::Colour{218, 160, 0};
    QTest::newRow("2250 K half way takes 2500 K") << 2250 << gc::Colour{241, 221, 162};
    QTest::newRow("4250 K takes 4500 K") << 4250 << gc::Colour{243, 248, 252};
    QTest::newRow("6500 K") << 6500 << gc::Colour{62, 148, 209};
    QTest::newRow("7142 K takes the last step") << 7142 << gc::Colour{62, 148, 209};
}

void TestGearList::temperatureSteps()
{
    QFETCH(int, kelvin);
    QFETCH(gc::Colour, colour);
    QCOMPARE(gc::temperatureColour(kelvin), colour);
}

void TestGearList::levelPercent_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("percent");
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("85") << 85 << 1;
    QTest::newRow("86 is nearer 85") << 86 << 1;
    QTest::newRow("109 is nearer 110") << 109 << 2;
    QTest::newRow("227 is the first of two") << 227 << 47;
    QTest::newRow("253") << 253 << 97;
    QTest::newRow("254") << 254 << 100;
    QTest::newRow("255 MASK") << 255 << 255;
}

void TestGearList::levelPercent()
{
    QFETCH(int, level);
    QFETCH(int, percent);
    QCOMPARE(levelscale::levelToPercent(level), percent);
}

void TestGearList::statusAndPhysicalMinimum()
{
    QCOMPARE(gc::status(0, true), (gc::Status{QStringLiteral("OK"), {50, 160, 60}}));
    QCOMPARE(gc::status(2, true), (gc::Status{QStringLiteral("Not OK or lamp faulure"), {255, 255, 0}}));
    QCOMPARE(gc::status(1, true), (gc::Status{QStringLiteral("Failure"), {160, 50, 60}}));
    QCOMPARE(gc::status(0, false), (gc::Status{QStringLiteral("OK"), {50, 160, 60}}));
    QCOMPARE(gc::status(2, false), (gc::Status{QStringLiteral("Not OK or lamp faulure"), {160, 160, 60}}));
    QCOMPARE(gc::status(1, false), (gc::Status{QStringLiteral("Failure/Off line"), {160, 50, 60}}));

    QCOMPARE(gc::physicalMinimum(QStringLiteral("0")), QStringLiteral("0 (OFF)"));
    QCOMPARE(gc::physicalMinimum(QStringLiteral("1")), QStringLiteral("1(0.100%)"));
    QCOMPARE(gc::physicalMinimum(QStringLiteral("254")), QStringLiteral("254(100.000%)"));
    QCOMPARE(gc::physicalMinimum(QString()), QString());
}

// ---- the list against the simulated line ----

void TestGearList::fillReadsTheProject()
{
    setUp("[M1]\nNAME=Hall\n[M1A0]\nNAME=Door\nMODEL=06\nVER=8\nLOCATION=Entrance\nREMARK=r\nPHYMIN=0\n"
          "STATUS=2\nVOLUE=254\nGROUP1=TRUE\nGROUP3=TRUE\n"
          "[M1A5]\nNAME=Wash\nMODEL=08\nCOLOUR_TYPE=98\nSTATUS=1\n[M2A0]\nNAME=Other\n",
          "[M1A0]\n");
    // The background poll already knew the state of A5: its types are read all the same.
    m_data.gear(1, 5).stateKnown = true;
    m_data.gear(1, 5).status = 0;
    m_list->fill(1);
    const QList<GearList::Row> &rows = m_list->rows();
    QCOMPARE(rows.size(), 2);
    QCOMPARE((QStringList{rows[0].id, rows[0].name, rows[0].model, rows[0].level.text, rows[0].status.text,
                          rows[0].version, rows[0].location, rows[0].remark, rows[0].physicalMinimum}),
             (QStringList{"M1A0", "Door", "LED module", "ON:100%", "Not OK or lamp faulure", "8", "Entrance", "r",
                          "0 (OFF)"}));
    QCOMPARE(rows[1].model, QStringLiteral("Colour control.TC.RGB"));
    QCOMPARE(rows[1].status.text, QStringLiteral("OK"));
    QCOMPARE(m_data.gear(1, 5).listRow, quint8(1));
    QCOMPARE(m_data.gear(1, 1).listRow, GearRecord::kNotShown);

    const GearList::PrintTable print = m_list->printTable();
    QCOMPARE(print.heading, QStringLiteral("Hall#M1"));
    QCOMPARE(print.date, QStringLiteral("2026-12-10"));
    QCOMPARE(print.columns, (QStringList{"ID", "Name", "Model", "Version", "Join Group", "Phy Min", "Location", "Remark"}));
    QCOMPARE(print.rows.first(),
             (QStringList{"M1A0", "Door", "LED module", "8", "G1\\G3", "0 (OFF)", "Entrance", "r"}));

    m_list->fill(0);
    QVERIFY(m_list->rows().isEmpty());
}

void TestGearList::pollPhases_data()
{
    QTest::addColumn<QByteArray>("db");
    QTest::addColumn<QByteArray>("installation");
    QTest::addColumn<QList<QByteArray>>("frames");
    QTest::addColumn<QString>("level");
    QTest::newRow("LED gear: presence, status")
        << QByteArray("[M1]\n[M1A3]\nMODEL=06\n") << QByteArray("[M1A3]\nLEVEL=254\n")
        << QList<QByteArray>{frame("014303400001"), frame("0143034A0002")} << QStringLiteral("ON:100%");
    QTest::newRow("DT8 0x62: presence, status, colour (count 2)")
        << QByteArray("[M1]\n[M1A3]\nMODEL=08\nCOLOUR_TYPE=98\n")
        << QByteArray("[M1A3]\nTYPE=08\nCOLOURTYPE=98\nTC=250\nLEVEL=254\n")
        << QList<QByteArray>{frame("014303400001"), frame("0143034A0002"), frame("014303720002")}
        << QStringLiteral("ON:100%,TC:4000K");
    QTest::newRow("DT8 RGBW: colour count 5")
        << QByteArray("[M1]\n[M1A3]\nMODEL=08\nCOLOUR_TYPE=128\n")
        << QByteArray("[M1A3]\nTYPE=08\nCOLOURTYPE=128\nR=0\nG=0\nB=0\nW=200\nLEVEL=200\n")
        << QList<QByteArray>{frame("014303400001"), frame("0143034A0002"), frame("014303720005")}
        << QStringLiteral("R:0,G:0,B:0,W:200");
}

void TestGearList::pollPhases()
{
    QFETCH(QByteArray, db);
    QFETCH(QByteArray, installation);
    QFETCH(QList<QByteArray>, frames);
    QFETCH(QString, level);
    setUp(db, installation);
    m_list->fill(1);
    QVERIFY(runUntil([&] { return m_transport->written().size() >= frames.size(); }));
    run(1000);
    QCOMPARE(m_transport->written(), frames);
    QCOMPARE(m_list->rows().first().level.text, level);
    QCOMPARE(m_list->pollDelay() > 30, true);   // the long pause after the last gear
    // The list keeps the background poll away while it asks its gear.
    QVERIFY(!m_poll->isPollTimerRunning());
    QCOMPARE(m_poll->resumeCountdown(), GearList::kSuspendSeconds);

    // After the long pause (five seconds here) the round starts again with the first gear.
    QVERIFY(runUntil([&] { return m_transport->written().size() > frames.size(); }, 6000));
    QCOMPARE(m_transport->written().last(), frames.first());
}

void TestGearList::presenceMisses_data()
{
    QTest::addColumn<bool>("gatewaySilent");
    QTest::addColumn<QString>("missText");
    QTest::addColumn<QString>("failText");
    QTest::newRow("gear silent") << false << QStringLiteral("M1A0 Check ...  Slave time-out.\r\n")
                                 << QStringLiteral("M1A0 Failure/Off line.\r\n");
    QTest::newRow("gateway silent") << true << QStringLiteral("M1A0 Check ...  Gateway response time-out.\r\n")
                                    << QStringLiteral("M1A0 Failure.\r\n");
}

void TestGearList::presenceMisses()
{
    QFETCH(bool, gatewaySilent);
    QFETCH(QString, missText);
    QFETCH(QString, failText);
    // A gear of the project that the bus lacks, or a gateway that the line lacks.
    setUp("[M1]\n[M1A0]\nMODEL=06\nVOLUE=254\n[M1A1]\nMODEL=06\n",
          gatewaySilent ? QByteArray("[M2A1]\n") : QByteArray("[M1A1]\n"));
    m_list->fill(1);
    QVERIFY(runUntil([&] { return completeLines() >= 1; }));
    QCOMPARE(m_log.lines().first(), missText);
    QCOMPARE(m_list->rows().first().status.text, QStringLiteral("OK"));
    QCOMPARE(m_data.gear(1, 0).missCount, quint8(1));

    // The same gear is asked again at once; its second miss marks it.
    QVERIFY(runUntil([&] { return completeLines() >= 3; }));
    QCOMPARE(m_log.lines()[1], missText);
    QCOMPARE(m_log.lines()[2], failText);
    QCOMPARE(m_transport->written().size(), 2);
    QCOMPARE(m_transport->written()[1], frame("014300400001"));
    const GearList::Row &row = m_list->rows().first();
    QCOMPARE(row.status.text, QStringLiteral("Failure/Off line"));
    QCOMPARE(row.status.colour, (gc::Colour{160, 50, 60}));
    QCOMPARE(row.level.text, QStringLiteral("ON:0%"));
    QCOMPARE(m_data.gateway(1).status, quint8(gatewaySilent ? GatewayRecord::NotAnswering : GatewayRecord::Answering));
    // Then the next gear.
    QVERIFY(runUntil([&] { return m_transport->written().size() >= 3; }));
    QCOMPARE(m_transport->written()[2], frame("014301400001"));
}

void TestGearList::statusBits()
{
    setUp("[M1]\n[M1A2]\nMODEL=06\n", "[M1A2]\nLAMPFAILURE=TRUE\nGEARFAILURE=TRUE\nLEVEL=200\nFADERATE=6\n");
    m_list->fill(1);
    QVERIFY(runUntil([&] { return m_log.lines().size() >= 2 && m_log.lines()[1].endsWith(QLatin1String("\r\n")); }));
    // The lamp gives no light with a lamp failure, so the gear reports level 0 and bit 2 clear.
    QCOMPARE(m_log.lines()[1].left(QStringLiteral("M1A2 Query ...  success. Volue=").size()),
             QStringLiteral("M1A2 Query ...  success. Volue="));
    QVERIFY2(m_log.lines()[1].endsWith(QLatin1String(", Status=Faulure. /Ballast faulure /Lamp failure \r\n")),
             qPrintable(m_log.lines()[1]));
    QCOMPARE(m_list->rows().first().status, (gc::Status{QStringLiteral("Not OK or lamp faulure"), {160, 160, 60}}));
}

void TestGearList::colourAnswers_data()
{
    QTest::addColumn<QByteArray>("gearKeys");
    QTest::addColumn<QString>("logged");
    QTest::addColumn<QString>("level");
    QTest::newRow("Tc 4000 K") << QByteArray("COLOURTYPE=2\nTC=250\n") << QStringLiteral(" success. Tc=4000K \r\n")
                               << QStringLiteral("ON:100%,TC:4000K");
    QTest::newRow("Tc 0 mirek counts as 1") << QByteArray("COLOURTYPE=2\nTC=0\n") << QStringLiteral(" success. Tc=1000000K \r\n")
                                            << QStringLiteral("ON:100%,TC:0K");
    QTest::newRow("RGBW") << QByteArray("COLOURTYPE=128\nR=10\nG=20\nB=30\nW=40\n")
                          << QStringLiteral(" success. R=10,G=20,B=30,W=40 \r\n") << QStringLiteral("R:10,G:20,B:30,W:40");
    QTest::newRow("RGB") << QByteArray("COLOURTYPE=96\nR=10\nG=20\nB=30\nW=40\n")
                         << QStringLiteral(" success. R=10,G=20,B=30 \r\n") << QStringLiteral("R:10,G:20,B:30");
    QTest::newRow("gear silent clears the colour") << QByteArray("COLOURTYPE=128\nR=10\nTYPE=06\n")
                                                   << QStringLiteral(" Slave time-out.\r\n") << QStringLiteral("R:0,G:0,B:0,W:0");
}

void TestGearList::colourAnswers()
{
    QFETCH(QByteArray, gearKeys);
    QFETCH(QString, logged);
    QFETCH(QString, level);
    const bool temperature = gearKeys.contains("COLOURTYPE=2\n");
    const QByteArray colourType = gearKeys.mid(11, gearKeys.indexOf('\n') - 11);
    setUp("[M1]\n[M1A4]\nMODEL=08\nCOLOUR_TYPE=" + colourType + "\n",
          "[M1A4]\nTYPE=08\nLEVEL=254\n" + gearKeys);
    m_data.gear(1, 4).colour = {9, 9, 9, 9};
    m_list->fill(1);
    QVERIFY(runUntil([&] { return m_log.lines().size() >= 3 && m_log.lines()[2].endsWith(QLatin1String("\r\n")); }));
    QCOMPARE(m_log.lines()[2], QStringLiteral("M1A4 Query colour ... ") + logged);
    QCOMPARE(m_transport->written()[2], frame(temperature ? "014304720002" : "014304720005"));
    QCOMPARE(m_list->rows().first().level.text, level);
}

void TestGearList::checkStatusAndReadVersion()
{
    setUp("[M1]\n[M1A0]\nMODEL=06\nVER=3\n[M1A9]\nMODEL=08\nCOLOUR_TYPE=2\n",
          "[M1A0]\nVER=8\nLEVEL=254\nFADERATE=6\n[M1A9]\nTYPE=08\nTC=200\nLEVEL=254\nFADERATE=6\n", 500);
    m_list->fill(1);
    m_poll->setEnabled(false);   // the list's own poll stays quiet as while a dialog is open

    m_list->checkStatus({0, 1});
    QVERIFY(m_list->isCommandRunning());
    m_list->readVersion({0});   // ignored while the check runs
    QVERIFY(runUntil([&] { return !m_list->isCommandRunning(); }));
    QCOMPARE(m_transport->written(), (QList<QByteArray>{
        frame("014300400001"), frame("0143004A0002"),
        frame("014309400001"), frame("0143094A0002"), frame("014309720002")}));
    QCOMPARE(m_log.lines(), (QStringList{
        "M1A0 Check grear, OK.\r\n",
        "M1A0 Query status, success. Volue=254, Status=OK. /Lamp arc power on \r\n",
        "M1A9 Check grear, OK.\r\n",
        "M1A9 Query status, success. Volue=254, Status=OK. /Lamp arc power on \r\n",
        "M1A9 Query colour, success. Tc=5000K \r\n"}));
    QCOMPARE(m_list->rows()[1].level.text, QStringLiteral("ON:100%,TC:5000K"));

    m_log.clear();
    m_transport->clearWritten();
    m_list->readVersion({0});
    QVERIFY(runUntil([&] { return !m_list->isCommandRunning(); }));
    QCOMPARE(m_transport->written(), (QList<QByteArray>{frame("014300440001")}));
    QCOMPARE(m_log.lines(), (QStringList{"M1A0 Read version, success.Version=8 \r\n"}));
    QCOMPARE(m_list->rows()[0].version, QStringLiteral("8"));
    QCOMPARE(m_store->read(ProjectFile::Db, QStringLiteral("M1A0"), QStringLiteral("VER")), QStringLiteral("8"));

    // A gear gone from the bus: every step ends in an exception answer.
    m_log.clear();
    m_line->gateway(1)->removeGear(9);
    m_list->checkStatus({1});
    QVERIFY(runUntil([&] { return !m_list->isCommandRunning(); }));
    QCOMPARE(m_log.lines().first(), QStringLiteral("M1A9 Check grear, Slave time-out.\r\n"));
    QCOMPARE(m_list->rows()[1].status.text, QStringLiteral("Failure/Off line"));
}

void TestGearList::rowFollowsBackgroundPoll()
{
    setUp("[M1]\n[M1A0]\nMODEL=06\nVOLUE=0\n", "[M1A0]\nLEVEL=254\n");
    m_list->fill(1);
    QCOMPARE(m_list->rows().first().level.text, QStringLiteral("ON:0%"));
    connect(m_poll.get(), &StatusPoll::gearStateChanged, m_list.get(), &GearList::refreshRow);
    int changes = 0;
    connect(m_list.get(), &GearList::rowChanged, this, [&](int row) { changes += row == 0; });
    // Only the background poll runs here.
    for (int i = 0; i < 600 && m_list->rows().first().level.text != QLatin1String("ON:100%"); ++i)
        run(100, false, true);
    QCOMPARE(m_list->rows().first().level.text, QStringLiteral("ON:100%"));
    QCOMPARE(m_list->rows().first().status.colour, (gc::Colour{50, 160, 60}));
    QVERIFY(changes >= 1);

    // A gear of another gateway changes nothing.
    changes = 0;
    m_list->refreshRow(2, 0);
    QCOMPARE(changes, 0);
}

void TestGearList::windowShowsTheDemo()
{
    QFile db(qEnvironmentVariable("LUMARO_SOURCE_DIR") + QStringLiteral("/data/demo/db.ctt"));
    QVERIFY(db.open(QIODevice::ReadOnly));
    setUp(db.readAll().replace("\r\n", "\n"), "[M3A0]\n");
    CMyDeviceList view(DeviceContext{*m_link, *m_store, m_data, m_log, m_prompter, m_settings, *m_poll, m_clock});
    // The colour strips as the poll would have read them.
    m_data.gear(3, 8).colour = {254, 170, 0, 0};
    m_data.gear(3, 9).colour = {0, 0, 0, 200};
    view.fill(3);
    view.resize(1280, 420);
    QTableWidget *table = view.table();
    QCOMPARE(table->rowCount(), int(view.logic().rows().size()));
    QVERIFY(table->rowCount() > 8);
    QCOMPARE(table->horizontalHeaderItem(8)->text(), QStringLiteral("PhysicalMinLevel"));
    QCOMPARE(table->columnWidth(CMyDeviceList::LevelColumn), 400);
    const QTableWidgetItem *strip = table->item(9, CMyDeviceList::LevelColumn);
    QCOMPARE(strip->text(), QStringLiteral("R:0,G:0,B:0,W:200"));
    QCOMPARE(strip->data(LevelBarDelegate::PercentRole).toInt(), 100);
    QCOMPARE(strip->data(LevelBarDelegate::BarColourRole).value<QColor>(), QColor(255, 255, 255));
    QCOMPARE(table->item(8, CMyDeviceList::ModelColumn)->text(), QStringLiteral("Colour control.RGBW"));
    QVERIFY(table->item(0, CMyDeviceList::StatusColumn)->data(ColourCellDelegate::CellColourRole).value<QColor>().isValid());
    const QString shot = qEnvironmentVariable("LUMARO_GEARLIST_PNG");
    if (!shot.isEmpty())
        QVERIFY(view.grab().save(shot));
}

QTEST_MAIN(TestGearList)
#include "tst_gearlist.moc"
