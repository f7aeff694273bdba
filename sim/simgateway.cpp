#include "simgateway.h"

#include "dalicommand.h"
#include "frame.h"
#include "protocol.h"

#include <algorithm>

namespace lumaro::sim {

namespace {
namespace ex = protocol::exception;
namespace item = protocol::item;
namespace reg = protocol::reg;
namespace target = protocol::target;

// Items that the shared protocol vocabulary does not name yet.

// A 0x43 answer holds address, function, byte count, the registers and the checksum in at most
// 127 bytes.
constexpr int kMaxReadCount = (protocol::kMaxAnswer - 5) / 2;
constexpr int kRegisterWidth = 2;   // items per register
constexpr uint16_t kRebootValue = 1;
constexpr int kClockRegisters = SimGateway::kClockBytes / 2;
constexpr int kCenturyBase = 2000;   // the clock keeps the year modulo 100
constexpr int kSequenceSlots = 4;
constexpr int kSwitchStep = 10;      // timing switch value 10 n (+ 1) stops (starts) sequence n

// The gateway sends one frame for a command, two for a configuration command (sent twice).
int commandFrames(uint8_t opcode)
{
    const auto info = dali::commandInfo(opcode);
    return info && info->twice ? 2 : 1;
}

std::optional<uint16_t> query(SimGear &gear, uint8_t opcode)
{
    const auto answer = gear.command(opcode);
    if (!answer)
        return std::nullopt;
    return *answer;
}

// The colour block of a DT8 gear, items 0x72..0x7A: the colour type features, then the colour
// temperature in mirek for Tc gear (colour type bit 1) or R for the others, then G, B, W. Each
// value is one QUERY COLOUR VALUE exchange on the bus (DTR0 selector, ENABLE DEVICE TYPE 8, the
// query, QUERY CONTENT DTR1); a gear of another device type does not answer it.
constexpr int kColourValueFrames = 4;
constexpr int kColourTypeFrames = 2;   // ENABLE DEVICE TYPE 8, QUERY COLOUR TYPE FEATURES

std::optional<uint16_t> colourValue(SimGear &gear, uint8_t it)
{
    if (!gear.hasColour() || !gear.responds())
        return std::nullopt;
    const int index = (it - item::Colour) / 2;
    if (index == 0)
        return gear.colourType();
    if (index == 1 && gear.colourByTemperature())
        return gear.colourTemperature();
    return gear.channel(index - 1);
}

int sceneOfItem(uint8_t it)
{
    return (it - item::SceneRemoveBase) / kRegisterWidth;
}

uint8_t acceptByte(uint16_t value)
{
    return value <= 0xFF ? 0 : ex::IllegalValue;
}

uint16_t word(QByteArrayView bytes, int at)
{
    return uint16_t(uint8_t(bytes[at]) << 8 | uint8_t(bytes[at + 1]));
}
}  // namespace

// A register of the gateway itself. read or write is null when the register cannot be read or
// written; write returns an exception code, 0 when carried out.
struct SimGateway::GatewayRegister {
    uint16_t number;
    uint16_t (*read)(const SimGateway &);
    uint8_t (*write)(SimGateway &, uint16_t value);
};

// An item of a gear target, covering `span` registers from `first` (scenes 0..15 are one row).
// read asks one gear and gives nothing when it does not answer; check looks at a value before
// anything is sent, write carries it out on one gear; the frame counts are what the gateway puts
// on the bus (once per request, whatever the number of gear addressed).
struct SimGateway::GearItem {
    uint8_t first;
    int span;
    std::optional<uint16_t> (*read)(SimGear &, uint8_t item);
    int readFrames;
    uint8_t (*check)(uint16_t value);
    void (*write)(SimGear &, uint8_t item, uint16_t value);
    int (*writeFrames)(uint16_t value);
};

namespace {
using GatewayRegister = SimGateway::GatewayRegister;
using GearItem = SimGateway::GearItem;

constexpr uint16_t networkRegister(int k) { return uint16_t(reg::NetworkParameters + kRegisterWidth * k); }
constexpr uint16_t clockRegister(int k) { return uint16_t(reg::Clock + kRegisterWidth * k); }

template <int k>
uint16_t readNetwork(const SimGateway &g)
{
    return uint16_t(g.networkParameters()[2 * k] << 8 | g.networkParameters()[2 * k + 1]);
}

template <int k>
uint16_t readClock(const SimGateway &g)
{
    const SimGateway::ClockBytes c = g.clock();
    return uint16_t(c[2 * k] << 8 | c[2 * k + 1]);
}

// The clock changes only when its last register arrives, so that a date is never half set.
template <int k>
uint8_t writeClock(SimGateway &g, uint16_t v)
{
    g.stageClockRegister(k, v);
    if (k < kClockRegisters - 1)
        return 0;
    return g.setClock(g.stagedClock()) ? 0 : ex::IllegalValue;
}

// Later features add their gateway registers here.
const GatewayRegister kGatewayRegisters[] = {
    {reg::ModelVersion, [](const SimGateway &g) -> uint16_t { return g.model(); }, nullptr},
    {reg::Version, [](const SimGateway &g) -> uint16_t { return g.version(); }, nullptr},
    {reg::StatusFlags, [](const SimGateway &g) -> uint16_t { return g.statusFlags(); }, nullptr},
    {networkRegister(0), readNetwork<0>, nullptr}, {networkRegister(1), readNetwork<1>, nullptr},
    {networkRegister(2), readNetwork<2>, nullptr}, {networkRegister(3), readNetwork<3>, nullptr},
    {networkRegister(4), readNetwork<4>, nullptr}, {networkRegister(5), readNetwork<5>, nullptr},
    {networkRegister(6), readNetwork<6>, nullptr}, {networkRegister(7), readNetwork<7>, nullptr},
    {networkRegister(8), readNetwork<8>, nullptr}, {networkRegister(9), readNetwork<9>, nullptr},
    {reg::Reboot, nullptr,
     [](SimGateway &g, uint16_t v) -> uint8_t {
         if (v != kRebootValue)
             return ex::IllegalValue;
         g.reboot();
         return 0;
     }},
    {clockRegister(0), readClock<0>, writeClock<0>}, {clockRegister(1), readClock<1>, writeClock<1>},
    {clockRegister(2), readClock<2>, writeClock<2>}, {clockRegister(3), readClock<3>, writeClock<3>},
    {reg::TimingSwitch, nullptr,
     [](SimGateway &g, uint16_t v) -> uint8_t { return g.switchTiming(v) ? 0 : ex::IllegalValue; }},
    {reg::TimingState, [](const SimGateway &g) -> uint16_t { return g.timingState(); }, nullptr},
};

// Later features add their gear items here.
const GearItem kGearItems[] = {
    {item::DaliCommand, 1, nullptr, 0, acceptByte,
     [](SimGear &g, uint8_t, uint16_t v) { g.command(uint8_t(v)); },
     [](uint16_t v) { return commandFrames(uint8_t(v)); }},
    // 255 deletes the short address (DTR0 = 255, then SET SHORT ADDRESS twice). The gear stays on
    // the bus without an address; the gateway takes it off its short-address table afterwards.
    {item::ShortAddress, 1, nullptr, 0,
     [](uint16_t v) -> uint8_t { return v == dali::kMask ? 0 : ex::IllegalValue; },
     [](SimGear &g, uint8_t, uint16_t) { g.setMissingShortAddress(true); },
     [](uint16_t) { return 3; }},
    {item::StoreScene, 1, nullptr, 0,
     [](uint16_t v) -> uint8_t { return v < target::SceneCount ? 0 : ex::IllegalValue; },
     [](SimGear &g, uint8_t, uint16_t v) { g.storeActualLevelAsScene(v); },
     // STORE ACTUAL LEVEL IN DTR0 and SET SCENE n, each twice
     [](uint16_t) { return 4; }},
    {item::SceneRemoveBase, target::SceneCount,
     [](SimGear &g, uint8_t it) { return query(g, uint8_t(dali::cmd::QuerySceneLevel0 + sceneOfItem(it))); }, 1,
     [](uint16_t v) -> uint8_t { return v <= 0xFF || v == item::SceneRemoveValue ? 0 : ex::IllegalValue; },
     [](SimGear &g, uint8_t it, uint16_t v) {
         if (v == item::SceneRemoveValue) {
             g.removeFromScene(sceneOfItem(it));
         } else {
             g.setDtr0(uint8_t(v));
             g.command(uint8_t(dali::cmd::SetScene0 + sceneOfItem(it)));
         }
     },
     // REMOVE FROM SCENE twice, or DTR0 and SET SCENE twice
     [](uint16_t v) { return v == item::SceneRemoveValue ? 2 : 3; }},
    {item::ArcLevel, 1, nullptr, 0, acceptByte,
     [](SimGear &g, uint8_t, uint16_t v) { g.directArcPower(uint8_t(v)); },
     [](uint16_t) { return 1; }},
    {item::Presence, 1, [](SimGear &g, uint8_t) { return query(g, dali::cmd::QueryControlGearPresent); }, 1,
     nullptr, nullptr, nullptr},
    {item::DeviceType, 1, [](SimGear &g, uint8_t) { return query(g, dali::cmd::QueryDeviceType); }, 1,
     nullptr, nullptr, nullptr},
    {item::Version, 1, [](SimGear &g, uint8_t) { return query(g, dali::cmd::QueryVersionNumber); }, 1,
     nullptr, nullptr, nullptr},
    {protocol::item::PhysicalMinimum, 1, [](SimGear &g, uint8_t) { return query(g, dali::cmd::QueryPhysicalMinimum); }, 1,
     nullptr, nullptr, nullptr},
    {item::GroupMembership, 1,
     [](SimGear &g, uint8_t) -> std::optional<uint16_t> {
         const auto low = g.command(dali::cmd::QueryGroups0To7);
         const auto high = g.command(dali::cmd::QueryGroups8To15);
         if (!low || !high)
             return std::nullopt;
         return uint16_t(*high << 8 | *low);
     },
     2, nullptr, nullptr, nullptr},
    {item::StatusLevel, 1, [](SimGear &g, uint8_t) { return query(g, dali::cmd::QueryStatus); }, 1,
     nullptr, nullptr, nullptr},
    {protocol::item::ActualLevel, 1, [](SimGear &g, uint8_t) { return query(g, dali::cmd::QueryActualLevel); }, 1,
     nullptr, nullptr, nullptr},
    {item::Colour, 1, colourValue, kColourTypeFrames, nullptr, nullptr, nullptr},
    {uint8_t(item::Colour + 2), 4, colourValue, kColourValueFrames, nullptr, nullptr, nullptr},
};

const GatewayRegister *findGatewayRegister(uint32_t number)
{
    for (const GatewayRegister &r : kGatewayRegisters)
        if (r.number == number)
            return &r;
    return nullptr;
}

const GearItem *findGearItem(int it)
{
    for (const GearItem &g : kGearItems)
        if (it >= g.first && it < g.first + kRegisterWidth * g.span && (it - g.first) % kRegisterWidth == 0)
            return &g;
    return nullptr;
}
}  // namespace

SimGateway::SimGateway(int address)
    : m_address(address),
      // 192.168.1.100 behind 192.168.1.1 in a /24, Modbus/TCP port 502, a MAC ending in the address
      m_network{192, 168, 1, 100, 192, 168, 1, 1, 255, 255, 255, 0, 0x01, 0xF6,
                0x00, 0x1A, 0x2B, 0x3C, 0x4D, uint8_t(address)},
      m_clock(QDate(2024, 1, 1), QTime(0, 0), Qt::UTC)
{
}

SimGateway::ClockBytes SimGateway::clock() const
{
    const QDate d = m_clock.date();
    const QTime t = m_clock.time();
    return {0, uint8_t(d.year() % 100), uint8_t(d.month()), uint8_t(d.day()), uint8_t(t.hour()),
            uint8_t(t.minute()), uint8_t(t.second()), m_weekday};
}

bool SimGateway::setClock(const ClockBytes &b)
{
    const QDate d(kCenturyBase + b[1], b[2], b[3]);
    const QTime t(b[4], b[5], b[6]);
    // The PC writes weekday 0..6 (0 = Sunday), the timing transfer 1..7; both are kept as sent.
    if (!d.isValid() || !t.isValid() || b[7] > 7)
        return false;
    m_clock = QDateTime(d, t, Qt::UTC);
    m_clockMs = 0;
    m_weekday = b[7];
    return true;
}

void SimGateway::stageClockRegister(int index, uint16_t value)
{
    m_clockStaged[size_t(2 * index)] = uint8_t(value >> 8);
    m_clockStaged[size_t(2 * index + 1)] = uint8_t(value & 0xFF);
}

bool SimGateway::switchTiming(uint16_t value)
{
    if (value <= 1) {
        m_timingState = uint8_t((m_timingState & ~1u) | value);
        return true;
    }
    const int slot = value / kSwitchStep;
    if (slot < 1 || slot > kSequenceSlots || value % kSwitchStep > 1)
        return false;
    const auto bit = uint8_t(1u << slot);
    m_timingState = uint8_t(value % kSwitchStep ? m_timingState | bit : m_timingState & ~bit);
    return true;
}

SimGear *SimGateway::gear(int shortAddress)
{
    if (!target::isShortAddress(shortAddress) || !m_gear[size_t(shortAddress)])
        return nullptr;
    return &*m_gear[size_t(shortAddress)];
}

const SimGear *SimGateway::gear(int shortAddress) const
{
    return const_cast<SimGateway *>(this)->gear(shortAddress);
}

SimGear &SimGateway::addGear(int shortAddress, const SimGear &gear)
{
    Q_ASSERT(target::isShortAddress(shortAddress));
    return m_gear[size_t(shortAddress)].emplace(gear);
}

void SimGateway::removeGear(int shortAddress)
{
    if (target::isShortAddress(shortAddress))
        m_gear[size_t(shortAddress)].reset();
}

int SimGateway::gearCount() const
{
    return int(std::count_if(m_gear.begin(), m_gear.end(), [](const auto &g) { return g.has_value(); }));
}

void SimGateway::advance(int ms)
{
    m_rebootLeftMs = std::max(0, m_rebootLeftMs - ms);
    m_clockMs += ms;
    const int seconds = m_clockMs / 1000;
    m_clockMs %= 1000;
    if (seconds > 0) {
        const QDate before = m_clock.date();
        m_clock = m_clock.addSecs(seconds);
        const auto days = before.daysTo(m_clock.date());
        // The gateway counts the weekday 0..6 from Sunday; a 7 (Sunday as the timing transfer
        // writes it) turns into Monday, 1, like a 0 does.
        m_weekday = uint8_t((m_weekday % 7 + days) % 7);
    }
    for (auto &g : m_gear)
        if (g)
            g->advance(ms);
}

QByteArray SimGateway::exception(uint8_t function, uint8_t code) const
{
    return Frame::exceptionAnswer(uint8_t(m_address), function, code);
}

SimGateway::Reply SimGateway::handle(QByteArrayView request)
{
    if (request.size() < 4)
        return {};
    const auto function = uint8_t(request[1]);
    // Register requests have a fixed layout; one whose length disagrees with it is refused
    // rather than guessed at.
    constexpr int kFixedRequest = 8;
    constexpr int kWriteSeveralHeader = 7;
    switch (function) {
    case protocol::function::ReadRegisters:
        if (request.size() != kFixedRequest)
            return {exception(function, ex::IllegalValue), 0};
        return readRegisters(word(request, 2), word(request, 4));
    case protocol::function::WriteRegister: {
        if (request.size() != kFixedRequest)
            return {exception(function, ex::IllegalValue), 0};
        Reply reply = writeRegisters(function, word(request, 2), {word(request, 4)});
        if (reply.answer.isEmpty())
            reply.answer = request.toByteArray();   // the normal answer echoes the request
        return reply;
    }
    case protocol::function::WriteRegisters: {
        if (request.size() < kWriteSeveralHeader + 2)
            return {exception(function, ex::IllegalValue), 0};
        const int count = word(request, 4);
        const int byteCount = uint8_t(request[6]);
        if (count == 0 || byteCount != 2 * count || request.size() != kWriteSeveralHeader + byteCount + 2)
            return {exception(function, ex::IllegalValue), 0};
        std::vector<uint16_t> values;
        for (int k = 0; k < count; ++k)
            values.push_back(word(request, kWriteSeveralHeader + 2 * k));
        Reply reply = writeRegisters(function, word(request, 2), values);
        if (reply.answer.isEmpty()) {
            // The normal answer repeats address, function, register number and count.
            QByteArray head = request.first(6).toByteArray();
            head[0] = char(m_address);
            reply.answer = Frame::withChecksum(head).bytes();
        }
        return reply;
    }
    default:
        return {exception(function, ex::IllegalFunction), 0};
    }
}

SimGateway::Reply SimGateway::readRegisters(uint16_t first, int count)
{
    const uint8_t function = protocol::function::ReadRegisters;
    if (count < 1 || count > kMaxReadCount)
        return {exception(function, ex::IllegalValue), 0};

    std::vector<uint16_t> values;
    int busFrames = 0;
    if (findGatewayRegister(first)) {
        for (int k = 0; k < count; ++k) {
            const GatewayRegister *r = findGatewayRegister(uint32_t(first) + uint32_t(kRegisterWidth * k));
            if (!r || !r->read)
                return {exception(function, ex::IllegalRegister), 0};
            values.push_back(r->read(*this));
        }
    } else {
        const int tgt = first >> 8;
        const int firstItem = first & 0xFF;
        std::vector<const GearItem *> items;
        for (int k = 0; k < count; ++k) {
            const GearItem *it = findGearItem(firstItem + kRegisterWidth * k);
            if (!it || !it->read)
                return {exception(function, ex::IllegalRegister), 0};
            items.push_back(it);
        }
        // A query needs exactly one gear to answer it.
        if (!target::isShortAddress(tgt))
            return {exception(function, ex::IllegalRegister), 0};
        SimGear *g = gear(tgt);
        if (!g)
            return {exception(function, ex::GearNoAnswer), 1};
        for (int k = 0; k < count; ++k) {
            busFrames += items[size_t(k)]->readFrames;
            const auto v = items[size_t(k)]->read(*g, uint8_t(firstItem + kRegisterWidth * k));
            if (!v)
                return {exception(function, ex::GearNoAnswer), busFrames};
            values.push_back(*v);
        }
    }

    QByteArray payload;
    payload.append(char(m_address));
    payload.append(char(function));
    payload.append(char(2 * count));
    for (uint16_t v : values) {
        payload.append(char(v >> 8));
        payload.append(char(v & 0xFF));
    }
    return {Frame::withChecksum(payload).bytes(), busFrames};
}

// Returns an empty answer when carried out, so that the caller builds the normal answer.
SimGateway::Reply SimGateway::writeRegisters(uint8_t function, uint16_t first, const std::vector<uint16_t> &values)
{
    if (findGatewayRegister(first)) {
        std::vector<const GatewayRegister *> regs;
        for (size_t k = 0; k < values.size(); ++k) {
            const GatewayRegister *r = findGatewayRegister(uint32_t(first) + uint32_t(kRegisterWidth * k));
            if (!r || !r->write)
                return {exception(function, ex::IllegalRegister), 0};
            regs.push_back(r);
        }
        for (size_t k = 0; k < values.size(); ++k)
            if (const uint8_t code = regs[k]->write(*this, values[k]))
                return {exception(function, code), 0};
        return {};
    }
    const Outcome outcome = writeGear(uint8_t(first >> 8), uint8_t(first & 0xFF), values);
    if (outcome.exception)
        return {exception(function, outcome.exception), outcome.busFrames};
    return {QByteArray(), outcome.busFrames};
}

SimGateway::Outcome SimGateway::writeGear(uint8_t tgt, uint8_t firstItem, const std::vector<uint16_t> &values)
{
    // Everything is checked before anything goes on the bus, so a refused request changes nothing.
    std::vector<const GearItem *> items;
    for (size_t k = 0; k < values.size(); ++k) {
        const GearItem *it = findGearItem(firstItem + kRegisterWidth * int(k));
        if (!it || !it->write)
            return {ex::IllegalRegister, 0};
        if (const uint8_t code = it->check(values[k]))
            return {code, 0};
        items.push_back(it);
    }

    std::vector<SimGear *> gear;
    int busFrames = 0;
    if (target::isShortAddress(tgt)) {
        // The gateway makes sure that a single gear answers before it commands it.
        busFrames = 1;
        SimGear *g = this->gear(tgt);
        if (!g || !g->command(dali::cmd::QueryControlGearPresent))
            return {ex::GearNoAnswer, busFrames};
        gear.push_back(g);
    } else if (target::isGroup(tgt)) {
        for (auto &g : m_gear)
            if (g && g->inGroup(tgt - target::FirstGroup))
                gear.push_back(&*g);
    } else if (tgt == target::Broadcast) {
        for (auto &g : m_gear)
            if (g)
                gear.push_back(&*g);
    } else {
        return {ex::IllegalRegister, 0};
    }

    for (size_t k = 0; k < values.size(); ++k) {
        const auto it = uint8_t(firstItem + kRegisterWidth * int(k));
        for (SimGear *g : gear)
            items[k]->write(*g, it, values[k]);
        busFrames += items[k]->writeFrames(values[k]);
    }
    // Gear whose short address was deleted answer only to broadcasts and the addressing commands.
    for (auto &g : m_gear) {
        if (g && g->missingShortAddress()) {
            m_unaddressed.push_back(*g);
            g.reset();
        }
    }
    return {0, busFrames};
}

}  // namespace lumaro::sim
