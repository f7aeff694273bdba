// The addressing test: its texts, the alternation of maximum to the target and the low step to
// the whole gateway, the exclusive mode boxes, and the stop, driven interval by interval.
#include "ctestadressing.h"
#include "devicefixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTest>

using namespace lumaro;

namespace {

const char *const kProject = "[M3]\nNAME=Meeting\n[M3G2]\nNAME=Walls\n[M3A0]\nGROUP2=TRUE\n[M3A1]\n";
const char *const kLine = "[M3A0]\n[M3A1]\n";

CurrentTarget groupTwoOfGatewayThree()
{
    CurrentTarget t;
    t.gateway = 3;
    t.targetCode = protocol::target::group(2);
    t.label = QStringLiteral("M3G2");
    return t;
}

}  // namespace

class TestAddressingTest : public QObject
{
    Q_OBJECT
private slots:
    void texts();
    void alternation_data();
    void alternation();
    void otherBoxRestartsWithOff();
    void uncheckAndCloseStop();

private:
    // One interval of the dialog's timer, then the link until it has sent and logged.
    void interval(CTestAdressing &dialog, DeviceFixture &fx)
    {
        QVERIFY(dialog.isTimerRunning());
        dialog.logic().intervalTick();
        fx.settle();
    }
};

void TestAddressingTest::texts()
{
    DeviceFixture fx(kProject, kLine);
    CTestAdressing dialog(*fx.context, groupTwoOfGatewayThree(), QStringLiteral("Walls"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Test addressing - Walls - M3G2"));
    QCOMPARE(dialog.findChild<QLabel *>("explanation")->text(),
             QStringLiteral("Select the following action mode, then belong to the ID M3G2 slave will "
                            "show obvious brightness changes to indicate its installation position."));
    QStringList items;
    for (int i = 0; i < dialog.intervalList()->count(); ++i)
        items << dialog.intervalList()->itemText(i);
    QCOMPARE(items, (QStringList{"0.5", "1", "1.5", "2", "2.5", "3"}));
    QCOMPARE(dialog.intervalList()->currentText(), QStringLiteral("1"));
    QCOMPARE(dialog.offMaxBox()->text(), QStringLiteral("OFF + Max level"));
    QCOMPARE(dialog.minMaxBox()->text(), QStringLiteral("Min level + Max level"));
    // The background poll stays out while the dialog is open.
    QVERIFY(!fx.poll->isEnabled());
    dialog.reject();   // the close box
    QVERIFY(fx.poll->isEnabled());

    const QString shots = qEnvironmentVariable("LUMARO_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        dialog.offMaxBox()->setChecked(true);
        dialog.resize(dialog.sizeHint());
        dialog.grab().save(shots + QStringLiteral("/ctestadressing.png"));
    }
}

void TestAddressingTest::alternation_data()
{
    QTest::addColumn<bool>("minMode");
    QTest::addColumn<int>("intervalIndex");
    QTest::addColumn<int>("targetCode");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QList<QByteArray>>("frames");
    QTest::addColumn<QStringList>("logLines");

    QTest::newRow("min + max on group 2 of M3 at 0.5 s: 03 46 42 00 00 05 / 03 46 50 00 00 06")
        << true << 0 << 66 << "M3G2"
        << QList<QByteArray>{DeviceFixture::frame("034650000000"), DeviceFixture::frame("034642000005"),
                             DeviceFixture::frame("034650000006"), DeviceFixture::frame("034642000005")}
        << QStringList{"M3 OFF ... OK.\r\n", "M3G2 Recall Max level... OK.\r\n",
                       "M3 Recall Min level... OK.\r\n", "M3G2 Recall Max level... OK.\r\n"};
    QTest::newRow("off + max on the gateway: the maximum goes to target 80")
        << false << 3 << 80 << "M3"
        << QList<QByteArray>{DeviceFixture::frame("034650000000"), DeviceFixture::frame("034650000005"),
                             DeviceFixture::frame("034650000000"), DeviceFixture::frame("034650000005")}
        << QStringList{"M3 OFF ... OK.\r\n", "M3 Recall Max level... OK.\r\n",
                       "M3 OFF ... OK.\r\n", "M3 Recall Max level... OK.\r\n"};
}

void TestAddressingTest::alternation()
{
    QFETCH(bool, minMode);
    QFETCH(int, intervalIndex);
    QFETCH(int, targetCode);
    QFETCH(QString, label);
    QFETCH(QList<QByteArray>, frames);
    QFETCH(QStringList, logLines);

    DeviceFixture fx(kProject, kLine);
    CurrentTarget target = groupTwoOfGatewayThree();
    target.targetCode = targetCode;
    target.label = label;
    CTestAdressing dialog(*fx.context, target, QStringLiteral("node"));
    dialog.intervalList()->setCurrentIndex(intervalIndex);
    (minMode ? dialog.minMaxBox() : dialog.offMaxBox())->setChecked(true);
    fx.settle();
    QVERIFY(!dialog.intervalList()->isEnabled());
    QCOMPARE(dialog.logic().intervalMs(), 500 * (intervalIndex + 1));
    QCOMPARE(dialog.statusLabel()->text(), QStringLiteral("OFF"));
    interval(dialog, fx);
    QCOMPARE(dialog.statusLabel()->text(), QStringLiteral("Recall Max level"));
    interval(dialog, fx);
    QCOMPARE(dialog.statusLabel()->text(), minMode ? QStringLiteral("Recall Min level") : QStringLiteral("OFF"));
    interval(dialog, fx);
    QCOMPARE(fx.written(), frames);
    QCOMPARE(fx.log.lines(), logLines);
}

void TestAddressingTest::otherBoxRestartsWithOff()
{
    DeviceFixture fx(kProject, kLine);
    CTestAdressing dialog(*fx.context, groupTwoOfGatewayThree(), QStringLiteral("Walls"));
    dialog.minMaxBox()->setChecked(true);
    fx.settle();
    interval(dialog, fx);   // maximum; the low step is next
    dialog.offMaxBox()->setChecked(true);
    fx.settle();
    QVERIFY(!dialog.minMaxBox()->isChecked());
    QCOMPARE(dialog.logic().mode(), AddressingTest::Mode::OffMax);
    QCOMPARE(dialog.logic().phase(), AddressingTest::Phase::MaximumNext);
    interval(dialog, fx);
    interval(dialog, fx);
    QCOMPARE(fx.written(), (QList<QByteArray>{
        DeviceFixture::frame("034650000000"), DeviceFixture::frame("034642000005"),
        DeviceFixture::frame("034650000000"), DeviceFixture::frame("034642000005"),
        DeviceFixture::frame("034650000000")}));
}

void TestAddressingTest::uncheckAndCloseStop()
{
    DeviceFixture fx(kProject, kLine);
    {
        CTestAdressing dialog(*fx.context, groupTwoOfGatewayThree(), QStringLiteral("Walls"));
        dialog.offMaxBox()->setChecked(true);
        fx.settle();
        dialog.offMaxBox()->setChecked(false);
        QVERIFY(!dialog.isTimerRunning());
        QVERIFY(dialog.intervalList()->isEnabled());
        QCOMPARE(dialog.logic().mode(), AddressingTest::Mode::Idle);
        // A stopped test ignores a late tick of its timer.
        dialog.logic().intervalTick();
        fx.settle();
        QCOMPARE(fx.written().size(), 1);

        dialog.minMaxBox()->setChecked(true);
        QVERIFY(dialog.isTimerRunning());
        dialog.reject();   // the close box
        QVERIFY(!dialog.isTimerRunning());
        QVERIFY(fx.poll->isEnabled());
        dialog.logic().intervalTick();
        fx.settle();
        QCOMPARE(fx.written().size(), 2);
    }
    QVERIFY(fx.poll->isEnabled());
}

QTEST_MAIN(TestAddressingTest)
#include "tst_addressingtest.moc"
