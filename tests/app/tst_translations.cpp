// Every text of the program that goes through the translator must have a finished Chinese
// translation. lupdate is run over the sources into a copy of the committed translation file, so
// a new text that nobody translated fails here.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

class TestTranslations : public QObject
{
    Q_OBJECT
private slots:
    void everyTextHasChinese();
};

void TestTranslations::everyTextHasChinese()
{
    const QDir source(QStringLiteral(LUMARO_SOURCE_DIR_PATH));
    QTemporaryDir tmp;
    const QString ts = tmp.filePath(QStringLiteral("lumaro_zh_CN.ts"));
    QVERIFY(QFile::copy(source.filePath(QStringLiteral("i18n/lumaro_zh_CN.ts")), ts));
    QFile::setPermissions(ts, QFile::ReadOwner | QFile::WriteOwner);

    QStringList args;
    for (const char *dir : {LUMARO_TRANSLATED_DIRS})
        args << source.filePath(QString::fromLatin1(dir));
    args << QStringLiteral("-extensions") << QStringLiteral("cpp,h") << QStringLiteral("-locations") << QStringLiteral("none")
         << QStringLiteral("-ts") << ts;
    QProcess lupdate;
    lupdate.start(QStringLiteral(LUPDATE_PATH), args);
    QVERIFY(lupdate.waitForFinished(120000));
    QVERIFY2(lupdate.exitCode() == 0, lupdate.readAllStandardError().constData());

    QFile file(ts);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString context, source_;
    QStringList missing;
    int messages = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            source_ = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            if (type == QLatin1String("vanished") || type == QLatin1String("obsolete"))
                continue;
            ++messages;
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            if (type == QLatin1String("unfinished") || text.isEmpty())
                missing << context + QStringLiteral(": ") + source_;
        }
    }
    QVERIFY(!xml.hasError());
    QVERIFY(messages > 0);
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("Texts without a finished Chinese translation:\n") + missing.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
