// Reading installation files, and the shipped demo: its installation, its project file and the
// device type table must describe the same installation.

#include "inidocument.h"
#include "installation.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace lumaro::sim;

namespace {

// The way the project file writes model codes: two upper-case hexadecimal digits.
QString hex2(int value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

QString sourceFile(const QString &relative)
{
    return qEnvironmentVariable("LUMARO_SOURCE_DIR") + QLatin1Char('/') + relative;
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

const char kExample[] =
    "; an example\n"
    "[M3]\n"
    "MODEL=83\n"
    "VER=17\n"
    "STATUSFLAGS=0x22\n"
    "[M3A12]\n"
    "TYPE=08\n"
    "VER=1\n"
    "PHYMIN=60\n"
    "MAX=200\n"
    "MIN=70\n"
    "POWERON=255   ; mask\n"
    "SYSFAIL=100\n"
    "FADETIME=4\n"
    "FADERATE=9\n"
    "GROUPS=0, 3,15\n"
    "SCENE0=254\n"
    "SCENE15=20\n"
    "RANDOM=A1B2C3\n"
    "LAMPFAILURE=TRUE\n"
    "GEARFAILURE=false\n"
    "POWERCYCLE=1\n"
    "LEVEL=150\n"
    "[M4A63]\n"
    "SILENT=TRUE\n"
    "LEVEL=254";   // a last line without a line end still counts

}  // namespace

class TestSimInstallation : public QObject
{
    Q_OBJECT
private slots:
    void readsEveryKey_data();
    void readsEveryKey();
    void warnings_data();
    void warnings();
    void unreadableFile();
    void demoInstallation();
    void demoProjectMatchesTheInstallation();
    void deviceTypeTable();
};

void TestSimInstallation::readsEveryKey_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("LF line ends") << QByteArray(kExample);
    QTest::newRow("CR LF line ends") << QByteArray(kExample).replace("\n", "\r\n");
}

void TestSimInstallation::readsEveryKey()
{
    QFETCH(QByteArray, text);
    const Installation inst = Installation::fromText(text);
    QVERIFY(inst.isValid());
    QCOMPARE(inst.warnings(), QStringList());
    QCOMPARE(int(inst.gateways().size()), 2);

    const SimGateway *gw = inst.gateway(3);
    QVERIFY(gw);
    QCOMPARE(int(gw->model()), 0x83);
    QCOMPARE(int(gw->version()), 17);
    QCOMPARE(int(gw->statusFlags()), 0x22);
    QCOMPARE(gw->gearCount(), 1);

    const SimGear *g = gw->gear(12);
    QVERIFY(g);
    QCOMPARE(int(g->deviceType()), 8);
    QCOMPARE(int(g->version()), 1);
    QCOMPARE(int(g->physicalMinimum()), 60);
    QCOMPARE(int(g->maxLevel()), 200);
    QCOMPARE(int(g->minLevel()), 70);
    QCOMPARE(int(g->powerOnLevel()), 255);
    QCOMPARE(int(g->systemFailureLevel()), 100);
    QCOMPARE(int(g->fadeTime()), 4);
    QCOMPARE(int(g->fadeRate()), 9);
    QCOMPARE(int(g->groups()), 0x8009);
    QCOMPARE(int(g->scene(0)), 254);
    QCOMPARE(int(g->scene(15)), 20);
    QCOMPARE(int(g->scene(7)), 255);
    QCOMPARE(g->randomAddress(), 0xA1B2C3u);
    QVERIFY(g->lampFailure());
    QVERIFY(!g->gearFailure());
    QVERIFY(g->powerCycleSeen());
    QVERIFY(g->responds());
    QCOMPARE(int(g->actualLevel()), 150);

    // A gear section brings its gateway, with the default model and version.
    const SimGateway *four = inst.gateway(4);
    QVERIFY(four);
    QCOMPARE(int(four->model()), int(SimGateway::kDefaultModel));
    QVERIFY(!four->gear(63)->responds());
    QCOMPARE(int(four->gear(63)->actualLevel()), 254);
}

void TestSimInstallation::warnings_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("warning");

    QTest::newRow("unknown key") << QByteArray("[M1A1]\nLEVLE=3\n") << "line 2: unknown key LEVLE";
    QTest::newRow("unknown section") << QByteArray("[B0]\nCOM=0\n") << "line 1: unknown section [B0]; ignored";
    QTest::newRow("gateway 17") << QByteArray("[M17]\n") << "line 1: unknown section [M17]; ignored";
    QTest::newRow("short address 64") << QByteArray("[M1A64]\n") << "line 1: unknown section [M1A64]; ignored";
    QTest::newRow("level 300") << QByteArray("[M1A1]\nLEVEL=300\n") << "line 2: LEVEL=300 is not valid; ignored";
    QTest::newRow("group 16") << QByteArray("[M1A1]\nGROUPS=1,16\n") << "line 2: GROUPS=1,16 is not valid; ignored";
    QTest::newRow("not a boolean") << QByteArray("[M1A1]\nSILENT=maybe\n")
                                   << "line 2: SILENT=maybe is not valid; ignored";
    QTest::newRow("MIN below PHYMIN") << QByteArray("[M1A1]\nPHYMIN=90\nMIN=50\n")
                                      << "line 3: MIN=50 is out of range; 90 is used";
    QTest::newRow("stray line") << QByteArray("[M1]\nMODEL 80\n")
                                << "line 2: not a section or KEY=VALUE line: MODEL 80";
}

void TestSimInstallation::warnings()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, warning);
    const Installation inst = Installation::fromText(text);
    QVERIFY(inst.isValid());
    QCOMPARE(inst.warnings(), QStringList{warning});
}

void TestSimInstallation::unreadableFile()
{
    QTemporaryDir dir;
    const Installation inst = Installation::fromFile(dir.filePath(QStringLiteral("missing.ini")));
    QVERIFY(!inst.isValid());
    QVERIFY(inst.error().contains(QLatin1String("missing.ini")));
    QVERIFY(inst.gateways().empty());
}

void TestSimInstallation::demoInstallation()
{
    const Installation demo = Installation::demo();
    QVERIFY2(demo.isValid(), qPrintable(demo.error()));
    QCOMPARE(demo.warnings(), QStringList());
    QVERIFY(demo.gateway(1));
    QVERIFY(demo.gateways().size() >= 3);

    int gear = 0, colour = 0, lampFailures = 0, grouped = 0;
    for (const SimGateway &gw : demo.gateways()) {
        for (int a = 0; a < 64; ++a) {
            const SimGear *g = gw.gear(a);
            if (!g)
                continue;
            ++gear;
            QVERIFY(g->deviceType() == 6 || g->deviceType() == 8);
            colour += g->deviceType() == 8;
            lampFailures += g->lampFailure();
            grouped += g->groups() != 0;
        }
    }
    QVERIFY2(gear >= 35 && gear <= 45, qPrintable(QString::number(gear)));
    QVERIFY(colour >= 2);
    QVERIFY(lampFailures >= 2);
    QVERIFY(grouped >= 5);

    // The compiled-in copy is the shipped file.
    QCOMPARE(Installation::fromFile(sourceFile(QStringLiteral("data/demo/installation.ini"))).gateways().size(),
             demo.gateways().size());
}

void TestSimInstallation::demoProjectMatchesTheInstallation()
{
    const QByteArray text = contents(sourceFile(QStringLiteral("data/demo/db.ctt")));
    QVERIFY(!text.isEmpty());
    QCOMPARE(text.count("\n"), text.count("\r\n"));   // CR LF throughout
    const IniDocument db = IniDocument::parse(text);
    QVERIFY(db.strayLines().isEmpty());
    QCOMPARE(db.value(QStringLiteral("B0"), QStringLiteral("COM")), QStringLiteral("0"));

    const Installation demo = Installation::demo();
    for (const SimGateway &gw : demo.gateways()) {
        const QString m = QStringLiteral("M%1").arg(gw.address());
        QVERIFY2(db.section(m), qPrintable(m));
        QCOMPARE(db.value(m, QStringLiteral("MODEL")), hex2(gw.model()));
        QCOMPARE(db.value(m, QStringLiteral("VER")), QString::number(gw.version()));
        for (const char *key : {"NAME", "LOCATION", "STATUS", "GATEIP", "GATEPORT"})
            QVERIFY2(!db.value(m, QLatin1String(key), QStringLiteral("?")).startsWith(QLatin1Char('?')),
                     qPrintable(m + QLatin1Char(' ') + QLatin1String(key)));
        for (int a = 0; a < 64; ++a) {
            const SimGear *g = gw.gear(a);
            if (!g)
                continue;
            const QString s = m + QStringLiteral("A%1").arg(a);
            QVERIFY2(db.section(s), qPrintable(s));
            QCOMPARE(db.value(s, QStringLiteral("MODEL")), hex2(g->deviceType()));
            QCOMPARE(db.value(s, QStringLiteral("VER")), QString::number(g->version()));
            QCOMPARE(db.value(s, QStringLiteral("PHYMIN")), QString::number(g->physicalMinimum()));
            QCOMPARE(db.value(s, QStringLiteral("VOLUE")), QString::number(g->actualLevel()));
            const bool failed = g->lampFailure() || g->gearFailure();
            QCOMPARE(db.value(s, QStringLiteral("STATUS")), failed ? QStringLiteral("2") : QStringLiteral("0"));
            QCOMPARE(db.value(s, QStringLiteral("MAXLEVE")), QString::number(g->maxLevel()));
            QCOMPARE(db.value(s, QStringLiteral("MINLEVE")), QString::number(g->minLevel()));
            QCOMPARE(db.value(s, QStringLiteral("COLOUR_TYPE")).isEmpty(), g->deviceType() != 8);
            for (int k = 0; k < 16; ++k) {
                QCOMPARE(db.value(s, QStringLiteral("GROUP%1").arg(k)),
                         g->inGroup(k) ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
                QCOMPARE(db.value(s, QStringLiteral("SCENE%1").arg(k)), QString::number(g->scene(k)));
                // Every group a gear is in has its section.
                if (g->inGroup(k))
                    QVERIFY(db.section(m + QStringLiteral("G%1").arg(k)));
            }
        }
    }

    // Exactly one gear of the project is missing on the simulated bus.
    static const QRegularExpression gearSection(QStringLiteral("^M(\\d+)A(\\d+)$"));
    QStringList missing;
    for (const IniDocument::Section &s : db.sections()) {
        const auto match = gearSection.match(s.name);
        if (!match.hasMatch())
            continue;
        const SimGateway *gw = demo.gateway(match.captured(1).toInt());
        if (!gw || !gw->gear(match.captured(2).toInt()))
            missing.append(s.name);
    }
    QCOMPARE(missing, QStringList{QStringLiteral("M2A7")});
}

void TestSimInstallation::deviceTypeTable()
{
    const QByteArray text = contents(sourceFile(QStringLiteral("data/DeviceType.ini")));
    QVERIFY(!text.isEmpty());
    QCOMPARE(text.count("\n"), text.count("\r\n"));
    const IniDocument table = IniDocument::parse(text);
    QVERIFY(table.strayLines().isEmpty());
    for (const char *type : {"00", "01", "02", "03", "04", "05", "06", "07", "08", "09", "0A", "79", "80", "83", "E0",
                             "E4", "E5", "E6", "E8"})
        QVERIFY2(!table.value(QStringLiteral("DEV-") + QLatin1String(type), QStringLiteral("MODEL")).isEmpty(), type);
    QCOMPARE(table.value(QStringLiteral("DEV-06"), QStringLiteral("MODEL")), QStringLiteral("LED module"));
    QCOMPARE(table.value(QStringLiteral("DEV-08"), QStringLiteral("MODEL")), QStringLiteral("Colour control"));
}

QTEST_GUILESS_MAIN(TestSimInstallation)
#include "tst_siminstallation.moc"
