#pragma once

#include "protocol.h"
#include "simgear.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace lumaro::sim {

namespace gatewayflag = protocol::gatewayflag;

// One simulated DALI gateway (address 1..16) with its model, firmware version, status flags and
// a DALI bus of up to 64 gear by short address. It answers the register protocol: 0x43 read
// registers, 0x46 write one register, 0x50 write several. SimLine hands it the requests for its
// address and for all gateways; tests may also drive it directly.
//
// Register numbers: a register of the gateway itself when the gateway register table has it,
// otherwise the high byte is a target (0..63 short address, 64..79 group, 80 all gear) and the
// low byte an item of the gear item table. Registers are two items wide: a read of count c at
// item i returns items i, i + 2, ... (0x4A with count 2 is status 0x4A and level 0x4C). Every
// register carries its value in the low byte unless the table says otherwise.
//
// Registers served (value layouts, high byte first on the line):
//   0x50F8  model code (low byte)           0x50FA  firmware version (low byte)
//   0x50FE  status flags (low byte, gatewayflag bits)
//   0x50CA..0x50DC  network parameters, ten registers of two bytes: IP address, default gateway,
//           subnet mask (four bytes each, most significant first), port (high byte first), MAC
//   0x50E6  write 1: reboot; the gateway answers, then stays silent for kRebootMs
//   0x4FE6..0x4FEC  clock, four registers: 0, year % 100, month, day, hour, minute, second,
//           weekday; it runs on with advance(); a write takes effect with its last register
//   0x4EF6  write: timing switch, 0 / 1 timing off / on, 10 n / 10 n + 1 sequence n (1..4) off / on
//   0x4EF8  timing state: bit 0 timing on, bits 1..4 sequences 1..4 on
//   item 0x00  write: DALI command (value = opcode 0..255)
//   item 0x02  write: 255 deletes the short address; the gear stays on the bus unaddressed
//   item 0x04  write: store the actual level as scene n (value n = 0..15)
//   item 0x0C + 2n  scene n level; write 0x0100 removes the target from scene n, 0..255 sets it
//   item 0x2C  write: direct arc power level 0..255
//   item 0x40  read: presence, 0x00FF when the gear answers
//   item 0x42  read: device type    item 0x44  read: version    item 0x46  read: physical min
//   item 0x48  read: groups, high byte groups 8..15, low byte groups 0..7
//   item 0x4A  read: DALI status byte    item 0x4C  read: actual level
//   item 0x72  read: DT8 colour type features; 0x74 colour temperature in mirek (Tc gear) or R;
//              0x76, 0x78, 0x7A  G, B, W (gear of device type 8 only)
// Gear items are read from one gear only (a short address); writes go to one gear, the members
// of a group or all gear. Configuration commands are sent twice on the bus by the gateway.
//
// Exception answers (function | 0x80, code): 1 unknown function, 2 unknown register or a
// register that cannot be read or written that way (reading a group, for example), 3 a bad
// value, count or frame length, 4 the addressed gear is not on the bus or does not answer
// (nothing is carried out then).
class SimGateway
{
public:
    static constexpr uint8_t kDefaultModel = 0x80;
    static constexpr uint8_t kDefaultVersion = 16;
    static constexpr int kRebootMs = 10000;
    static constexpr int kNetworkBytes = 20;
    static constexpr int kClockBytes = 8;

    explicit SimGateway(int address = 1);

    int address() const { return m_address; }
    uint8_t model() const { return m_model; }
    void setModel(uint8_t model) { m_model = model; }
    uint8_t version() const { return m_version; }
    void setVersion(uint8_t version) { m_version = version; }
    uint8_t statusFlags() const { return m_statusFlags; }
    void setStatusFlags(uint8_t flags) { m_statusFlags = flags; }

    using NetworkParameters = std::array<uint8_t, kNetworkBytes>;
    const NetworkParameters &networkParameters() const { return m_network; }
    void setNetworkParameters(const NetworkParameters &p) { m_network = p; }
    // A rebooting gateway does not answer until its restart time has passed.
    bool isRebooting() const { return m_rebootLeftMs > 0; }
    void reboot() { m_rebootLeftMs = kRebootMs; }
    // The clock as its registers hold it: 0, year % 100, month, day, hour, minute, second, weekday.
    using ClockBytes = std::array<uint8_t, kClockBytes>;
    ClockBytes clock() const;
    // False (and the clock unchanged) for a date or time that does not exist.
    bool setClock(const ClockBytes &bytes);
    uint8_t timingState() const { return m_timingState; }
    void setTimingState(uint8_t state) { m_timingState = state; }
    // A value of the timing switch register; false when it means nothing.
    bool switchTiming(uint16_t value);
    // Register writes of the clock collect here until its last register arrives.
    void stageClockRegister(int index, uint16_t value);
    const ClockBytes &stagedClock() const { return m_clockStaged; }

    // The gear at a short address 0..63, or nullptr when the bus has none there.
    SimGear *gear(int shortAddress);
    const SimGear *gear(int shortAddress) const;
    // Puts a gear on the bus at a short address (replacing one that is there).
    SimGear &addGear(int shortAddress, const SimGear &gear = SimGear());
    void removeGear(int shortAddress);
    int gearCount() const;
    // Gear on the bus that have no short address.
    int unaddressedCount() const { return int(m_unaddressed.size()); }

    struct Reply {
        QByteArray answer;   // the complete answer frame, checksum included
        int busFrames = 0;   // DALI frames the request put on the bus (for the answer timing)
    };
    // Carries out one request frame (checksum already checked) addressed to this gateway or to
    // all gateways. The answer carries this gateway's address.
    Reply handle(QByteArrayView request);

    // Lets simulated time pass on the bus (fades).
    void advance(int ms);

    // Register table rows; public so that the tables in the implementation can name them.
    struct GatewayRegister;
    struct GearItem;

private:
    struct Outcome {
        uint8_t exception = 0;   // 0: carried out
        int busFrames = 0;
    };

    Reply readRegisters(uint16_t first, int count);
    Reply writeRegisters(uint8_t function, uint16_t first, const std::vector<uint16_t> &values);
    Outcome writeGear(uint8_t target, uint8_t firstItem, const std::vector<uint16_t> &values);
    QByteArray exception(uint8_t function, uint8_t code) const;

    int m_address;
    uint8_t m_model = kDefaultModel;
    uint8_t m_version = kDefaultVersion;
    uint8_t m_statusFlags = 0;
    NetworkParameters m_network;
    int m_rebootLeftMs = 0;
    QDateTime m_clock;          // kept in UTC so that simulated time knows no daylight saving
    int m_clockMs = 0;          // below one second, carried between advances
    uint8_t m_weekday = 1;
    ClockBytes m_clockStaged{};
    uint8_t m_timingState = 0;
    std::array<std::optional<SimGear>, 64> m_gear;
    // Gear on the bus without a short address (their address was deleted).
    std::vector<SimGear> m_unaddressed;
};

}  // namespace lumaro::sim
