#pragma once

#include "broadcastrecord.h"
#include "gearrecord.h"
#include "grouprecord.h"

#include <QtGlobal>
#include <array>

namespace lumaro {

// One gateway address (1..16) of the line with its groups and gear. Presence, counts, network
// parameters and model come from db.ctt (section Mg); the rest is live state.
struct GatewayRecord
{
    static constexpr int kGroups = 16;
    static constexpr int kGear = 64;
    static constexpr quint8 kNotShown = 255;
    static constexpr quint32 kDefaultPort = 502;  // Modbus/TCP

    enum Status : quint8 { Answering = 0, NotAnswering = 1 };

    bool stateKnown = false;
    bool present = false;           // section Mg exists
    quint8 listRow = kNotShown;     // row in the gateway list view
    quint8 gearCount = 0;
    quint8 groupCount = 0;
    quint8 broadcastLevel = 0;      // last level sent to target 80
    quint8 status = Answering;      // key STATUS
    std::array<GroupRecord, kGroups> groups{};
    std::array<GearRecord, kGear> gear{};
    BroadcastRecord broadcast;
    void *treeItem = nullptr;       // the device tree's node; owned by the tree
    quint8 missCount = 0;           // consecutive time-outs of the gateway list, 0..250
    quint32 ipAddress = 0;          // key GATEIP; most significant byte first when shown
    quint32 ipPort = kDefaultPort;  // key GATEPORT
    qint32 networkState = 0;        // 1 = connected colour in the gateway list
    quint32 broadcastColourTemperature = 0;  // mirek last sent to target 80
    std::array<quint8, 4> broadcastColour{}; // R, G, B, W last sent to target 80
    quint8 model = 0xFF;            // key MODEL, two hex digits
};

}  // namespace lumaro
