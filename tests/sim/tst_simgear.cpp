// SimGear through its public interface: levels, limits, fades, scenes, groups, status and queries.

#include "dalicommand.h"
#include "simgear.h"

#include <QTest>

using lumaro::sim::SimGear;
namespace cmd = lumaro::dali::cmd;
namespace st = lumaro::dali::status;

namespace {
// A gear with narrowed limits, so that clamping shows: physical minimum 85, min 100, max 200,
// scene 2 at 180, scene 4 at 250 (above max), scene 3 MASK, no fade.
SimGear limitedGear(uint8_t level)
{
    SimGear g;
    g.setMaxLevel(200);
    g.setMinLevel(100);
    g.setScene(2, 180);
    g.setScene(4, 250);
    g.setActualLevel(level);
    return g;
}
}  // namespace

class TestSimGear : public QObject
{
    Q_OBJECT
private slots:
    void commands_data();
    void commands();
    void directArcPower_data();
    void directArcPower();
    void resetRestoresResetValues();
    void statusBits();
    void timedFade();
    void fadeToOffAndFromOff();
    void maskStopsFade();
    void configurationCommandsUseDtr0();
    void groupsAndScenes();
    void queries();
    void silentGearObeysButDoesNotAnswer();
};

void TestSimGear::commands_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("opcode");
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("limitError");

    QTest::newRow("OFF from 150") << 150 << int(cmd::Off) << 0 << false;
    QTest::newRow("UP from off: no effect") << 0 << int(cmd::Up) << 0 << false;
    // fade rate 7: 44.7 steps/s for 200 ms, 9 steps
    QTest::newRow("UP from 150: 200 ms at the fade rate") << 150 << int(cmd::Up) << 159 << false;
    QTest::newRow("UP near max stops at max") << 195 << int(cmd::Up) << 200 << false;
    QTest::newRow("DOWN near min stops at min") << 105 << int(cmd::Down) << 100 << false;
    QTest::newRow("DOWN from off: no effect") << 0 << int(cmd::Down) << 0 << false;
    QTest::newRow("STEP UP from 150") << 150 << int(cmd::StepUp) << 151 << false;
    QTest::newRow("STEP UP at max") << 200 << int(cmd::StepUp) << 200 << false;
    QTest::newRow("STEP UP from off: no effect") << 0 << int(cmd::StepUp) << 0 << false;
    QTest::newRow("STEP DOWN at min") << 100 << int(cmd::StepDown) << 100 << false;
    QTest::newRow("STEP DOWN from off: no effect") << 0 << int(cmd::StepDown) << 0 << false;
    QTest::newRow("RECALL MAX from off") << 0 << int(cmd::RecallMaxLevel) << 200 << false;
    QTest::newRow("RECALL MIN from 150") << 150 << int(cmd::RecallMinLevel) << 100 << false;
    QTest::newRow("STEP DOWN AND OFF at min") << 100 << int(cmd::StepDownAndOff) << 0 << false;
    QTest::newRow("STEP DOWN AND OFF above min") << 150 << int(cmd::StepDownAndOff) << 149 << false;
    QTest::newRow("ON AND STEP UP from off") << 0 << int(cmd::OnAndStepUp) << 100 << false;
    QTest::newRow("ON AND STEP UP from 150") << 150 << int(cmd::OnAndStepUp) << 151 << false;
    QTest::newRow("GO TO SCENE 2 (180)") << 150 << int(cmd::goToScene(2)) << 180 << false;
    QTest::newRow("GO TO SCENE 3 (MASK): no effect") << 150 << int(cmd::goToScene(3)) << 150 << false;
    QTest::newRow("GO TO SCENE 4 (250) clamps to max") << 150 << int(cmd::goToScene(4)) << 200 << true;
    QTest::newRow("GO TO LAST ACTIVE LEVEL after OFF") << 150 << int(cmd::GoToLastActiveLevel) << 150 << false;
    QTest::newRow("unknown opcode 9: ignored") << 150 << 9 << 150 << false;
}

void TestSimGear::commands()
{
    QFETCH(int, start);
    QFETCH(int, opcode);
    QFETCH(int, level);
    QFETCH(bool, limitError);

    SimGear g = limitedGear(uint8_t(start));
    if (opcode == cmd::GoToLastActiveLevel)
        g.command(cmd::Off);
    g.command(uint8_t(opcode));
    g.advance(1000);
    QCOMPARE(int(g.actualLevel()), level);
    QCOMPARE(g.limitError(), limitError);
    QCOMPARE(bool(g.status() & st::LimitError), limitError);
    QCOMPARE(bool(g.status() & st::LampPowerOn), level > 0);
    QVERIFY(!g.fadeRunning());
}

void TestSimGear::directArcPower_data()
{
    QTest::addColumn<int>("request");
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("limitError");

    QTest::newRow("150 within limits") << 150 << 150 << false;
    QTest::newRow("50 below min") << 50 << 100 << true;
    QTest::newRow("1 below min") << 1 << 100 << true;
    QTest::newRow("254 above max") << 254 << 200 << true;
    QTest::newRow("0 switches off") << 0 << 0 << false;
    QTest::newRow("255 MASK keeps the level") << 255 << 120 << false;
}

void TestSimGear::directArcPower()
{
    QFETCH(int, request);
    QFETCH(int, level);
    QFETCH(bool, limitError);

    SimGear g = limitedGear(120);
    g.directArcPower(uint8_t(request));
    QCOMPARE(int(g.actualLevel()), level);
    QCOMPARE(g.limitError(), limitError);

    // A later request within the limits clears the limit error.
    g.directArcPower(150);
    QVERIFY(!g.limitError());
}

void TestSimGear::resetRestoresResetValues()
{
    SimGear g = limitedGear(150);
    g.setPhysicalMinimum(60);
    g.setPowerOnLevel(255);
    g.setSystemFailureLevel(10);
    g.setFadeTime(5);
    g.setFadeRate(2);
    g.setGroups(0x0105);
    g.setRandomAddress(0x123456);
    g.setPowerCycleSeen(true);
    g.setLampFailure(true);
    QVERIFY(!g.resetState());

    g.command(cmd::Reset);

    QCOMPARE(int(g.actualLevel()), 254);
    QCOMPARE(int(g.maxLevel()), 254);
    QCOMPARE(int(g.minLevel()), 60);   // the physical minimum
    QCOMPARE(int(g.powerOnLevel()), 254);
    QCOMPARE(int(g.systemFailureLevel()), 254);
    QCOMPARE(int(g.fadeTime()), 0);
    QCOMPARE(int(g.fadeRate()), 7);
    QCOMPARE(int(g.scene(2)), 255);
    QCOMPARE(int(g.groups()), 0);
    QCOMPARE(g.randomAddress(), 0xFFFFFFu);
    QVERIFY(!g.powerCycleSeen());
    QVERIFY(g.lampFailure());   // a failure is not cleared by a command
    QVERIFY(g.resetState());
    QVERIFY(g.status() & st::ResetState);
}

void TestSimGear::statusBits()
{
    SimGear g;
    QCOMPARE(int(g.status()), int(st::ResetState));   // fresh, off

    g.setGroups(1);   // no longer in its reset state
    g.command(cmd::RecallMaxLevel);
    QCOMPARE(int(g.status()), int(st::LampPowerOn));

    g.setLampFailure(true);
    QCOMPARE(int(g.status()), int(st::LampFailure));   // a failed lamp gives no light

    g.setGearFailure(true);
    g.setPowerCycleSeen(true);
    g.setMissingShortAddress(true);
    QCOMPARE(int(g.status()), int(st::ControlGearFailure | st::LampFailure | st::MissingShortAddress
                                  | st::PowerCycleSeen));
}

void TestSimGear::timedFade()
{
    SimGear g = limitedGear(100);
    g.setFadeTime(4);   // 2.0 s
    QCOMPARE(SimGear::fadeTimeMs(4), 2000);

    g.directArcPower(200);
    QVERIFY(g.fadeRunning());
    QVERIFY(g.status() & st::FadeRunning);
    QCOMPARE(int(g.actualLevel()), 100);
    QCOMPARE(int(g.targetLevel()), 200);

    g.advance(1000);
    QCOMPARE(int(g.actualLevel()), 150);
    QVERIFY(g.status() & st::FadeRunning);

    g.advance(1000);
    QCOMPARE(int(g.actualLevel()), 200);
    QVERIFY(!g.fadeRunning());
    QVERIFY(!(g.status() & st::FadeRunning));

    // Without a fade time the change is instantaneous and no fade ever runs.
    g.setFadeTime(0);
    g.directArcPower(120);
    QCOMPARE(int(g.actualLevel()), 120);
    QVERIFY(!g.fadeRunning());

    // Scenes fade too; RECALL MAX does not.
    g.setFadeTime(4);
    g.command(cmd::goToScene(2));
    QVERIFY(g.fadeRunning());
    g.command(cmd::RecallMaxLevel);
    QVERIFY(!g.fadeRunning());
    QCOMPARE(int(g.actualLevel()), 200);
}

void TestSimGear::fadeToOffAndFromOff()
{
    SimGear g = limitedGear(0);
    g.setFadeTime(4);

    // From off the lamp ignites at the minimum and fades up from there.
    g.directArcPower(200);
    QCOMPARE(int(g.actualLevel()), 100);
    g.advance(2000);
    QCOMPARE(int(g.actualLevel()), 200);

    // To off it fades down to the minimum and switches off at the end.
    g.directArcPower(0);
    g.advance(1999);
    QVERIFY(g.actualLevel() >= 100);
    QVERIFY(g.status() & st::LampPowerOn);
    g.advance(1);
    QCOMPARE(int(g.actualLevel()), 0);
    QVERIFY(!(g.status() & (st::LampPowerOn | st::FadeRunning)));
}

void TestSimGear::maskStopsFade()
{
    SimGear g = limitedGear(100);
    g.setFadeTime(4);
    g.directArcPower(200);
    g.advance(1000);
    g.directArcPower(255);
    QVERIFY(!g.fadeRunning());
    QCOMPARE(int(g.actualLevel()), 150);
    g.advance(5000);
    QCOMPARE(int(g.actualLevel()), 150);
}

void TestSimGear::configurationCommandsUseDtr0()
{
    SimGear g = limitedGear(190);

    // One command() call carries out a configuration command: the gateway sends the pair.
    g.setDtr0(180);
    g.command(cmd::SetMaxLevel);
    QCOMPARE(int(g.maxLevel()), 180);
    QCOMPARE(int(g.actualLevel()), 180);   // the level follows a lower maximum

    g.setDtr0(10);
    g.command(cmd::SetMinLevel);
    QCOMPARE(int(g.minLevel()), 85);   // not below the physical minimum

    g.setDtr0(40);
    g.command(cmd::SetFadeTime);
    QCOMPARE(int(g.fadeTime()), 15);
    g.setDtr0(0);
    g.command(cmd::SetFadeRate);
    QCOMPARE(int(g.fadeRate()), 1);

    g.setDtr0(255);
    g.command(cmd::SetPowerOnLevel);
    QCOMPARE(int(g.powerOnLevel()), 255);
    g.setDtr0(33);
    g.command(cmd::SetSystemFailureLevel);
    QCOMPARE(int(g.systemFailureLevel()), 33);

    g.command(cmd::StoreActualLevelInDtr0);
    QCOMPARE(int(g.dtr0()), 180);
    g.command(uint8_t(cmd::SetScene0 + 7));
    QCOMPARE(int(g.scene(7)), 180);
}

void TestSimGear::groupsAndScenes()
{
    SimGear g = limitedGear(150);
    g.command(cmd::addToGroup(3));
    g.command(cmd::addToGroup(12));
    QCOMPARE(int(g.groups()), 0x1008);
    QVERIFY(g.inGroup(12));
    g.command(cmd::removeFromGroup(3));
    QCOMPARE(int(g.groups()), 0x1000);
    QVERIFY(!g.inGroup(3));

    g.storeActualLevelAsScene(9);
    QCOMPARE(int(g.scene(9)), 150);
    g.command(cmd::Off);
    g.command(cmd::goToScene(9));
    QCOMPARE(int(g.actualLevel()), 150);

    g.removeFromScene(9);
    QCOMPARE(int(g.scene(9)), 255);
    g.command(uint8_t(cmd::RemoveFromScene0 + 2));
    QCOMPARE(int(g.scene(2)), 255);
}

void TestSimGear::queries()
{
    SimGear g = limitedGear(150);
    g.setFadeTime(3);
    g.setFadeRate(9);
    g.setGroups(0x0302);
    g.setDeviceType(8);
    g.setVersion(1);
    g.setRandomAddress(0xA1B2C3);
    g.setLampFailure(true);

    QCOMPARE(g.command(cmd::QueryActualLevel), std::optional<uint8_t>(150));
    QCOMPARE(g.command(cmd::QueryMaxLevel), std::optional<uint8_t>(200));
    QCOMPARE(g.command(cmd::QueryMinLevel), std::optional<uint8_t>(100));
    QCOMPARE(g.command(cmd::QueryPhysicalMinimum), std::optional<uint8_t>(85));
    QCOMPARE(g.command(cmd::QueryFadeTimeRate), std::optional<uint8_t>(0x39));
    QCOMPARE(g.command(cmd::QueryGroups0To7), std::optional<uint8_t>(0x02));
    QCOMPARE(g.command(cmd::QueryGroups8To15), std::optional<uint8_t>(0x03));
    QCOMPARE(g.command(uint8_t(cmd::QuerySceneLevel0 + 2)), std::optional<uint8_t>(180));
    QCOMPARE(g.command(cmd::QueryDeviceType), std::optional<uint8_t>(8));
    QCOMPARE(g.command(cmd::QueryVersionNumber), std::optional<uint8_t>(1));
    QCOMPARE(g.command(194), std::optional<uint8_t>(0xA1));
    QCOMPARE(g.command(196), std::optional<uint8_t>(0xC3));
    QCOMPARE(g.command(cmd::QueryStatus), std::optional<uint8_t>(g.status()));
    // YES/NO queries: YES is 0xFF, "no" is no answer at all.
    QCOMPARE(g.command(cmd::QueryControlGearPresent), std::optional<uint8_t>(0xFF));
    QCOMPARE(g.command(cmd::QueryLampFailure), std::optional<uint8_t>(0xFF));
    QCOMPARE(g.command(cmd::QueryLimitError), std::nullopt);
    QCOMPARE(g.command(cmd::Off), std::nullopt);
}

void TestSimGear::silentGearObeysButDoesNotAnswer()
{
    SimGear g = limitedGear(150);
    g.setResponds(false);
    QCOMPARE(g.command(cmd::QueryControlGearPresent), std::nullopt);
    QCOMPARE(g.command(cmd::QueryActualLevel), std::nullopt);
    g.command(cmd::RecallMinLevel);
    QCOMPARE(int(g.actualLevel()), 100);
}

QTEST_GUILESS_MAIN(TestSimGear)
#include "tst_simgear.moc"
