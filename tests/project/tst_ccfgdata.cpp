#include "ccfgdata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using lumaro::CCfgData;

class TestCCfgData : public QObject
{
    Q_OBJECT

private slots:
    void readingRules_data();
    void readingRules();
    void lookups();
    void editsAndWriting();
    void saveAndReloadKeepsGbkBytes();
    void saveFailureLeavesFileAlone();
};

// Each row: file bytes, and the copy written back (sections and keys in file order).
void TestCCfgData::readingRules_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("NAME=a=b") << QByteArray("[S]\r\nNAME=a=b\r\n") << QByteArray("[S]\r\nNAME=b\r\n");
    QTest::newRow("  NAME  =   Hall 1  ")
        << QByteArray("[S]\r\n  NAME  =   Hall 1  \r\n") << QByteArray("[S]\r\nNAME=Hall 1\r\n");
    QTest::newRow("[M3] without keys") << QByteArray("[M3]\r\n") << QByteArray("[M3]\r\n");
    QTest::newRow("[ M3 ]") << QByteArray("[ M3 ]\r\nA=1\r\n") << QByteArray("[M3]\r\nA=1\r\n");
    QTest::newRow("A=1 before any section") << QByteArray("A=1\r\n[S]\r\nB=2\r\n") << QByteArray("[S]\r\nB=2\r\n");
    QTest::newRow("B=2 last line without line end")
        << QByteArray("[S]\r\nA=1\r\nB=2") << QByteArray("[S]\r\nA=1\r\n");
    QTest::newRow("A=1 LF B=2 CR C=3")
        << QByteArray("[S]\nA=1\nB=2\rC=3\r\n") << QByteArray("[S]\r\nA=1\r\nB=2\r\nC=3\r\n");
    QTest::newRow("A=1;comment B=2") << QByteArray("[S]\r\nA=1;comment B=2\r\n") << QByteArray("[S]\r\nA=1\r\n");
    QTest::newRow(";A=1") << QByteArray("[S]\r\n;A=1\r\nB=2\r\n") << QByteArray("[S]\r\nB=2\r\n");
    QTest::newRow("[T;]") << QByteArray("[S]\r\n[T;]\r\nA=1\r\n") << QByteArray("[S]\r\nA=1\r\n");
    QTest::newRow("A=1 then A=2") << QByteArray("[S]\r\nA=1\r\nB=0\r\nA=2\r\n") << QByteArray("[S]\r\nA=2\r\nB=0\r\n");
    QTest::newRow("[S] twice starts afresh")
        << QByteArray("[S]\r\nA=1\r\n[T]\r\nB=1\r\n[S]\r\nC=1\r\n")
        << QByteArray("[S]\r\nC=1\r\n[T]\r\nB=1\r\n");
    QTest::newRow("  [T] after blanks") << QByteArray("[S]\r\n  [T]\r\nA=1\r\n") << QByteArray("[S]\r\n[T]\r\nA=1\r\n");
    QTest::newRow("A[1]=x") << QByteArray("[S]\r\nA[1]=x\r\n") << QByteArray("[S]\r\nA[1]=x\r\n");
    QTest::newRow("A=[x]") << QByteArray("[S]\r\nA=[x]\r\n") << QByteArray("[S]\r\nA=[x]\r\n");
    QTest::newRow("[ ] keeps the open section") << QByteArray("[S]\r\n[ ]\r\nA=1\r\n") << QByteArray("[S]\r\nA=1\r\n");
    QTest::newRow("[T without ]") << QByteArray("[S]\r\n[T\r\nA=1\r\n") << QByteArray("[S]\r\nA=1\r\n");
    QTest::newRow("[T]A=1") << QByteArray("[T]A=1\r\n") << QByteArray("[T]\r\nA=1\r\n");
    QTest::newRow("FLAG") << QByteArray("[S]\r\nFLAG\r\n") << QByteArray("[S]\r\nFLAG=\r\n");
    QTest::newRow("=1") << QByteArray("[S]\r\n=1\r\n") << QByteArray("[S]\r\n");
    QTest::newRow("name=a NAME=b") << QByteArray("[S]\r\nname=a\r\nNAME=b\r\n") << QByteArray("[S]\r\nname=a\r\nNAME=b\r\n");
    // GBK: the second byte of a character is text even when it is ']', '=', ';', '[' or CR.
    QTest::newRow("NAME=<81 5D><81 3D><81 3B>")
        << QByteArray("[S]\r\nNAME=\x81\x5d\x81\x3d\x81\x3b\r\n")
        << QByteArray("[S]\r\nNAME=\x81\x5d\x81\x3d\x81\x3b\r\n");
    QTest::newRow("[<81 5D>x]") << QByteArray("[\x81\x5d" "x]\r\nA=1\r\n") << QByteArray("[\x81\x5d" "x]\r\nA=1\r\n");
    QTest::newRow("K<81 3D>=v") << QByteArray("[S]\r\nK\x81\x3d=v\r\n") << QByteArray("[S]\r\nK\x81\x3d=v\r\n");
    QTest::newRow("A=<81 0D>B") << QByteArray("[S]\r\nA=\x81\rB\r\n") << QByteArray("[S]\r\nA=\x81\rB\r\n");
    QTest::newRow("A=<B5 C6> <B5 C6>")
        << QByteArray("[S]\r\nA= \xb5\xc6 \xb5\xc6 \r\n") << QByteArray("[S]\r\nA=\xb5\xc6 \xb5\xc6\r\n");
    QTest::newRow("lead byte at the end") << QByteArray("[S]\r\nA=1\r\n\x81") << QByteArray("[S]\r\nA=1\r\n");
}

void TestCCfgData::readingRules()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, written);

    CCfgData data;
    data.loadBytes(file);
    QCOMPARE(data.toBytes(), written);

    // What was written reads back as the same copy.
    CCfgData again;
    again.loadBytes(data.toBytes());
    QVERIFY(again == data);
}

void TestCCfgData::lookups()
{
    CCfgData data;
    data.loadBytes("[M3]\r\n[M4]\r\nNAME=Hall\r\nEMPTY=\r\n");

    QVERIFY(data.sectionExists("M3"));
    QVERIFY(!data.sectionExists("m3"));
    QVERIFY(!data.sectionExists("M5"));
    QCOMPARE(data.get("M4", "NAME", "x"), QByteArray("Hall"));
    QCOMPARE(data.get("M4", "EMPTY", "x"), QByteArray(""));
    QCOMPARE(data.get("M4", "name", "x"), QByteArray("x"));
    QCOMPARE(data.get("M5", "NAME", "x"), QByteArray("x"));
    QCOMPARE(data.sectionNames(), (QList<QByteArray>{"M3", "M4"}));
    QCOMPARE(data.keys("M4"), (QList<QByteArray>{"NAME", "EMPTY"}));
}

void TestCCfgData::editsAndWriting()
{
    CCfgData data;
    const QByteArray original = "[B0]\r\nCOM=0\r\n[M1]\r\nNAME=a\r\nLOCATION=b\r\nVER=1\r\n[M2]\r\nNAME=c\r\n";
    data.loadBytes(original);
    // Written once before the edits, so that what was written then must not come back.
    QCOMPARE(data.toBytes(), original);

    data.set("M1", "NAME", "Hall");
    data.set("M3", "NAME", "new");
    QVERIFY(data.deleteKey("M1", "LOCATION"));
    QVERIFY(!data.deleteKey("M1", "LOCATION"));
    QVERIFY(data.deleteSection("B0"));
    QVERIFY(!data.deleteSection("B0"));
    data.addSection("M4");
    data.set("", "K", "v");
    data.set("M1", "", "v");

    QCOMPARE(data.toBytes(), QByteArray("[M1]\r\nNAME=Hall\r\nVER=1\r\n"
                                        "[M2]\r\nNAME=c\r\n"
                                        "[M3]\r\nNAME=new\r\n"
                                        "[M4]\r\n"));
    // Lookups still find what moved up after the deletions.
    QCOMPARE(data.get("M1", "VER"), QByteArray("1"));
    QCOMPARE(data.get("M2", "NAME"), QByteArray("c"));
}

void TestCCfgData::saveAndReloadKeepsGbkBytes()
{
    const QString fixture = qEnvironmentVariable("LUMARO_TEST_DATA") + QStringLiteral("/project/gbk.ini");
    CCfgData data;
    QVERIFY(data.load(fixture));
    QCOMPARE(data.get("M1A9", "NAME"), QByteArray("\xb5\xc6\x81\x5d"));

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("copy.ini"));
    QVERIFY(data.save(path));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), data.toBytes());

    CCfgData reloaded;
    QVERIFY(reloaded.load(path));
    QVERIFY(reloaded == data);
}

void TestCCfgData::saveFailureLeavesFileAlone()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("taken"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("taken")));

    CCfgData data;
    data.set("S", "K", "v");
    QString error;
    QVERIFY(!data.save(path, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QFileInfo(path).isDir());

    CCfgData missing;
    QVERIFY(!missing.load(dir.filePath(QStringLiteral("none.ini"))));
    QVERIFY(missing.isEmpty());
}

QTEST_GUILESS_MAIN(TestCCfgData)
#include "tst_ccfgdata.moc"
