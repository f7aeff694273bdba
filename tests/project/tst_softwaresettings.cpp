#include "ccfgdata.h"
#include "projectstore.h"
#include "softwaresettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using lumaro::ProjectFile;
using lumaro::ProjectStore;
using lumaro::SoftwareSettings;

class TestSoftwareSettings : public QObject
{
    Q_OBJECT

private slots:
    void defaultsWithoutFile();
    void values_data();
    void values();
    void writeSettingKeepsOtherKeys();
};

void TestSoftwareSettings::defaultsWithoutFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const SoftwareSettings s = SoftwareSettings::read(ProjectStore(dir.path()));
    QCOMPARE(s.language, 0);
    QCOMPARE(s.comTimeout, 1500);
    QCOMPARE(s.checkThreadCount, 60);
    QCOMPARE(s.allCheckThreadCount, 15);
    QCOMPARE(s.noCheckFlag, QStringLiteral("0"));
    QVERIFY(!s.statusPollPaused());
    QCOMPARE(s.logDayClear, 180);
    QVERIFY(!s.restoreFactory);
    QVERIFY(!s.manuallyAddId);
}

// Each row: one line of section SOFTWARE, the setting it concerns and the value taken.
void TestSoftwareSettings::values_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<int>("value");

    const QString timeout = QStringLiteral("comTimeout");
    QTest::newRow("COMTIMEOUT=500") << QByteArray("COMTIMEOUT=500") << timeout << 500;
    QTest::newRow("COMTIMEOUT=5000") << QByteArray("COMTIMEOUT=5000") << timeout << 5000;
    QTest::newRow("COMTIMEOUT=499") << QByteArray("COMTIMEOUT=499") << timeout << 1500;
    QTest::newRow("COMTIMEOUT=5001") << QByteArray("COMTIMEOUT=5001") << timeout << 1500;
    QTest::newRow("COMTIMEOUT=2000ms") << QByteArray("COMTIMEOUT=2000ms") << timeout << 1500;
    QTest::newRow("COMTIMEOUT=") << QByteArray("COMTIMEOUT=") << timeout << 1500;
    QTest::newRow("comtimeout=800") << QByteArray("comtimeout=800") << timeout << 1500;

    const QString check = QStringLiteral("checkThreadCount");
    QTest::newRow("CHECKTHREADCOUNT=1") << QByteArray("CHECKTHREADCOUNT=1") << check << 1;
    QTest::newRow("CHECKTHREADCOUNT=300") << QByteArray("CHECKTHREADCOUNT=300") << check << 300;
    QTest::newRow("CHECKTHREADCOUNT=0") << QByteArray("CHECKTHREADCOUNT=0") << check << 60;
    QTest::newRow("CHECKTHREADCOUNT=301") << QByteArray("CHECKTHREADCOUNT=301") << check << 60;

    const QString allCheck = QStringLiteral("allCheckThreadCount");
    QTest::newRow("ALLCHECKTHREADCOUNT=60") << QByteArray("ALLCHECKTHREADCOUNT=60") << allCheck << 60;
    QTest::newRow("ALLCHECKTHREADCOUNT=61") << QByteArray("ALLCHECKTHREADCOUNT=61") << allCheck << 15;
    QTest::newRow("ALLCHECKTHREADCOUNT=-5") << QByteArray("ALLCHECKTHREADCOUNT=-5") << allCheck << 15;

    const QString paused = QStringLiteral("statusPollPaused");
    QTest::newRow("NOCHECKFLAG=0") << QByteArray("NOCHECKFLAG=0") << paused << 0;
    QTest::newRow("NOCHECKFLAG=1") << QByteArray("NOCHECKFLAG=1") << paused << 1;
    QTest::newRow("NOCHECKFLAG=no") << QByteArray("NOCHECKFLAG=no") << paused << 1;
    QTest::newRow("NOCHECKFLAG=") << QByteArray("NOCHECKFLAG=") << paused << 1;

    const QString days = QStringLiteral("logDayClear");
    QTest::newRow("LOGDAYCLR=30") << QByteArray("LOGDAYCLR=30") << days << 30;
    QTest::newRow("LOGDAYCLR=0") << QByteArray("LOGDAYCLR=0") << days << 180;
    QTest::newRow("LOGDAYCLR=-1") << QByteArray("LOGDAYCLR=-1") << days << 180;

    const QString language = QStringLiteral("language");
    QTest::newRow("LANGUAGE=1") << QByteArray("LANGUAGE=1") << language << 1;
    QTest::newRow("LANGUAGE=2") << QByteArray("LANGUAGE=2") << language << 0;

    QTest::newRow("RESTOREFACTORY=1") << QByteArray("RESTOREFACTORY=1") << QStringLiteral("restoreFactory") << 1;
    QTest::newRow("RESTOREFACTORY=2") << QByteArray("RESTOREFACTORY=2") << QStringLiteral("restoreFactory") << 0;
    QTest::newRow("MANUALLYADDID=2") << QByteArray("MANUALLYADDID=2") << QStringLiteral("manuallyAddId") << 1;
    QTest::newRow("MANUALLYADDID=0") << QByteArray("MANUALLYADDID=0") << QStringLiteral("manuallyAddId") << 0;
}

void TestSoftwareSettings::values()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, setting);
    QFETCH(int, value);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    ProjectStore store(dir.path());
    QFile file(store.filePath(ProjectFile::SoftSet));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[SOFTWARE]\r\n" + line + "\r\n");
    file.close();

    const SoftwareSettings s = SoftwareSettings::read(store);
    const QHash<QString, int> taken = {
        {QStringLiteral("comTimeout"), s.comTimeout},
        {QStringLiteral("checkThreadCount"), s.checkThreadCount},
        {QStringLiteral("allCheckThreadCount"), s.allCheckThreadCount},
        {QStringLiteral("statusPollPaused"), s.statusPollPaused()},
        {QStringLiteral("logDayClear"), s.logDayClear},
        {QStringLiteral("language"), s.language},
        {QStringLiteral("restoreFactory"), s.restoreFactory},
        {QStringLiteral("manuallyAddId"), s.manuallyAddId},
    };
    QVERIFY(taken.contains(setting));
    QCOMPARE(taken.value(setting), value);
}

void TestSoftwareSettings::writeSettingKeepsOtherKeys()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    ProjectStore store(dir.path());
    QVERIFY(store.writeSetting(QStringLiteral("COMTIMEOUT"), QStringLiteral("2000")));
    QVERIFY(store.writeSetting(QStringLiteral("LANGUAGE"), QStringLiteral("1")));

    const SoftwareSettings s = SoftwareSettings::read(store);
    QCOMPARE(s.comTimeout, 2000);
    QCOMPARE(s.language, 1);
    QFile file(store.filePath(ProjectFile::SoftSet));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[SOFTWARE]\r\nCOMTIMEOUT=2000\r\nLANGUAGE=1\r\n"));
}

QTEST_GUILESS_MAIN(TestSoftwareSettings)
#include "tst_softwaresettings.moc"
