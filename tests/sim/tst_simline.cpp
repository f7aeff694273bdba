// SimLine and SimGateway through frames built with lumaro::Frame: the answers Lumaro reads,
// the requests nothing answers, exceptions, targets and injected faults.

#include "dalicommand.h"
#include "frame.h"
#include "protocol.h"
#include "simline.h"

#include <QTest>

using lumaro::Frame;
using lumaro::FrameError;
using namespace lumaro::sim;
namespace cmd = lumaro::dali::cmd;
namespace st = lumaro::dali::status;
namespace item = lumaro::protocol::item;
namespace reg = lumaro::protocol::reg;

namespace {

QByteArray request(const QByteArray &payload)
{
    return Frame::withChecksum(payload).bytes();
}

QByteArray read(uint8_t gw, uint16_t r, uint16_t count)
{
    return request(Frame::readRegisters(gw, r, count));
}

QByteArray write(uint8_t gw, uint16_t r, uint16_t value)
{
    return request(Frame::writeRegister(gw, r, value));
}

uint16_t gearRegister(int target, uint8_t it)
{
    return uint16_t(target << 8 | it);
}

// Gateway 1 (model 0x80, version 16, debug flag) with gear 5 and 6 in group 2, gear 7 in group 2
// that does not answer, and gear 9 with a failed lamp; gateway 2 (model 0x79) with gear 5.
SimLine fixture()
{
    SimLine line;
    SimGateway one(1);
    one.setStatusFlags(0x02);
    SimGear g;
    g.setGroups(1 << 2);
    g.setActualLevel(150);
    one.addGear(5, g);
    one.addGear(6, g).setActualLevel(200);
    one.addGear(7, g).setResponds(false);
    SimGear failed;
    failed.setLampFailure(true);
    failed.setActualLevel(254);
    failed.setGroups(1);
    one.addGear(9, failed);
    line.addGateway(one);
    SimGateway two(2);
    two.setModel(0x79);
    two.addGear(5, g);
    line.addGateway(two);
    return line;
}

int level(const SimLine &line, int gw, int a)
{
    return line.gateway(gw)->gear(a)->actualLevel();
}

}  // namespace

class TestSimLine : public QObject
{
    Q_OBJECT
private slots:
    void workedExample();
    void gatewayRegisters_data();
    void gatewayRegisters();
    void ignoredRequests_data();
    void ignoredRequests();
    void allGatewaysCarryOutAndNobodyAnswers();
    void exceptions_data();
    void exceptions();
    void statusAndLevelAfterCommands_data();
    void statusAndLevelAfterCommands();
    void gearReadLayouts();
    void writeAnswers();
    void groupAndBroadcastTargets();
    void scenesThroughRegisters();
    void deletingTheShortAddress();
    void fadeThroughLineTime();
    void silentGateway();
    void lostAnswersAreDeterministic();
    void damagedAnswersFailTheChecksum();
};

void TestSimLine::workedExample()
{
    const QByteArray frame = read(1, reg::ModelVersion, 2);
    QCOMPARE(frame.toHex(' '), QByteArray("01 43 50 f8 00 02 4f b1"));

    SimLine line = fixture();
    const QByteArray answer = line.handleRequest(frame);
    QCOMPARE(Frame::check(answer), FrameError::None);
    // byte 4 model, byte 6 version
    QCOMPARE(answer, request(QByteArray::fromHex("0143040080" "0010")));
}

void TestSimLine::gatewayRegisters_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("answer");

    QTest::newRow("M1 0x50FA version") << read(1, reg::Version, 1) << QByteArray("0143020010");
    QTest::newRow("M1 0x50FE status flags") << read(1, reg::StatusFlags, 1) << QByteArray("0143020002");
    QTest::newRow("M2 0x50F8 model and version") << read(2, reg::ModelVersion, 2) << QByteArray("02430400790010");
}

void TestSimLine::gatewayRegisters()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, answer);
    SimLine line = fixture();
    QCOMPARE(line.handleRequest(frame).toHex(), request(QByteArray::fromHex(answer)).toHex());
}

void TestSimLine::ignoredRequests_data()
{
    QTest::addColumn<QByteArray>("frame");

    QByteArray badChecksum = read(1, reg::ModelVersion, 2);
    badChecksum[7] = char(badChecksum[7] ^ 0x01);
    QTest::newRow("01 43 50 F8 00 02 4F B0: wrong checksum") << badChecksum;
    QTest::newRow("address 0") << read(0, reg::ModelVersion, 2);
    QTest::newRow("address 3: no gateway") << read(3, reg::ModelVersion, 2);
    QTest::newRow("address 17") << read(17, reg::ModelVersion, 2);
    QTest::newRow("4 bytes") << request(QByteArray::fromHex("0143"));
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("129 bytes") << request(QByteArray(127, '\x01'));
}

void TestSimLine::ignoredRequests()
{
    QFETCH(QByteArray, frame);
    SimLine line = fixture();
    QCOMPARE(line.handleRequest(frame), QByteArray());
}

void TestSimLine::allGatewaysCarryOutAndNobodyAnswers()
{
    SimLine line = fixture();
    const QByteArray off = write(0, gearRegister(80, item::DaliCommand), cmd::Off);
    QCOMPARE(line.handleRequest(off), QByteArray());
    QCOMPARE(level(line, 1, 5), 0);
    QCOMPARE(level(line, 1, 6), 0);
    QCOMPARE(level(line, 2, 5), 0);
}

void TestSimLine::exceptions_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("answer");

    QTest::newRow("M1A40 status: no gear") << read(1, gearRegister(40, item::StatusLevel), 2) << QByteArray("01c304");
    QTest::newRow("M1A7 presence: gear does not answer") << read(1, gearRegister(7, item::Presence), 1)
                                                         << QByteArray("01c304");
    QTest::newRow("M1A40 OFF: no gear") << write(1, gearRegister(40, item::DaliCommand), 0) << QByteArray("01c604");
    QTest::newRow("M1A7 OFF: gear does not answer") << write(1, gearRegister(7, item::DaliCommand), 0)
                                                    << QByteArray("01c604");
    QTest::newRow("0x50F0: unknown register") << read(1, 0x50F0, 1) << QByteArray("01c302");
    QTest::newRow("0x50F8 count 3 runs into an unknown register") << read(1, reg::ModelVersion, 3)
                                                                  << QByteArray("01c302");
    QTest::newRow("M1A5 item 0x41: unknown item") << read(1, gearRegister(5, 0x41), 1) << QByteArray("01c302");
    QTest::newRow("write 0x50F8: read only") << write(1, reg::ModelVersion, 1) << QByteArray("01c602");
    QTest::newRow("write several 0x50F8, count 1: read only")
        << request(Frame::writeRegisters(1, reg::ModelVersion, QByteArray::fromHex("0001"))) << QByteArray("01d002");
    QTest::newRow("write several M1A5 0x4A: read only")
        << request(Frame::writeRegisters(1, gearRegister(5, item::StatusLevel), QByteArray::fromHex("00010002")))
        << QByteArray("01d002");
    QTest::newRow("read 0x4A of group 2") << read(1, gearRegister(66, item::StatusLevel), 2) << QByteArray("01c302");
    QTest::newRow("OFF to target 81") << write(1, gearRegister(81, item::DaliCommand), 0)
                                            << QByteArray("01c602");
    QTest::newRow("read count 0") << read(1, reg::Version, 0) << QByteArray("01c303");
    QTest::newRow("read count 62: answer too long") << read(1, gearRegister(5, item::SceneRemoveBase), 62)
                                                    << QByteArray("01c303");
    QTest::newRow("DALI command 0x0100") << write(1, gearRegister(5, item::DaliCommand), 0x0100)
                                         << QByteArray("01c603");
    QTest::newRow("store scene 16") << write(1, gearRegister(5, item::StoreScene), 16) << QByteArray("01c603");
    QTest::newRow("scene register value 0x0200") << write(1, gearRegister(5, item::sceneRemove(3)), 0x0200)
                                                 << QByteArray("01c603");
    QTest::newRow("function 0x41") << request(QByteArray::fromHex("014150f80001")) << QByteArray("01c101");
    QTest::newRow("0x43 of 9 bytes") << request(QByteArray::fromHex("014350f8000100")) << QByteArray("01c303");
    QTest::newRow("0x50 byte count 3 for count 2")
        << request(QByteArray::fromHex("0150050c000203000000")) << QByteArray("01d003");
}

void TestSimLine::exceptions()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, answer);
    SimLine line = fixture();
    const int before = level(line, 1, 7);
    const QByteArray got = line.handleRequest(frame);
    QCOMPARE(got.toHex(), request(QByteArray::fromHex(answer)).toHex());
    QVERIFY(Frame::parse(got).isException());
    QCOMPARE(level(line, 1, 7), before);   // a refused request changes nothing
}

void TestSimLine::statusAndLevelAfterCommands_data()
{
    QTest::addColumn<int>("shortAddress");
    QTest::addColumn<int>("itemNumber");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("level");

    QTest::newRow("A5 RECALL MAX") << 5 << int(item::DaliCommand) << int(cmd::RecallMaxLevel) << int(st::LampPowerOn)
                                   << 254;
    QTest::newRow("A5 OFF") << 5 << int(item::DaliCommand) << int(cmd::Off) << 0 << 0;
    QTest::newRow("A5 RECALL MIN") << 5 << int(item::DaliCommand) << int(cmd::RecallMinLevel) << int(st::LampPowerOn)
                                   << 85;
    QTest::newRow("A5 arc level 10: limit error") << 5 << int(item::ArcLevel) << 10
                                                  << int(st::LampPowerOn | st::LimitError) << 85;
    QTest::newRow("A5 arc level 120") << 5 << int(item::ArcLevel) << 120 << int(st::LampPowerOn) << 120;
    QTest::newRow("A5 RESET") << 5 << int(item::DaliCommand) << int(cmd::Reset)
                              << int(st::LampPowerOn | st::ResetState) << 254;
    QTest::newRow("A9 lamp failure RECALL MAX") << 9 << int(item::DaliCommand) << int(cmd::RecallMaxLevel)
                                                << int(st::LampFailure) << 254;
}

void TestSimLine::statusAndLevelAfterCommands()
{
    QFETCH(int, shortAddress);
    QFETCH(int, itemNumber);
    QFETCH(int, value);
    QFETCH(int, status);
    QFETCH(int, level);

    SimLine line = fixture();
    const QByteArray command = write(1, gearRegister(shortAddress, uint8_t(itemNumber)), uint16_t(value));
    QCOMPARE(line.handleRequest(command), command);

    const Frame answer = Frame::parse(line.handleRequest(read(1, gearRegister(shortAddress, item::StatusLevel), 2)));
    QCOMPARE(int(answer.function()), 0x43);
    QCOMPARE(int(uint8_t(answer.bytes()[2])), 4);
    // Lumaro reads byte 4 (status) and byte 6 (level).
    QCOMPARE(int(uint8_t(answer.bytes()[4])), status);
    QCOMPARE(int(uint8_t(answer.bytes()[6])), level);
    QCOMPARE(answer.answerRegister(0), std::optional<uint16_t>(uint16_t(status)));
}

void TestSimLine::gearReadLayouts()
{
    SimLine line = fixture();
    SimGear *g = line.gateway(1)->gear(6);
    g->setVersion(3);
    g->setPhysicalMinimum(40);
    g->setGroups(0x0105);

    // Presence: any normal answer; the register holds YES.
    QCOMPARE(line.handleRequest(read(1, gearRegister(6, item::Presence), 1)),
             request(QByteArray::fromHex("01430200ff")));
    // Version with count 3: byte 4 version, byte 6 physical minimum, byte 7 groups 8..15, byte 8
    // groups 0..7.
    QCOMPARE(line.handleRequest(read(1, gearRegister(6, item::Version), 3)).toHex(),
             request(QByteArray::fromHex("01430600030028" "0105")).toHex());
    QCOMPARE(line.handleRequest(read(1, gearRegister(6, item::DeviceType), 1)),
             request(QByteArray::fromHex("0143020006")));
}

void TestSimLine::writeAnswers()
{
    SimLine line = fixture();
    // 0x46: the normal answer echoes the request.
    const QByteArray one = write(1, gearRegister(5, item::DaliCommand), cmd::RecallMaxLevel);
    QCOMPARE(line.handleRequest(one), one);
    // 0x50: address, function, register number and count.
    const QByteArray several =
        request(Frame::writeRegisters(1, gearRegister(5, item::SceneRemoveBase), QByteArray::fromHex("00640065")));
    QCOMPARE(line.handleRequest(several).toHex(), request(QByteArray::fromHex("0150050c0002")).toHex());
    QCOMPARE(int(line.gateway(1)->gear(5)->scene(0)), 100);
    QCOMPARE(int(line.gateway(1)->gear(5)->scene(1)), 101);
}

void TestSimLine::groupAndBroadcastTargets()
{
    SimLine line = fixture();
    // Group 2 holds A5, A6 and A7; A7 does not answer but still obeys the group command.
    const QByteArray groupMin = write(1, gearRegister(lumaro::protocol::target::group(2), item::DaliCommand),
                                      cmd::RecallMinLevel);
    QCOMPARE(line.handleRequest(groupMin), groupMin);
    QCOMPARE(level(line, 1, 5), 85);
    QCOMPARE(level(line, 1, 6), 85);
    QCOMPARE(level(line, 1, 7), 85);
    QCOMPARE(level(line, 1, 9), 254);
    QCOMPARE(level(line, 2, 5), 150);   // another gateway's bus

    // A group without members: the gateway cannot know, the answer is normal.
    const QByteArray emptyGroup = write(1, gearRegister(lumaro::protocol::target::group(15), item::DaliCommand), 0);
    QCOMPARE(line.handleRequest(emptyGroup), emptyGroup);

    const QByteArray allOff = write(1, gearRegister(80, item::DaliCommand), cmd::Off);
    QCOMPARE(line.handleRequest(allOff), allOff);
    for (int a : {5, 6, 7, 9})
        QCOMPARE(level(line, 1, a), 0);
    QCOMPARE(level(line, 2, 5), 150);

    // ADD TO GROUP through the short address, then the group reaches it.
    QCOMPARE(line.handleRequest(write(1, gearRegister(9, item::DaliCommand), cmd::addToGroup(2))).size(), 8);
    line.handleRequest(write(1, gearRegister(lumaro::protocol::target::group(2), item::ArcLevel), 180));
    QCOMPARE(level(line, 1, 9), 180);
    QCOMPARE(level(line, 1, 5), 180);
}

void TestSimLine::scenesThroughRegisters()
{
    SimLine line = fixture();
    // Store the actual level of every gear of gateway 1 as scene 3, each its own level.
    line.handleRequest(write(1, gearRegister(80, item::StoreScene), 3));
    QCOMPARE(int(line.gateway(1)->gear(5)->scene(3)), 150);
    QCOMPARE(int(line.gateway(1)->gear(9)->scene(3)), 254);

    line.handleRequest(write(1, gearRegister(80, item::DaliCommand), cmd::Off));
    line.handleRequest(write(1, gearRegister(5, item::DaliCommand), cmd::goToScene(3)));
    QCOMPARE(level(line, 1, 5), 150);

    // "Scene 3 Remove" on the gear folder: 01 46 50 12 01 00.
    const QByteArray remove = write(1, gearRegister(80, item::sceneRemove(3)), item::SceneRemoveValue);
    QCOMPARE(remove.left(6).toHex(' '), QByteArray("01 46 50 12 01 00"));
    QCOMPARE(line.handleRequest(remove), remove);
    QCOMPARE(int(line.gateway(1)->gear(5)->scene(3)), 255);
    QCOMPARE(line.handleRequest(read(1, gearRegister(5, item::sceneRemove(3)), 1)),
             request(QByteArray::fromHex("01430200ff")));
}

void TestSimLine::deletingTheShortAddress()
{
    SimLine line = fixture();
    SimGateway &gw = *line.gateway(1);
    const int before = gw.gearCount();
    // Only 255 (delete) is a short-address value the gateway takes from this item.
    QCOMPARE(Frame::parse(line.handleRequest(write(1, gearRegister(5, item::ShortAddress), 7))).exceptionCode(),
             uint8_t(lumaro::protocol::exception::IllegalValue));
    const QByteArray erase = write(1, gearRegister(5, item::ShortAddress), 255);
    QCOMPARE(line.handleRequest(erase), erase);
    QVERIFY(!gw.gear(5));
    QCOMPARE(gw.gearCount(), before - 1);
    QCOMPARE(gw.unaddressedCount(), 1);
    // The address answers no more.
    QVERIFY(Frame::parse(line.handleRequest(read(1, gearRegister(5, item::Presence), 1))).isException());
}

void TestSimLine::fadeThroughLineTime()
{
    SimLine line = fixture();
    line.gateway(1)->gear(5)->setFadeTime(4);   // 2 s
    line.handleRequest(write(1, gearRegister(5, item::ArcLevel), 250));
    Frame status = Frame::parse(line.handleRequest(read(1, gearRegister(5, item::StatusLevel), 2)));
    QVERIFY(status.bytes()[4] & st::FadeRunning);
    line.advance(2000);
    status = Frame::parse(line.handleRequest(read(1, gearRegister(5, item::StatusLevel), 2)));
    QVERIFY(!(status.bytes()[4] & st::FadeRunning));
    QCOMPARE(int(uint8_t(status.bytes()[6])), 250);
}

void TestSimLine::silentGateway()
{
    SimLine line = fixture();
    Faults faults;
    faults.silentGateways = {1};
    line.setFaults(faults);
    QCOMPARE(line.handleRequest(read(1, reg::ModelVersion, 2)), QByteArray());
    // Off line: it does not carry out frames to all gateways either.
    line.handleRequest(write(0, gearRegister(80, item::DaliCommand), cmd::Off));
    QCOMPARE(level(line, 1, 5), 150);
    QCOMPARE(level(line, 2, 5), 0);
    QVERIFY(!line.handleRequest(read(2, reg::ModelVersion, 2)).isEmpty());
}

void TestSimLine::lostAnswersAreDeterministic()
{
    auto pattern = [](uint32_t seed) {
        SimLine line = fixture();
        Faults faults;
        faults.loseFraction = 0.5;
        faults.seed = seed;
        line.setFaults(faults);
        QString answered;
        for (int i = 0; i < 200; ++i) {
            const QByteArray off = write(1, gearRegister(5, item::DaliCommand), cmd::Off);
            const QByteArray answer = line.handleRequest(off);
            answered += answer.isEmpty() ? QLatin1Char('-') : QLatin1Char('A');
        }
        // A lost answer is lost on the line: the request was carried out.
        return std::pair(answered, level(line, 1, 5));
    };
    const auto [first, level1] = pattern(7);
    const auto [again, level2] = pattern(7);
    const auto [other, level3] = pattern(8);
    QCOMPARE(first, again);
    QVERIFY(first != other);
    QCOMPARE(level1, 0);
    const auto lost = first.count(QLatin1Char('-'));
    QVERIFY2(lost > 60 && lost < 140, qPrintable(QString::number(lost)));
}

void TestSimLine::damagedAnswersFailTheChecksum()
{
    SimLine clean = fixture();
    SimLine noisy = fixture();
    Faults faults;
    faults.damageFraction = 1.0;
    faults.seed = 3;
    noisy.setFaults(faults);
    for (int i = 0; i < 100; ++i) {
        const QByteArray frame = i % 2 ? read(1, reg::ModelVersion, 2) : read(1, gearRegister(5, item::StatusLevel), 2);
        const QByteArray good = clean.handleRequest(frame);
        const QByteArray bad = noisy.handleRequest(frame);
        QCOMPARE(bad.size(), good.size());
        int differing = 0;
        for (int k = 0; k < good.size(); ++k)
            differing += good[k] != bad[k];
        QCOMPARE(differing, 1);
        QCOMPARE(Frame::check(bad), FrameError::BadChecksum);
    }
}

QTEST_GUILESS_MAIN(TestSimLine)
#include "tst_simline.moc"
