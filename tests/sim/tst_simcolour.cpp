// The colour of simulated DT8 gear as the gateway serves it (items 0x72..0x7A), and the
// installation keys that set it.
#include "frame.h"
#include "installation.h"
#include "simline.h"

#include <QTest>

using namespace lumaro;
using namespace lumaro::sim;

namespace {
QByteArray frame(const char *hex)
{
    return Frame::withChecksum(QByteArray::fromHex(hex)).bytes();
}
}  // namespace

class TestSimColour : public QObject
{
    Q_OBJECT
private slots:
    void colourRead_data();
    void colourRead();
};

void TestSimColour::colourRead_data()
{
    QTest::addColumn<QByteArray>("gearKeys");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("Tc gear: colour type 2, 250 mirek")
        << QByteArray("TYPE=08\nCOLOURTYPE=2\nTC=250\n") << frame("014305720002") << frame("014304000200FA");
    QTest::newRow("Tc by default, 250 mirek")
        << QByteArray("TYPE=08\n") << frame("014305720002") << frame("014304000200FA");
    QTest::newRow("RGBW gear: colour type, R, G, B, W")
        << QByteArray("TYPE=08\nCOLOURTYPE=128\nR=254\nG=1\nB=0\nW=200\n") << frame("014305720005")
        << frame("01430A008000FE0001000000C8");
    QTest::newRow("Tc and RGB gear reads its Tc") << QByteArray("TYPE=08\nCOLOURTYPE=98\nTC=300\nR=5\n")
        << frame("014305720002") << frame("0143040062012C");
    QTest::newRow("LED gear does not answer") << QByteArray("TYPE=06\n") << frame("014305720002") << frame("01C304");
}

void TestSimColour::colourRead()
{
    QFETCH(QByteArray, gearKeys);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, answer);
    const Installation installation = Installation::fromText("[M1A5]\n" + gearKeys);
    QVERIFY2(installation.warnings().isEmpty(), qPrintable(installation.warnings().join(u'\n')));
    SimLine line(installation);
    QCOMPARE(line.exchange(request).answer.toHex(), answer.toHex());
}

QTEST_MAIN(TestSimColour)
#include "tst_simcolour.moc"
