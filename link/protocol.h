#pragma once
// The gateway register protocol in one place: function codes, target codes, register items and
// the gateway's own registers. The link's callers, the simulated line and the tests all use these
// names; no feature writes a bare 0x46 or 96 + g.

#include <cstdint>

namespace lumaro::protocol {

// Frame limits of the RS485 register protocol.
inline constexpr int kMaxFrame = 128;                 // bytes on the line, checksum included
inline constexpr int kMaxRequestPayload = kMaxFrame - 2;
inline constexpr int kMinAnswer = 5;                  // address, function, one data byte, checksum
inline constexpr int kMaxAnswer = kMaxFrame - 1;
inline constexpr int kMaxGatewayAddress = 16;
inline constexpr int kGatewayCount = 16;
inline constexpr uint8_t kAllGateways = 0;           // frame broadcast to every gateway; never answered

namespace function {
inline constexpr uint8_t ReadRegisters = 0x43;
inline constexpr uint8_t WriteRegister = 0x46;
inline constexpr uint8_t WriteRegisters = 0x50;
inline constexpr uint8_t UpgradeStart = 0x70;
inline constexpr uint8_t UpgradeBlock = 0x71;
inline constexpr uint8_t UpgradeCheck = 0x72;
inline constexpr uint8_t UpgradeFinish = 0x73;
inline constexpr uint8_t ExceptionFlag = 0x80;        // set in the function byte of an exception answer

constexpr bool isException(uint8_t f) { return (f & ExceptionFlag) != 0; }
}  // namespace function

// Exception codes the gateways send (Modbus-like meaning).
namespace exception {
inline constexpr uint8_t IllegalFunction = 1;
inline constexpr uint8_t IllegalRegister = 2;
inline constexpr uint8_t IllegalValue = 3;
inline constexpr uint8_t GearNoAnswer = 4;
}  // namespace exception

// High byte of a register number: what on one gateway's bus is addressed.
namespace target {
inline constexpr uint8_t FirstShortAddress = 0;
inline constexpr uint8_t LastShortAddress = 63;
inline constexpr uint8_t FirstGroup = 64;            // groups 0..15 are 64..79
inline constexpr uint8_t LastGroup = 79;
inline constexpr uint8_t Broadcast = 80;             // the gateway itself and all gear of its bus
inline constexpr int GearCount = 64;
inline constexpr int GroupCount = 16;
inline constexpr int SceneCount = 16;

constexpr uint8_t group(int g) { return uint8_t(FirstGroup + g); }
constexpr bool isShortAddress(int t) { return t >= FirstShortAddress && t <= LastShortAddress; }
constexpr bool isGroup(int t) { return t >= FirstGroup && t <= LastGroup; }
}  // namespace target

// Low byte of a register number for a gear, group or broadcast target.
namespace item {
inline constexpr uint8_t DaliCommand = 0x00;         // write: value is the DALI command opcode
inline constexpr uint8_t ShortAddress = 0x02;
inline constexpr uint8_t StoreScene = 0x04;          // write: value n stores the actual level as scene n
inline constexpr uint8_t SceneRemoveBase = 0x0C;     // 0x0C + 2n removes the target from scene n
inline constexpr uint16_t SceneRemoveValue = 0x0100;
inline constexpr uint8_t ArcLevel = 0x2C;            // write: direct arc power level 0..254
inline constexpr uint8_t LevelPercent = 0x3A;
inline constexpr uint8_t Presence = 0x40;            // read, count 1: any normal answer means present
inline constexpr uint8_t DeviceType = 0x42;
inline constexpr uint8_t Version = 0x44;
inline constexpr uint8_t PhysicalMinimum = 0x46;
inline constexpr uint8_t GroupMembership = 0x48;
inline constexpr uint8_t StatusLevel = 0x4A;         // read, count 2: status register, level register
inline constexpr uint8_t ActualLevel = 0x4C;         // the second register of that read
inline constexpr uint8_t RandomAddress = 0x4E;
inline constexpr uint8_t Colour = 0x72;

constexpr uint8_t sceneRemove(int scene) { return uint8_t(SceneRemoveBase + 2 * scene); }
}  // namespace item

// Registers of the gateway itself (high byte 0x50 = Broadcast, or one of the pages 0x4C..0x4F).
namespace reg {
inline constexpr uint16_t make(uint8_t high, uint8_t low) { return uint16_t(high << 8 | low); }
inline constexpr uint16_t NetworkParameters = 0x50CA;
inline constexpr uint16_t GroupCrossControl = 0x50E0;
inline constexpr uint16_t FireLinkage = 0x50E2;
inline constexpr uint16_t Rs485Parameters = 0x50E4;
inline constexpr uint16_t Reboot = 0x50E6;
inline constexpr uint16_t ScanControl = 0x50EA;
inline constexpr uint16_t ModelVersion = 0x50F8;      // two registers: model, version
inline constexpr uint16_t Version = 0x50FA;
inline constexpr uint16_t StatusFlags = 0x50FE;
inline constexpr uint16_t TimingEntries = 0x4EE6;
inline constexpr uint16_t TimingSwitch = 0x4EF6;
inline constexpr uint16_t TimingState = 0x4EF8;
inline constexpr uint16_t Clock = 0x4FE6;
}  // namespace reg

// Bits of the gateway's status flags register (0x50FE), as the gateway list shows them.
namespace gatewayflag {
inline constexpr uint8_t Busy = 0x01;
inline constexpr uint8_t Debug = 0x02;
inline constexpr uint8_t ScanningBus = 0x04;
inline constexpr uint8_t BusLocked = 0x08;
inline constexpr uint8_t FireLinkage = 0x20;
}  // namespace gatewayflag

}  // namespace lumaro::protocol
