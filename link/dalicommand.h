#pragma once
// IEC 62386-102 standard commands (address byte with S = 1) that the program sends through item
// 0x00 of a target and that the simulated gear obey.

#include <cstdint>
#include <optional>
#include <string_view>

namespace lumaro::dali {

enum class Answer : uint8_t { None, Byte, YesNo };

struct CommandInfo {
    uint8_t opcode;
    uint8_t span;            // number of consecutive opcodes the row covers (scenes, groups)
    std::string_view name;
    bool twice;              // takes effect only when received twice within 100 ms
    Answer answer;
};

namespace cmd {
inline constexpr uint8_t Off = 0;
inline constexpr uint8_t Up = 1;
inline constexpr uint8_t Down = 2;
inline constexpr uint8_t StepUp = 3;
inline constexpr uint8_t StepDown = 4;
inline constexpr uint8_t RecallMaxLevel = 5;
inline constexpr uint8_t RecallMinLevel = 6;
inline constexpr uint8_t StepDownAndOff = 7;
inline constexpr uint8_t OnAndStepUp = 8;
inline constexpr uint8_t GoToLastActiveLevel = 10;
inline constexpr uint8_t GoToScene0 = 16;
inline constexpr uint8_t Reset = 32;
inline constexpr uint8_t StoreActualLevelInDtr0 = 33;
inline constexpr uint8_t SetMaxLevel = 42;
inline constexpr uint8_t SetMinLevel = 43;
inline constexpr uint8_t SetSystemFailureLevel = 44;
inline constexpr uint8_t SetPowerOnLevel = 45;
inline constexpr uint8_t SetFadeTime = 46;
inline constexpr uint8_t SetFadeRate = 47;
inline constexpr uint8_t SetScene0 = 64;
inline constexpr uint8_t RemoveFromScene0 = 80;
inline constexpr uint8_t AddToGroup0 = 96;
inline constexpr uint8_t RemoveFromGroup0 = 112;
inline constexpr uint8_t SetShortAddress = 128;
inline constexpr uint8_t QueryStatus = 144;
inline constexpr uint8_t QueryControlGearPresent = 145;
inline constexpr uint8_t QueryLampFailure = 146;
inline constexpr uint8_t QueryLampPowerOn = 147;
inline constexpr uint8_t QueryLimitError = 148;
inline constexpr uint8_t QueryResetState = 149;
inline constexpr uint8_t QueryMissingShortAddress = 150;
inline constexpr uint8_t QueryVersionNumber = 151;
inline constexpr uint8_t QueryContentDtr0 = 152;
inline constexpr uint8_t QueryDeviceType = 153;
inline constexpr uint8_t QueryPhysicalMinimum = 154;
inline constexpr uint8_t QueryActualLevel = 160;
inline constexpr uint8_t QueryMaxLevel = 161;
inline constexpr uint8_t QueryMinLevel = 162;
inline constexpr uint8_t QueryPowerOnLevel = 163;
inline constexpr uint8_t QuerySystemFailureLevel = 164;
inline constexpr uint8_t QueryFadeTimeRate = 165;
inline constexpr uint8_t QuerySceneLevel0 = 176;
inline constexpr uint8_t QueryGroups0To7 = 192;
inline constexpr uint8_t QueryGroups8To15 = 193;

constexpr uint8_t goToScene(int n) { return uint8_t(GoToScene0 + n); }
constexpr uint8_t addToGroup(int g) { return uint8_t(AddToGroup0 + g); }
constexpr uint8_t removeFromGroup(int g) { return uint8_t(RemoveFromGroup0 + g); }
}  // namespace cmd

inline constexpr CommandInfo kCommands[] = {
    {cmd::Off, 1, "OFF", false, Answer::None},
    {cmd::Up, 1, "UP", false, Answer::None},
    {cmd::Down, 1, "DOWN", false, Answer::None},
    {cmd::StepUp, 1, "STEP UP", false, Answer::None},
    {cmd::StepDown, 1, "STEP DOWN", false, Answer::None},
    {cmd::RecallMaxLevel, 1, "RECALL MAX LEVEL", false, Answer::None},
    {cmd::RecallMinLevel, 1, "RECALL MIN LEVEL", false, Answer::None},
    {cmd::StepDownAndOff, 1, "STEP DOWN AND OFF", false, Answer::None},
    {cmd::OnAndStepUp, 1, "ON AND STEP UP", false, Answer::None},
    {cmd::GoToLastActiveLevel, 1, "GO TO LAST ACTIVE LEVEL", false, Answer::None},
    {cmd::GoToScene0, 16, "GO TO SCENE", false, Answer::None},
    {cmd::Reset, 1, "RESET", true, Answer::None},
    {cmd::StoreActualLevelInDtr0, 1, "STORE ACTUAL LEVEL IN DTR0", true, Answer::None},
    {cmd::SetMaxLevel, 1, "SET MAX LEVEL", true, Answer::None},
    {cmd::SetMinLevel, 1, "SET MIN LEVEL", true, Answer::None},
    {cmd::SetSystemFailureLevel, 1, "SET SYSTEM FAILURE LEVEL", true, Answer::None},
    {cmd::SetPowerOnLevel, 1, "SET POWER ON LEVEL", true, Answer::None},
    {cmd::SetFadeTime, 1, "SET FADE TIME", true, Answer::None},
    {cmd::SetFadeRate, 1, "SET FADE RATE", true, Answer::None},
    {cmd::SetScene0, 16, "SET SCENE", true, Answer::None},
    {cmd::RemoveFromScene0, 16, "REMOVE FROM SCENE", true, Answer::None},
    {cmd::AddToGroup0, 16, "ADD TO GROUP", true, Answer::None},
    {cmd::RemoveFromGroup0, 16, "REMOVE FROM GROUP", true, Answer::None},
    {cmd::SetShortAddress, 1, "SET SHORT ADDRESS", true, Answer::None},
    {cmd::QueryStatus, 1, "QUERY STATUS", false, Answer::Byte},
    {cmd::QueryControlGearPresent, 1, "QUERY CONTROL GEAR PRESENT", false, Answer::YesNo},
    {cmd::QueryLampFailure, 1, "QUERY LAMP FAILURE", false, Answer::YesNo},
    {cmd::QueryLampPowerOn, 1, "QUERY LAMP POWER ON", false, Answer::YesNo},
    {cmd::QueryLimitError, 1, "QUERY LIMIT ERROR", false, Answer::YesNo},
    {cmd::QueryResetState, 1, "QUERY RESET STATE", false, Answer::YesNo},
    {cmd::QueryMissingShortAddress, 1, "QUERY MISSING SHORT ADDRESS", false, Answer::YesNo},
    {cmd::QueryVersionNumber, 1, "QUERY VERSION NUMBER", false, Answer::Byte},
    {cmd::QueryContentDtr0, 1, "QUERY CONTENT DTR0", false, Answer::Byte},
    {cmd::QueryDeviceType, 1, "QUERY DEVICE TYPE", false, Answer::Byte},
    {cmd::QueryPhysicalMinimum, 1, "QUERY PHYSICAL MINIMUM", false, Answer::Byte},
    {cmd::QueryActualLevel, 1, "QUERY ACTUAL LEVEL", false, Answer::Byte},
    {cmd::QueryMaxLevel, 1, "QUERY MAX LEVEL", false, Answer::Byte},
    {cmd::QueryMinLevel, 1, "QUERY MIN LEVEL", false, Answer::Byte},
    {cmd::QueryPowerOnLevel, 1, "QUERY POWER ON LEVEL", false, Answer::Byte},
    {cmd::QuerySystemFailureLevel, 1, "QUERY SYSTEM FAILURE LEVEL", false, Answer::Byte},
    {cmd::QueryFadeTimeRate, 1, "QUERY FADE TIME/FADE RATE", false, Answer::Byte},
    {cmd::QuerySceneLevel0, 16, "QUERY SCENE LEVEL", false, Answer::Byte},
    {cmd::QueryGroups0To7, 1, "QUERY GROUPS 0-7", false, Answer::Byte},
    {cmd::QueryGroups8To15, 1, "QUERY GROUPS 8-15", false, Answer::Byte},
};

// The table row covering an opcode, if the program knows it.
constexpr std::optional<CommandInfo> commandInfo(uint8_t opcode)
{
    for (const CommandInfo &c : kCommands)
        if (opcode >= c.opcode && opcode < c.opcode + c.span)
            return c;
    return std::nullopt;
}

// IEC 62386-102 status byte.
namespace status {
inline constexpr uint8_t ControlGearFailure = 0x01;
inline constexpr uint8_t LampFailure = 0x02;
inline constexpr uint8_t LampPowerOn = 0x04;
inline constexpr uint8_t LimitError = 0x08;
inline constexpr uint8_t FadeRunning = 0x10;
inline constexpr uint8_t ResetState = 0x20;
inline constexpr uint8_t MissingShortAddress = 0x40;
inline constexpr uint8_t PowerCycleSeen = 0x80;
}  // namespace status

inline constexpr uint8_t kMask = 255;        // "no value": scene not set, level not given
inline constexpr uint8_t kMaxArcLevel = 254;

}  // namespace lumaro::dali
