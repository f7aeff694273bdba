#pragma once

#include "gatewayrecord.h"

#include <QtGlobal>
#include <array>

namespace lumaro {

// The one RS485 line and its gateways, indexed by gateway address; index 0 stands for "all
// gateways" and never holds a present gateway.
struct BusRecord
{
    static constexpr int kGatewaySlots = 17;

    bool statusPollPaused = false;
    std::array<GatewayRecord, kGatewaySlots> gateways{};
    quint8 comPort = 0;     // n of the open port COMn
    bool connected = false; // the port is open
};

}  // namespace lumaro
