#pragma once
// Requester ids: each window that talks to a gateway asks under the number of its dialog, and the
// link routes the answer back by that number. Ids that are not in this table are handled like the
// generic requester.

#include <optional>

namespace lumaro::requester {

inline constexpr int None = 0;
inline constexpr int Generic = 123;
inline constexpr int StatusPoll = 128;
inline constexpr int GearList = 138;
inline constexpr int GatewayList = 205;
inline constexpr int SequenceView = 207;
inline constexpr int AddGateway = 220;
inline constexpr int ScanSlave = 224;
inline constexpr int AddGroup = 225;
inline constexpr int AddSlave = 226;
inline constexpr int SlaveVersionPage = 228;
inline constexpr int SlaveScenePage = 229;
inline constexpr int SlaveGroupPage = 230;
inline constexpr int ExtendGroup = 250;
inline constexpr int DimmingKeyPage = 280;
inline constexpr int DaliSensorPage = 293;
inline constexpr int CrossControlPage = 326;
inline constexpr int FireLinkagePage = 327;
inline constexpr int Rs485PortPage = 328;
inline constexpr int DaliCmdDebugPage = 342;
inline constexpr int TimeSendTo = 344;
inline constexpr int Dt8VersionPage = 357;
inline constexpr int Dt8ScenePage = 360;
inline constexpr int PortSetting = 364;
inline constexpr int Upgrade = 370;
inline constexpr int AssociatedControl = 371;
// Not in the table below: its answers and time-outs are logged as the generic requester's.
inline constexpr int TestAddressing = 372;
inline constexpr int ControlPasswordPage = 376;

struct Info {
    int id;
    bool ownTimeout;   // handles its time-outs itself; otherwise the link logs "Time-out."
};

inline constexpr Info kKnown[] = {
    {Generic, false},          {StatusPoll, true},       {GearList, true},
    {GatewayList, true},       {SequenceView, false},    {AddGateway, true},
    {ScanSlave, true},         {AddGroup, true},         {AddSlave, true},
    {SlaveVersionPage, false}, {SlaveScenePage, false},  {SlaveGroupPage, false},
    {ExtendGroup, true},       {DimmingKeyPage, false},  {DaliSensorPage, false},
    {CrossControlPage, false}, {FireLinkagePage, false}, {Rs485PortPage, false},
    {DaliCmdDebugPage, false}, {TimeSendTo, false},      {Dt8VersionPage, false},
    {Dt8ScenePage, false},     {PortSetting, true},      {Upgrade, false},
    {AssociatedControl, false},{ControlPasswordPage, false},
};

constexpr std::optional<Info> info(int id)
{
    for (const Info &i : kKnown)
        if (i.id == id)
            return i;
    return std::nullopt;
}

}  // namespace lumaro::requester
