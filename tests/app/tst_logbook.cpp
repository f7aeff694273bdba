#include "clock.h"
#include "logbook.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace lumaro;

namespace {
const QDateTime kMorning(QDate(2024, 5, 17), QTime(8, 9, 10));
const QString kPrefix = QStringLiteral("2024-05-17  08:09:10  >");

QString readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("<missing>");
    return QString::fromUtf8(f.readAll());
}
}  // namespace

class TestLogBook : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void linesAreBuiltFromPieces();
    void shortPendingTextWaits();
    void firstLineCreatesTodaysFile();
    void flushAfter250Entries();
    void flushOnDayChange();
    void clear();
    void keepDays_data();
    void keepDays();
    void unwritableFileKeepsEntries();

private:
    std::unique_ptr<QTemporaryDir> m_tmp;
    QDir m_dir;
    FixedClock m_clock{kMorning};
};

void TestLogBook::init()
{
    m_tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tmp->isValid());
    m_dir.setPath(m_tmp->path());
    m_clock.set(kMorning);
}

void TestLogBook::linesAreBuiltFromPieces()
{
    LogBook log(m_dir.path(), m_clock);
    log.log(QStringLiteral("Lumaro software open success.\r\n"));
    log.log(QStringLiteral("Loading data,Please wait ... "));
    m_clock.advanceSeconds(2);
    log.log(QStringLiteral("Finish.\r\n"));
    log.log(QStringLiteral("M1A5 OFF ... "));
    log.log(QStringLiteral("OK.\r\n"));
    QCOMPARE(log.entries(), (QStringList{
        kPrefix + QStringLiteral("Lumaro software open success.\r\n"),
        kPrefix + QStringLiteral("Loading data,Please wait ... Finish.\r\n"),
        QStringLiteral("2024-05-17  08:09:12  >M1A5 OFF ... OK.\r\n"),
    }));
    QCOMPARE(log.data(log.index(2), Qt::DisplayRole).toString(), QStringLiteral("2024-05-17  08:09:12  >M1A5 OFF ... OK."));
}

void TestLogBook::shortPendingTextWaits()
{
    LogBook log(m_dir.path(), m_clock);
    log.appendPending(QStringLiteral("ab"));
    log.writePending();
    QVERIFY(log.entries().isEmpty());
    QCOMPARE(log.pending(), QStringLiteral("ab"));
    log.log(QStringLiteral("cd\r\n"));
    QCOMPARE(log.entries(), QStringList{kPrefix + QStringLiteral("abcd\r\n")});
}

void TestLogBook::firstLineCreatesTodaysFile()
{
    LogBook log(m_dir.path(), m_clock);
    const QString file = m_dir.filePath(QStringLiteral("2024-05-17-log.txt"));
    QCOMPARE(log.dailyFilePath(), file);
    log.log(QStringLiteral("no line end yet "));
    QVERIFY(!QFile::exists(file));
    log.log(QStringLiteral("done\r\n"));
    QCOMPARE(readFile(file), QString());
    QCOMPARE(log.entries().size(), 1);
}

void TestLogBook::flushAfter250Entries()
{
    LogBook log(m_dir.path(), m_clock);
    for (int i = 1; i <= 251; ++i)
        log.log(QStringLiteral("line %1\r\n").arg(i));
    QCOMPARE(log.entries(), QStringList{kPrefix + QStringLiteral("line 251\r\n")});
    const QStringList fileLines = readFile(log.dailyFilePath()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(fileLines.size(), 250);
    QCOMPARE(fileLines.first(), kPrefix + QStringLiteral("line 1"));
    QCOMPARE(fileLines.last(), kPrefix + QStringLiteral("line 250"));
}

void TestLogBook::flushOnDayChange()
{
    LogBook log(m_dir.path(), m_clock);
    log.log(QStringLiteral("first\r\n"));
    log.log(QStringLiteral("second\r\n"));
    m_clock.set(kMorning.addDays(1));
    // An open line is never split by the flush.
    log.log(QStringLiteral("third "));
    QCOMPARE(log.entries().size(), 3);
    log.log(QStringLiteral("ends\r\n"));
    QCOMPARE(log.entries(), QStringList{QStringLiteral("2024-05-18  08:09:10  >third ends\r\n")});
    QCOMPARE(readFile(m_dir.filePath(QStringLiteral("2024-05-18-log.txt"))),
             kPrefix + QStringLiteral("first\r\n") + kPrefix + QStringLiteral("second\r\n"));
}

void TestLogBook::clear()
{
    LogBook log(m_dir.path(), m_clock);
    QVERIFY(log.clear());
    QCOMPARE(readFile(log.dailyFilePath()), QString());
    log.log(QStringLiteral("one\r\n"));
    log.log(QStringLiteral("unfinished "));
    QVERIFY(log.clear());
    QVERIFY(log.entries().isEmpty());
    QCOMPARE(readFile(log.dailyFilePath()),
             kPrefix + QStringLiteral("one\r\n") + kPrefix + QStringLiteral("unfinished \r\n"));
}

void TestLogBook::keepDays_data()
{
    QTest::addColumn<int>("setting");
    QTest::addColumn<int>("ageDays");
    QTest::addColumn<bool>("kept");
    QTest::newRow("LOGDAYCLR 0, 179 days old") << 0 << 179 << true;
    QTest::newRow("LOGDAYCLR 0, 181 days old") << 0 << 181 << false;
    QTest::newRow("LOGDAYCLR 7, 6 days old") << 7 << 6 << true;
    QTest::newRow("LOGDAYCLR 7, 8 days old") << 7 << 8 << false;
}

void TestLogBook::keepDays()
{
    QFETCH(int, setting);
    QFETCH(int, ageDays);
    QFETCH(bool, kept);
    m_clock.set(QDateTime::currentDateTime());
    const QString old = m_dir.filePath(QStringLiteral("2020-01-01-log.txt"));
    const QString other = m_dir.filePath(QStringLiteral("notes.txt"));
    for (const QString &path : {old, other}) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.setFileTime(m_clock.now().addDays(-ageDays), QFileDevice::FileModificationTime));
    }
    LogBook log(m_dir.path(), m_clock);
    log.setKeepDays(setting);
    log.log(QStringLiteral("start\r\n"));
    QCOMPARE(QFile::exists(old), kept);
    QVERIFY(QFile::exists(other));
}

void TestLogBook::unwritableFileKeepsEntries()
{
    LogBook log(m_dir.path(), m_clock);
    // A folder where today's file should be: the file cannot be opened.
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("2024-05-17-log.txt")));
    log.log(QStringLiteral("kept\r\n"));
    QVERIFY(!log.clear());
    QCOMPARE(log.entries(), QStringList{kPrefix + QStringLiteral("kept\r\n")});
}

QTEST_GUILESS_MAIN(TestLogBook)
#include "tst_logbook.moc"
