#include "ccfgdata.h"
#include "projectdata.h"
#include "projectstore.h"
#include "rebuildobserver.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using lumaro::CCfgData;
using lumaro::ProjectData;
using lumaro::ProjectFile;
using lumaro::ProjectStore;

namespace {

// Writes down every node in the order the rebuild reports them.
class RecordingObserver final : public lumaro::RebuildObserver
{
public:
    QStringList nodes;

    void onGateway(int g, const QString &label) override
    {
        nodes << QStringLiteral("gateway %1 %2").arg(g).arg(label);
    }
    void onGroup(int g, int k, const QString &label) override
    {
        nodes << QStringLiteral("group %1 %2 %3").arg(g).arg(k).arg(label);
    }
    void onGroupMember(int g, int k, int a, const QString &label) override
    {
        nodes << QStringLiteral("member %1 %2 %3 %4").arg(g).arg(k).arg(a).arg(label);
    }
    void onGearFolder(int g, const QString &label) override
    {
        nodes << QStringLiteral("folder %1 %2").arg(g).arg(label);
    }
    void onGear(int g, int a, const QString &label) override
    {
        nodes << QStringLiteral("gear %1 %2 %3").arg(g).arg(a).arg(label);
    }
};

}  // namespace

class TestProjectData : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void rebuildReportsTheTree();
    void rebuildDerivesRecords();
    void removedGatewayTakesItsGearAlong();
    void dottedAddress_data();
    void dottedAddress();
    void lazyLoadOfLiveState();
    void saveLiveStateWritesOnlyKnownState();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ProjectStore> m_store;
    std::unique_ptr<ProjectData> m_data;
};

void TestProjectData::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_store = std::make_unique<ProjectStore>(m_dir->path());
    const QString fixture = qEnvironmentVariable("LUMARO_TEST_DATA") + QStringLiteral("/project/rebuild/db.ctt");
    QVERIFY(QFile::copy(fixture, m_store->filePath(ProjectFile::Db)));
    QFile::setPermissions(m_store->filePath(ProjectFile::Db), QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY(m_store->load());
    m_data = std::make_unique<ProjectData>();
}

void TestProjectData::rebuildReportsTheTree()
{
    RecordingObserver observer;
    m_data->rebuild(*m_store, &observer);

    // GROUP4=TRUE of M1A7 has no group section, GROUP3=true of M1A8 is not TRUE, and M2A5's
    // GROUP3=TRUE finds no M2G3: none of them makes a member.
    const QStringList expected = {
        QStringLiteral("gateway 1 Hall#M1"),
        QStringLiteral("group 1 0 Group0#G0"),
        QStringLiteral("member 1 0 9 灯#A9"),
        QStringLiteral("group 1 3 Lights#G3"),
        QStringLiteral("member 1 3 7 Lamp#A7"),
        QStringLiteral("folder 1 ControlGear#CG"),
        QStringLiteral("gear 1 7 Lamp#A7"),
        QStringLiteral("gear 1 8 Spot#A8"),
        QStringLiteral("gear 1 9 灯#A9"),
        QStringLiteral("gateway 2 Stairs#M2"),
        QStringLiteral("folder 2 ControlGear#CG"),
        QStringLiteral("gear 2 5 #A5"),
        QStringLiteral("gateway 5 #M5"),
        QStringLiteral("folder 5 ControlGear#CG"),
    };
    QCOMPARE(observer.nodes, expected);
}

void TestProjectData::rebuildDerivesRecords()
{
    m_data->rebuild(*m_store);
    const ProjectData &d = *m_data;

    QVERIFY(!d.gateway(0).present);
    QVERIFY(d.gateway(1).present);
    QCOMPARE(d.gateway(1).groupCount, quint8(2));
    QCOMPARE(d.gateway(1).gearCount, quint8(3));
    QCOMPARE(ProjectData::dottedAddress(d.gateway(1).ipAddress), QStringLiteral("192.168.1.100"));
    QCOMPARE(d.gateway(1).ipPort, quint32(503));

    QVERIFY(d.group(1, 3).present);
    QVERIFY(d.group(1, 3).hasMember(7));
    QCOMPARE(d.group(1, 3).members[0], quint8(0x80));
    QVERIFY(!d.group(1, 3).hasMember(8));
    QVERIFY(!d.group(1, 4).present);
    QVERIFY(!d.group(1, 4).hasMember(7));
    QVERIFY(d.group(1, 0).hasMember(9));
    QCOMPARE(d.group(1, 0).members[1], quint8(0x02));

    // A gateway written signed in the file has the same address.
    QCOMPARE(ProjectData::dottedAddress(d.gateway(2).ipAddress), QStringLiteral("192.168.1.100"));
    QCOMPARE(d.gateway(2).ipPort, quint32(502));
    QVERIFY(!d.group(2, 3).hasMember(5));

    // M5 has nothing but its header line.
    QVERIFY(d.gateway(5).present);
    QCOMPARE(d.gateway(5).gearCount, quint8(0));
    QCOMPARE(d.gateway(5).groupCount, quint8(0));
    QVERIFY(!d.gateway(3).present);
}

void TestProjectData::removedGatewayTakesItsGearAlong()
{
    m_data->rebuild(*m_store);
    QVERIFY(m_data->gear(1, 7).present);

    m_store->writeThrough(ProjectFile::Db, QStringLiteral("M1"));
    m_data->rebuild(*m_store);
    QVERIFY(!m_data->gateway(1).present);
    QVERIFY(!m_data->gear(1, 7).present);
    QVERIFY(!m_data->group(1, 3).present);
    QVERIFY(!m_data->group(1, 3).hasMember(7));
    QCOMPARE(m_data->gateway(1).gearCount, quint8(0));
}

void TestProjectData::dottedAddress_data()
{
    QTest::addColumn<quint32>("address");
    QTest::addColumn<QString>("dotted");
    QTest::newRow("3232235876") << quint32(3232235876u) << QStringLiteral("192.168.1.100");
    QTest::newRow("0") << quint32(0) << QStringLiteral("0.0.0.0");
    QTest::newRow("4294967295") << quint32(0xFFFFFFFFu) << QStringLiteral("255.255.255.255");
    QTest::newRow("16909060") << quint32(0x01020304u) << QStringLiteral("1.2.3.4");
}

void TestProjectData::dottedAddress()
{
    QFETCH(quint32, address);
    QFETCH(QString, dotted);
    QCOMPARE(ProjectData::dottedAddress(address), dotted);
}

void TestProjectData::lazyLoadOfLiveState()
{
    m_data->rebuild(*m_store);
    // The rebuild leaves live state alone.
    QVERIFY(!m_data->gear(1, 7).stateKnown);
    QCOMPARE(m_data->gear(1, 7).level, quint8(0));

    m_data->loadGearState(*m_store, 1, 7);
    const lumaro::GearRecord &lamp = m_data->gear(1, 7);
    QVERIFY(lamp.stateKnown);
    QCOMPARE(lamp.status, quint8(2));
    QCOMPARE(lamp.level, quint8(200));
    QCOMPARE(lamp.deviceType, quint8(8));
    QCOMPARE(lamp.colourType, quint8(34));

    // Without the keys: status and level 0, no device type read, Tc colour type.
    m_data->loadGearState(*m_store, 1, 9);
    const lumaro::GearRecord &plain = m_data->gear(1, 9);
    QCOMPARE(plain.status, quint8(0));
    QCOMPARE(plain.level, quint8(0));
    QCOMPARE(plain.deviceType, quint8(255));
    QCOMPARE(plain.colourType, quint8(2));

    m_data->loadGatewayState(*m_store, 1);
    QVERIFY(m_data->gateway(1).stateKnown);
    QCOMPARE(m_data->gateway(1).status, quint8(1));
    QCOMPARE(m_data->gateway(1).model, quint8(0x1A));
    m_data->loadGatewayState(*m_store, 5);
    QCOMPARE(m_data->gateway(5).status, quint8(0));
    QCOMPARE(m_data->gateway(5).model, quint8(0xFF));
}

void TestProjectData::saveLiveStateWritesOnlyKnownState()
{
    m_data->rebuild(*m_store);
    m_data->loadGearState(*m_store, 1, 7);
    m_data->gear(1, 7).status = 0;
    m_data->gear(1, 7).level = 254;
    m_data->gateway(2).stateKnown = true;
    m_data->gateway(2).status = 1;
    // M1A8 is never known: its STATUS=1 and VOLUE=50 stay. Gear 20 is known but not present.
    m_data->gear(1, 20).stateKnown = true;
    m_data->gear(1, 20).level = 9;

    const int before = m_store->rewriteCount(ProjectFile::Db);
    QVERIFY(m_data->saveLiveState(*m_store));
    QCOMPARE(m_store->rewriteCount(ProjectFile::Db), before + 1);

    CCfgData saved;
    QVERIFY(saved.load(m_store->filePath(ProjectFile::Db)));
    QCOMPARE(saved.get("M1A7", "STATUS"), QByteArray("0"));
    QCOMPARE(saved.get("M1A7", "VOLUE"), QByteArray("254"));
    QCOMPARE(saved.get("M1A8", "STATUS"), QByteArray("1"));
    QCOMPARE(saved.get("M1A8", "VOLUE"), QByteArray("50"));
    QCOMPARE(saved.get("M2", "STATUS"), QByteArray("1"));
    QCOMPARE(saved.get("M1", "STATUS"), QByteArray("1"));
    QVERIFY(!saved.sectionExists("M1A20"));
    QVERIFY(!saved.find("M5", "STATUS"));
    // The rest of the project is as it was.
    QCOMPARE(saved.get("M1A9", "NAME"), QByteArray("\xb5\xc6"));
    QCOMPARE(saved.get("M1", "GATEIP"), QByteArray("3232235876"));
}

QTEST_GUILESS_MAIN(TestProjectData)
#include "tst_projectdata.moc"
