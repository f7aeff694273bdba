#include "ccfgdata.h"
#include "gbktext.h"
#include "projectstore.h"
#include "recordinglog.h"
#include "scriptedprompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using lumaro::CCfgData;
using lumaro::ProjectFile;
using lumaro::ProjectStore;

namespace {

QString dataPath(const QString &name)
{
    return qEnvironmentVariable("LUMARO_TEST_DATA") + QStringLiteral("/project/") + name;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// What the file on disk holds, read with the same rules as the copies.
QByteArray onDisk(const ProjectStore &store, ProjectFile file, const char *section, const char *key)
{
    CCfgData data;
    data.load(store.filePath(file));
    return data.get(section, key, "<missing>");
}

}  // namespace

class TestProjectStore : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void gbkConversion_data();
    void gbkConversion();
    void writeThroughAndWriteToCopy();
    void deletions_data();
    void deletions();
    void readSectionInMemoryAndOnDisk();
    void readCutsToTheBuffer_data();
    void readCutsToTheBuffer();
    void batchSharesOneRewrite();
    void failedWriteIsLoggedAndKeptInMemory();
    void writesBeforeLoadAreKept();
    void writesDuringLoadAreKept();
    void unreadableFileIsNotCached();
    void startupChecks_data();
    void startupChecks();
    void deviceTypeName_data();
    void deviceTypeName();
    void createExpandGroup();
    void createSequence();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestProjectStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestProjectStore::gbkConversion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("gbk");

    QTest::newRow("Hall 1") << QStringLiteral("Hall 1") << QByteArray("Hall 1");
    QTest::newRow("C4E3 BAC3") << QStringLiteral("你好") << QByteArray("\xc4\xe3\xba\xc3");
    QTest::newRow("B5C6 815D") << QStringLiteral("灯乚") << QByteArray("\xb5\xc6\x81\x5d");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestProjectStore::gbkConversion()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, gbk);
    QVERIFY(lumaro::gbkAvailable());
    QCOMPARE(lumaro::toGbk(text), gbk);
    QCOMPARE(lumaro::fromGbk(gbk), text);
}

void TestProjectStore::writeThroughAndWriteToCopy()
{
    writeBytes(m_dir->filePath(QStringLiteral("db.ctt")), "[M1]\r\nNAME=old\r\n");
    ProjectStore store(m_dir->path());
    QVERIFY(store.load());

    QVERIFY(store.writeThrough(ProjectFile::Db, QStringLiteral("M1"), QStringLiteral("NAME"), QStringLiteral("大厅")));
    QCOMPARE(store.read(ProjectFile::Db, QStringLiteral("M1"), QStringLiteral("NAME")), QStringLiteral("大厅"));
    QCOMPARE(onDisk(store, ProjectFile::Db, "M1", "NAME"), lumaro::toGbk(u"大厅"));

    QVERIFY(store.writeToCopy(ProjectFile::Db, QStringLiteral("M1"), QStringLiteral("STATUS"), QStringLiteral("1")));
    QCOMPARE(store.read(ProjectFile::Db, QStringLiteral("M1"), QStringLiteral("STATUS")), QStringLiteral("1"));
    QCOMPARE(onDisk(store, ProjectFile::Db, "M1", "STATUS"), QByteArray("<missing>"));
    QVERIFY(store.saveCopy(ProjectFile::Db));
    QCOMPARE(onDisk(store, ProjectFile::Db, "M1", "STATUS"), QByteArray("1"));

    // softset.ini has no copy: both kinds of write land in the file.
    QVERIFY(store.writeToCopy(ProjectFile::SoftSet, QStringLiteral("SOFTWARE"), QStringLiteral("LANGUAGE"), QStringLiteral("1")));
    QCOMPARE(onDisk(store, ProjectFile::SoftSet, "SOFTWARE", "LANGUAGE"), QByteArray("1"));
    QVERIFY(!store.saveCopy(ProjectFile::SoftSet));
}

void TestProjectStore::deletions_data()
{
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<ProjectFile>("file");
    QTest::newRow("db.ctt copy") << true << ProjectFile::Db;
    QTest::newRow("db.ctt before load") << false << ProjectFile::Db;
    QTest::newRow("softset.ini") << true << ProjectFile::SoftSet;
}

void TestProjectStore::deletions()
{
    QFETCH(bool, loaded);
    QFETCH(ProjectFile, file);
    ProjectStore store(m_dir->path());
    writeBytes(store.filePath(file), "[A]\r\nK=1\r\nL=2\r\n[B]\r\nK=3\r\n");
    if (loaded)
        store.load();

    // A missing value deletes the key, a missing key the section: in memory and in the file.
    QVERIFY(store.writeThrough(file, QStringLiteral("A"), QStringLiteral("K")));
    QVERIFY(store.writeThrough(file, QStringLiteral("B")));
    QCOMPARE(store.read(file, QStringLiteral("A"), QStringLiteral("K"), QStringLiteral("none")), QStringLiteral("none"));
    QCOMPARE(store.read(file, QStringLiteral("A"), QStringLiteral("L")), QStringLiteral("2"));
    QVERIFY(!store.readSection(file, QStringLiteral("B")));
    QCOMPARE(fileBytes(store.filePath(file)), QByteArray("[A]\r\nL=2\r\n"));
}

void TestProjectStore::readSectionInMemoryAndOnDisk()
{
    const QByteArray text = "[EMPTY]\r\n[FULL]\r\nK=1\r\n";
    ProjectStore store(m_dir->path());
    writeBytes(store.filePath(ProjectFile::Db), text);
    writeBytes(store.filePath(ProjectFile::SoftSet), text);

    // On disk a section counts only with a key, in a copy its header is enough.
    QVERIFY(!store.readSection(ProjectFile::Db, QStringLiteral("EMPTY")));
    QVERIFY(store.readSection(ProjectFile::Db, QStringLiteral("FULL")));
    QVERIFY(store.load());
    QVERIFY(store.readSection(ProjectFile::Db, QStringLiteral("EMPTY")));
    QVERIFY(!store.readSection(ProjectFile::Db, QStringLiteral("empty")));
    QVERIFY(!store.readSection(ProjectFile::SoftSet, QStringLiteral("EMPTY")));
    QVERIFY(store.readSection(ProjectFile::SoftSet, QStringLiteral("FULL")));
}

void TestProjectStore::readCutsToTheBuffer_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("bufferSize");
    QTest::addColumn<QString>("read");

    QTest::newRow("abcdef in 4") << QStringLiteral("abcdef") << 4 << QStringLiteral("abc");
    QTest::newRow("abc in 4") << QStringLiteral("abc") << 4 << QStringLiteral("abc");
    QTest::newRow("a+C4E3 in 4") << QStringLiteral("a你好") << 4 << QStringLiteral("a你");
    QTest::newRow("C4E3 BAC3 in 4 splits nothing") << QStringLiteral("你好") << 4 << QStringLiteral("你");
    QTest::newRow("C4E3 in 2") << QStringLiteral("你") << 2 << QString();
    QTest::newRow("abc in 1") << QStringLiteral("abc") << 1 << QString();
}

void TestProjectStore::readCutsToTheBuffer()
{
    QFETCH(QString, value);
    QFETCH(int, bufferSize);
    QFETCH(QString, read);

    ProjectStore store(m_dir->path());
    store.load();
    store.writeThrough(ProjectFile::Db, QStringLiteral("S"), QStringLiteral("K"), value);
    QCOMPARE(store.read(ProjectFile::Db, QStringLiteral("S"), QStringLiteral("K"), QString(), bufferSize), read);
    // Defaults go through the same buffer.
    QCOMPARE(store.read(ProjectFile::Db, QStringLiteral("S"), QStringLiteral("X"), value, bufferSize), read);
}

void TestProjectStore::batchSharesOneRewrite()
{
    ProjectStore store(m_dir->path());
    store.load();
    const int before = store.rewriteCount(ProjectFile::Db);
    {
        ProjectStore::Batch outer(store);
        for (int a = 0; a < 64; ++a) {
            ProjectStore::Batch inner(store);
            const QString section = QStringLiteral("M1A%1").arg(a);
            store.writeThrough(ProjectFile::Db, section, QStringLiteral("NAME"), section);
            store.writeThrough(ProjectFile::Db, section, QStringLiteral("STATUS"), QStringLiteral("0"));
        }
        QCOMPARE(store.rewriteCount(ProjectFile::Db), before);
        QCOMPARE(onDisk(store, ProjectFile::Db, "M1A63", "NAME"), QByteArray("<missing>"));
        // Reads inside the batch see the copy.
        QCOMPARE(store.read(ProjectFile::Db, QStringLiteral("M1A63"), QStringLiteral("NAME")), QStringLiteral("M1A63"));
    }
    QCOMPARE(store.rewriteCount(ProjectFile::Db), before + 1);
    QCOMPARE(onDisk(store, ProjectFile::Db, "M1A63", "NAME"), QByteArray("M1A63"));

    // A batch without writes rewrites nothing.
    { ProjectStore::Batch idle(store); }
    QCOMPARE(store.rewriteCount(ProjectFile::Db), before + 1);
}

void TestProjectStore::failedWriteIsLoggedAndKeptInMemory()
{
    RecordingLog log;
    ProjectStore store(m_dir->path(), &log);
    const QString db = store.filePath(ProjectFile::Db);
    writeBytes(db, "[M1]\r\nNAME=a\r\n");
    QVERIFY(store.load());

    // A directory in place of the file: no rewrite can succeed.
    QVERIFY(QFile::remove(db));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("db.ctt")));
    QVERIFY(!store.writeThrough(ProjectFile::Db, QStringLiteral("M1"), QStringLiteral("NAME"), QStringLiteral("b")));
    QCOMPARE(log.lines().size(), 1);
    QVERIFY2(log.lines().first().startsWith(QStringLiteral("Failure,Cannot write ")), qPrintable(log.lines().first()));
    QVERIFY(log.lines().first().contains(QDir::toNativeSeparators(db)));
    QVERIFY(log.lines().first().endsWith(QStringLiteral(".\r\n")));
    QCOMPARE(store.read(ProjectFile::Db, QStringLiteral("M1"), QStringLiteral("NAME")), QStringLiteral("b"));
    QVERIFY(QFileInfo(db).isDir());

    // Once the file can be written again the change reaches it.
    QVERIFY(QDir(m_dir->path()).rmdir(QStringLiteral("db.ctt")));
    QVERIFY(store.saveCopy(ProjectFile::Db));
    QCOMPARE(fileBytes(db), QByteArray("[M1]\r\nNAME=b\r\n"));
}

void TestProjectStore::writesBeforeLoadAreKept()
{
    ProjectStore store(m_dir->path());
    writeBytes(store.filePath(ProjectFile::Db), "[B0]\r\nCOM=0\r\n");
    QVERIFY(!store.isLoaded(ProjectFile::Db));
    store.writeThrough(ProjectFile::Db, QStringLiteral("M1"), QStringLiteral("NAME"), QStringLiteral("early"));
    store.writeToCopy(ProjectFile::Db, QStringLiteral("M1"), QStringLiteral("STATUS"), QStringLiteral("1"));
    QCOMPARE(store.read(ProjectFile::Db, QStringLiteral("M1"), QStringLiteral("NAME")), QStringLiteral("early"));

    QVERIFY(store.load());
    QVERIFY(store.isLoaded(ProjectFile::Db));
    QVERIFY(store.saveCopy(ProjectFile::Db));
    QCOMPARE(onDisk(store, ProjectFile::Db, "M1", "NAME"), QByteArray("early"));
    QCOMPARE(onDisk(store, ProjectFile::Db, "M1", "STATUS"), QByteArray("1"));
}

void TestProjectStore::writesDuringLoadAreKept()
{
    // A large db.ctt so that the load takes a while on the worker.
    CCfgData big;
    for (int s = 0; s < 500; ++s)
        for (int k = 0; k < 20; ++k)
            big.set(QByteArray("S") + QByteArray::number(s), QByteArray("K") + QByteArray::number(k), "value");
    ProjectStore store(m_dir->path());
    QVERIFY(big.save(store.filePath(ProjectFile::Db)));

    QThread *loader = QThread::create([&store] { store.load(); });
    loader->start();
    // Whichever side of the load each write falls on, none may be lost.
    for (int i = 0; i < 10; ++i)
        store.writeThrough(ProjectFile::Db, QStringLiteral("EARLY"), QStringLiteral("K%1").arg(i), QString::number(i));
    QVERIFY(loader->wait(60000));
    delete loader;

    QVERIFY(store.isLoaded(ProjectFile::Db));
    QVERIFY(store.saveCopy(ProjectFile::Db));
    CCfgData saved;
    QVERIFY(saved.load(store.filePath(ProjectFile::Db)));
    QCOMPARE(saved.keys("EARLY").size(), 10);
    QCOMPARE(saved.get("EARLY", "K9"), QByteArray("9"));
    QCOMPARE(saved.get("S499", "K19"), QByteArray("value"));
}

void TestProjectStore::unreadableFileIsNotCached()
{
    ProjectStore store(m_dir->path());
    writeBytes(store.filePath(ProjectFile::Db), "[B0]\r\nCOM=0\r\n");
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("DeviceType.ini")));

    QStringList failures;
    QVERIFY(!store.load(&failures));
    QCOMPARE(failures.size(), 1);
    QVERIFY(failures.first().startsWith(QStringLiteral("Failure,Cannot read ")));
    QVERIFY(store.isLoaded(ProjectFile::Db));
    QVERIFY(!store.isLoaded(ProjectFile::DeviceType));
    QVERIFY(!store.saveCopy(ProjectFile::DeviceType));
    QVERIFY(QFileInfo(store.filePath(ProjectFile::DeviceType)).isDir());
}

void TestProjectStore::startupChecks_data()
{
    QTest::addColumn<QByteArray>("db");          // null: missing; "dir": a directory in its place
    QTest::addColumn<bool>("deviceTypeExists");
    QTest::addColumn<ProjectStore::StartupResult>("result");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("dbAfter");
    QTest::addColumn<int>("comPort");

    using R = ProjectStore::StartupResult;
    QTest::newRow("both present") << QByteArray("[B0]\r\nCOM=4\r\n") << true << R::Ready << QString()
                                  << QByteArray("[B0]\r\nCOM=4\r\n") << 4;
    QTest::newRow("db.ctt missing is created") << QByteArray() << true << R::Ready << QString()
                                               << QByteArray("[B0]\r\nCOM=0\r\n") << 0;
    QTest::newRow("DeviceType.ini missing") << QByteArray() << false << R::MissingDeviceType
                                            << QStringLiteral("Missing files, failure!")
                                            << QByteArray("[B0]\r\nCOM=0\r\n") << 0;
    QTest::newRow("db.ctt unreadable") << QByteArray("dir") << true << R::ProjectUnreadable
                                       << QStringLiteral("Project data loss or damage, open failed!")
                                       << QByteArray() << 0;
}

void TestProjectStore::startupChecks()
{
    QFETCH(QByteArray, db);
    QFETCH(bool, deviceTypeExists);
    QFETCH(ProjectStore::StartupResult, result);
    QFETCH(QString, message);
    QFETCH(QByteArray, dbAfter);
    QFETCH(int, comPort);

    RecordingLog log;
    ProjectStore store(m_dir->path(), &log);
    if (db == "dir")
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("db.ctt")));
    else if (!db.isNull())
        writeBytes(store.filePath(ProjectFile::Db), db);
    if (deviceTypeExists)
        QVERIFY(QFile::copy(dataPath(QStringLiteral("DeviceType.ini")), store.filePath(ProjectFile::DeviceType)));

    const ProjectStore::StartupCheck check = store.prepareFiles();
    QCOMPARE(check.result, result);
    QCOMPARE(check.message, message);
    QCOMPARE(fileBytes(store.filePath(ProjectFile::Db)), dbAfter);
    QCOMPARE(store.comPortIndex(), comPort);
    QVERIFY(log.lines().isEmpty());
}

void TestProjectStore::deviceTypeName_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");
    QTest::newRow("DEV-08") << 0x08 << QStringLiteral("Colour control");
    QTest::newRow("DEV-00") << 0x00 << QStringLiteral("Fluorescent lamp");
    QTest::newRow("DEV-0A upper case hex") << 0x0A << QStringLiteral("开关");
    QTest::newRow("DEV-0B is not DEV-0b") << 0x0B << QStringLiteral("unknown");
    QTest::newRow("DEV-FF missing") << 0xFF << QStringLiteral("unknown");
}

void TestProjectStore::deviceTypeName()
{
    QFETCH(int, type);
    QFETCH(QString, name);
    ProjectStore store(m_dir->path());
    QVERIFY(QFile::copy(dataPath(QStringLiteral("DeviceType.ini")), store.filePath(ProjectFile::DeviceType)));
    QCOMPARE(store.deviceTypeName(quint8(type)), name);
    QVERIFY(store.load());
    QCOMPARE(store.deviceTypeName(quint8(type)), name);
}

void TestProjectStore::createExpandGroup()
{
    ScriptedPrompter prompter;
    ProjectStore store(m_dir->path());
    writeBytes(store.filePath(ProjectFile::Db), "[E0]\r\nNAME=first\r\n[E2]\r\n");
    store.load();

    QCOMPARE(store.createExpandGroup(prompter), std::optional<int>(1));
    QCOMPARE(onDisk(store, ProjectFile::Db, "E1", "NAME"), QByteArray("Exp1"));
    QCOMPARE(onDisk(store, ProjectFile::Db, "E1", "NAMES0"), QByteArray("Scene0"));
    QCOMPARE(onDisk(store, ProjectFile::Db, "E1", "NAMES15"), QByteArray("Scene15"));
    QCOMPARE(store.createExpandGroup(prompter), std::optional<int>(3));

    {
        ProjectStore::Batch batch(store);
        for (int i = 0; i < ProjectStore::kExpandGroupLimit; ++i)
            store.writeThrough(ProjectFile::Db, QStringLiteral("E%1").arg(i), QStringLiteral("NAME"), QStringLiteral("x"));
    }
    const int rewrites = store.rewriteCount(ProjectFile::Db);
    QCOMPARE(store.createExpandGroup(prompter), std::nullopt);
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("Failure,Allowed only 256 expand group.")});
    QCOMPARE(store.rewriteCount(ProjectFile::Db), rewrites);
}

void TestProjectStore::createSequence()
{
    ScriptedPrompter prompter;
    ProjectStore store(m_dir->path());
    store.load();

    QCOMPARE(store.createSequence(prompter), std::optional<int>(0));
    QCOMPARE(onDisk(store, ProjectFile::Db, "S0", "NAME"), QByteArray("SeqTab0"));
    for (int i = 1; i < ProjectStore::kSequenceLimit; ++i)
        QCOMPARE(store.createSequence(prompter), std::optional<int>(i));
    QCOMPARE(onDisk(store, ProjectFile::Db, "S67", "NAME"), QByteArray("SeqTab67"));
    QVERIFY(prompter.texts().isEmpty());
    QCOMPARE(store.createSequence(prompter), std::nullopt);
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("Failure,Allowed only 68 sequence tables.")});
}

QTEST_GUILESS_MAIN(TestProjectStore)
#include "tst_projectstore.moc"
