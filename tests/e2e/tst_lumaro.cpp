// The program itself, started headless with QProcess: its command line, a new project folder, and
// a whole run in a copy of the demo project against two gateway-sim lines: the countdown of the
// port dialog starts the search for gateway 1, which answers on the second line; the status poll
// goes over the demo's gear; SIGTERM saves the live state and the log and ends the program.
#include "installation.h"
#include "projectstore.h"
#include "simgateway.h"
#include "simgear.h"
#include "testfiles.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <algorithm>

using namespace lumaro;

namespace {

// Waits for events of the programs; generous, so that a loaded machine still passes.
constexpr int kStartMs = 20000;
constexpr int kEventMs = 60000;
// The log's line prefix, "2024-05-17  10:00:00  >".
const QRegularExpression kLinePrefix(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d  \\d\\d:\\d\\d:\\d\\d  >"));
constexpr int kLinePrefixLength = 23;

QString sourcePath(const QString &path)
{
    return QDir(qEnvironmentVariable("LUMARO_SOURCE_DIR")).filePath(path);
}

QProcessEnvironment headless()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

// The text of a <source> or <translation> element of a .ts file; a carriage return is stored
// there as <byte value="xd"/>.
QString elementText(QXmlStreamReader &xml)
{
    QString text;
    const QString name = xml.name().toString();
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters())
            text += xml.text();
        else if (xml.isStartElement() && xml.name() == QLatin1String("byte"))
            text += QChar(xml.attributes().value(QLatin1String("value")).mid(1).toUInt(nullptr, 16));
        else if (xml.isEndElement() && xml.name() == name)
            break;
    }
    return text;
}

// The Chinese translation of a source text in i18n/lumaro_zh_CN.ts; empty while there is none.
QString chineseTranslation(const QString &source)
{
    QFile file(sourcePath(QStringLiteral("i18n/lumaro_zh_CN.ts")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    QString currentSource;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("source")) {
            currentSource = elementText(xml);
        } else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            const QString text = elementText(xml);
            if (currentSource == source && !text.isEmpty() && type != QLatin1String("obsolete")
                && type != QLatin1String("vanished"))
                return text;
        }
    }
    return {};
}

// Every daily log file of a folder in date order, as lines without their line ends.
QStringList logLines(const QDir &dir)
{
    QStringList lines;
    const QStringList files = dir.entryList({QStringLiteral("*-log.txt")}, QDir::Files, QDir::Name);
    for (const QString &name : files) {
        const QString text = QString::fromUtf8(readAll(dir.filePath(name)));
        for (const QString &line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            lines.append(line.endsWith(QLatin1Char('\r')) ? line.chopped(1) : line);
    }
    return lines;
}

// The demo project with what this run must see changed: gateway 1 without model and version
// (the search writes them), every STATUS and VOLUE at a value no poll gives (the shutdown
// writes them), and one gear more at the end of the poll's cycle that the bus does not have.
// The poll asking for that one shows that it is done with every gear of the demo.
QByteArray demoProject(const QByteArray &sentinel)
{
    QByteArray out;
    QByteArray section;
    for (const QByteArray &line : readAll(sourcePath(QStringLiteral("data/demo/db.ctt"))).split('\n')) {
        const QByteArray key = line.trimmed();
        if (key.isEmpty())
            continue;
        if (key.startsWith('['))
            section = key;
        if (section == "[M1]" && (key.startsWith("MODEL=") || key.startsWith("VER=")))
            continue;
        if (key.startsWith("STATUS="))
            out += "STATUS=9\r\n";
        else if (key.startsWith("VOLUE="))
            out += "VOLUE=1\r\n";
        else
            out += key + "\r\n";
    }
    return out + "[" + sentinel + "]\r\nNAME=Sentinel\r\nMODEL=06\r\n";
}

}  // namespace

class TestLumaro : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void commandLine_data();
    void commandLine();
    void newProjectFolder_data();
    void newProjectFolder();
    void demoRun_data();
    void demoRun();

private:
    void startSim(QProcess &sim, const QStringList &arguments, QString *device);
    static void stopSim(QProcess &sim);
    void startLumaro(const QStringList &arguments);
    void terminateLumaro();

    QTemporaryDir m_dir;
    QString m_withoutGatewayOne;   // installation file
    QProcess m_simA;
    QProcess m_simB;
    QByteArray m_simBTrace;        // --verbose output of the second line
    QProcess m_lumaro;
};

void TestLumaro::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_withoutGatewayOne = m_dir.filePath(QStringLiteral("gateway2.ini"));
    QVERIFY(writeAll(m_withoutGatewayOne,
                     "; one gateway at address 2, none at address 1\n[M2]\nMODEL=80\nVER=16\n[M2A0]\nTYPE=06\n"));
    connect(&m_simB, &QProcess::readyReadStandardError, this, [this] { m_simBTrace += m_simB.readAllStandardError(); });
}

void TestLumaro::cleanup()
{
    if (m_lumaro.state() != QProcess::NotRunning) {
        m_lumaro.kill();
        m_lumaro.waitForFinished(kStartMs);
    }
    stopSim(m_simA);
    stopSim(m_simB);
    m_simBTrace.clear();
}

void TestLumaro::startSim(QProcess &sim, const QStringList &arguments, QString *device)
{
    sim.start(QStringLiteral(GATEWAY_SIM_PATH), arguments);
    QVERIFY2(sim.waitForStarted(kStartMs), qPrintable(sim.errorString()));
    QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine(), kStartMs);
    *device = QString::fromLocal8Bit(sim.readLine()).trimmed();
    QVERIFY2(device->startsWith(QLatin1String("/dev/")), qPrintable(*device));
}

void TestLumaro::stopSim(QProcess &sim)
{
    if (sim.state() == QProcess::NotRunning)
        return;
    sim.terminate();
    if (!sim.waitForFinished(kStartMs))
        sim.kill();
}

void TestLumaro::startLumaro(const QStringList &arguments)
{
    m_lumaro.setProcessEnvironment(headless());
    // Its diagnostics (and a sanitizer's report) belong in the test's output.
    m_lumaro.setProcessChannelMode(QProcess::ForwardedChannels);
    m_lumaro.start(QStringLiteral(LUMARO_PATH), arguments);
    QVERIFY2(m_lumaro.waitForStarted(kStartMs), qPrintable(m_lumaro.errorString()));
}

void TestLumaro::terminateLumaro()
{
    m_lumaro.terminate();
    QVERIFY(m_lumaro.waitForFinished(kEventMs));
    QCOMPARE(m_lumaro.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_lumaro.exitCode(), 0);
}

void TestLumaro::commandLine_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QStringList>("shows");
    QTest::newRow("--help") << QStringLiteral("--help")
                            << QStringList{QStringLiteral("PROJECT_FOLDER"), QStringLiteral("--port <DEVICE>"),
                                           QStringLiteral("--new <FOLDER>")};
    QTest::newRow("--version") << QStringLiteral("--version")
                               << QStringList{QStringLiteral("Lumaro ") + QStringLiteral(LUMARO_VERSION_TEXT)};
}

void TestLumaro::commandLine()
{
    QFETCH(QString, option);
    QFETCH(QStringList, shows);
    QProcess lumaro;
    lumaro.setProcessEnvironment(headless());
    lumaro.start(QStringLiteral(LUMARO_PATH), {option});
    QVERIFY(lumaro.waitForFinished(kEventMs));
    QCOMPARE(lumaro.exitStatus(), QProcess::NormalExit);
    QCOMPARE(lumaro.exitCode(), 0);
    const QString out = QString::fromLocal8Bit(lumaro.readAllStandardOutput());
    for (const QString &text : shows)
        QVERIFY2(out.contains(text), qPrintable(out));
}

void TestLumaro::newProjectFolder_data()
{
    QTest::addColumn<QByteArray>("existingDb");
    QTest::addColumn<QString>("expectedName");
    QTest::newRow("folder missing: created with db.ctt and DeviceType.ini")
        << QByteArray() << QStringLiteral("<none>");
    QTest::newRow("project there: its db.ctt is kept") << QByteArray("[B0]\r\nCOM=0\r\n[M1]\r\nNAME=Kept\r\n")
                                                       << QStringLiteral("Kept");
}

void TestLumaro::newProjectFolder()
{
    QFETCH(QByteArray, existingDb);
    QFETCH(QString, expectedName);
    QTemporaryDir parent;
    QVERIFY(parent.isValid());
    const QDir folder(parent.filePath(QStringLiteral("site/project")));
    if (!existingDb.isEmpty()) {
        QVERIFY(QDir().mkpath(folder.path()));
        QVERIFY(writeAll(folder.filePath(QStringLiteral("db.ctt")), existingDb));
    }

    startLumaro({QStringLiteral("--new"), folder.path()});
    // The program opens the new project: its first log line (written after the signal handlers
    // are in place) creates today's log file there.
    QTRY_VERIFY_WITH_TIMEOUT(!folder.entryList({QStringLiteral("*-log.txt")}, QDir::Files).isEmpty(), kEventMs);
    QVERIFY(folder.exists(QStringLiteral("db.ctt")));
    QCOMPARE(readAll(folder.filePath(QStringLiteral("DeviceType.ini"))), readAll(sourcePath(QStringLiteral("data/DeviceType.ini"))));
    terminateLumaro();

    const ProjectStore disk(folder.path());
    QCOMPARE(disk.read(ProjectFile::Db, QStringLiteral("B0"), QStringLiteral("COM")), QStringLiteral("0"));
    QCOMPARE(disk.read(ProjectFile::Db, QStringLiteral("M1"), QStringLiteral("NAME"), QStringLiteral("<none>")), expectedName);
    const QStringList lines = logLines(folder);
    QVERIFY(!lines.isEmpty());
    QVERIFY2(lines.last().endsWith(QLatin1String(">Lumaro software close success.")), qPrintable(lines.join(u'\n')));
}

void TestLumaro::demoRun_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << QStringLiteral("0");
    QTest::newRow("Chinese, LANGUAGE=1") << QStringLiteral("1");
}

void TestLumaro::demoRun()
{
    QFETCH(QString, language);
    const bool chinese = language == QLatin1String("1");

    QString lineA, lineB;
    startSim(m_simA, {QStringLiteral("--installation"), m_withoutGatewayOne}, &lineA);
    startSim(m_simB, {QStringLiteral("--verbose")}, &lineB);

    QTemporaryDir project;
    QVERIFY(project.isValid());
    const QDir dir(project.path());
    // M3A20 is not on the demo's bus: the poll asks for it after every gear of the demo.
    QVERIFY(writeAll(dir.filePath(QStringLiteral("db.ctt")), demoProject("M3A20")));
    QVERIFY(QFile::copy(sourcePath(QStringLiteral("data/DeviceType.ini")), dir.filePath(QStringLiteral("DeviceType.ini"))));
    QVERIFY(writeAll(dir.filePath(QStringLiteral("softset.ini")),
                     "[SOFTWARE]\r\nCOMTIMEOUT=500\r\nALLCHECKTHREADCOUNT=1\r\nLANGUAGE=" + language.toLatin1() + "\r\n"));

    const QDate startDay = QDate::currentDate();
    startLumaro({QStringLiteral("--port"), lineA, QStringLiteral("--port"), lineB, dir.path()});

    // After the ten-second countdown the dialog searches every port (the system's first) for
    // gateway 1; it answers on the second line, and its model and version go to db.ctt at once.
    auto stored = [&dir](const char *section, const char *key) {
        const ProjectStore disk(dir.path());
        return disk.read(ProjectFile::Db, QLatin1String(section), QLatin1String(key), QStringLiteral("<none>"));
    };
    QTRY_COMPARE_WITH_TIMEOUT(stored("M1", "MODEL"), QStringLiteral("80"), kEventMs);
    QCOMPARE(stored("M1", "VER"), QStringLiteral("16"));
    QCOMPARE(stored("M1", "NAME"), QStringLiteral("Hall"));

    // The poll walks the gateways in order: presence checks of gateway 2, then of the sentinel
    // behind the last gear of gateway 3 (requests as the simulator traces them).
    QTRY_VERIFY_WITH_TIMEOUT(m_simBTrace.contains("<- 02 43 00 40 00 01"), kEventMs);
    QTRY_VERIFY_WITH_TIMEOUT(m_simBTrace.contains("<- 03 43 14 40 00 01"), kEventMs);
    QVERIFY(m_lumaro.state() == QProcess::Running);
    terminateLumaro();

    // Every gear as the simulated bus has it; the gear missing on the bus is not answering.
    const sim::Installation demo = sim::Installation::demo();
    QVERIFY(demo.isValid());
    int gearChecked = 0;
    for (const sim::SimGateway &gateway : demo.gateways()) {
        const QByteArray m = "M" + QByteArray::number(gateway.address());
        QCOMPARE(stored(m.constData(), "STATUS"), QStringLiteral("0"));
        for (int a = 0; a < 64; ++a) {
            const sim::SimGear *gear = gateway.gear(a);
            if (!gear)
                continue;
            const QByteArray section = m + "A" + QByteArray::number(a);
            // IEC 62386-102 status bits 0 and 1: control gear failure, lamp failure.
            const QString status = (gear->status() & 0x03) ? QStringLiteral("2") : QStringLiteral("0");
            QCOMPARE(stored(section.constData(), "STATUS"), status);
            QCOMPARE(stored(section.constData(), "VOLUE"), QString::number(gear->actualLevel()));
            ++gearChecked;
        }
    }
    QVERIFY(gearChecked > 0);
    QCOMPARE(stored("M2A7", "STATUS"), QStringLiteral("1"));
    QCOMPARE(stored("M2A7", "VOLUE"), QStringLiteral("0"));

    // The log, in the daily file of the day it was written.
    const QString fileName = startDay.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("-log.txt");
    const QString fileNameNextDay = startDay.addDays(1).toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("-log.txt");
    QVERIFY2(dir.exists(fileName) || dir.exists(fileNameNextDay), qPrintable(dir.entryList().join(u' ')));
    const QStringList lines = logLines(dir);
    QVERIFY(lines.size() > 80);
    for (const QString &line : lines)
        QVERIFY2(kLinePrefix.match(line).hasMatch(), qPrintable(line));

    QString opened = QStringLiteral("Lumaro software open success.\r\n");
    if (chinese) {
        opened = chineseTranslation(opened);
        QVERIFY2(!opened.isEmpty(), "i18n/lumaro_zh_CN.ts has no translation of \"Lumaro software open success.\\r\\n\" yet");
    }
    QCOMPARE(lines.first().mid(kLinePrefixLength), opened.chopped(2));
    if (!chinese) {
        QVERIFY(lines.contains(lines.first().left(kLinePrefixLength) + QStringLiteral("Loading data,Please wait ... Finish.")));
        auto has = [&lines](const QString &text) {
            return std::any_of(lines.begin(), lines.end(), [&](const QString &l) { return l.mid(kLinePrefixLength) == text; });
        };
        QVERIFY(has(QStringLiteral("Read M1 gatewayunit data ...  Success.")));
        QVERIFY(has(QStringLiteral("M2A7 Failure.")));
        QVERIFY(has(QStringLiteral("M1A0 Query volue and status...  success. Volue=254, Status=OK. ")));
        // The signal may come while the sentinel's presence check is in flight; that line then
        // takes the first shutdown text.
        QVERIFY2(lines.at(lines.size() - 2).endsWith(QLatin1String("Saving project data , please wait...finish.")),
                 qPrintable(lines.at(lines.size() - 2)));
        QCOMPARE(lines.last().mid(kLinePrefixLength), QStringLiteral("Lumaro software close success."));
    }
}

QTEST_GUILESS_MAIN(TestLumaro)
#include "tst_lumaro.moc"
