#pragma once

#include <QtGlobal>

class QObject;

namespace lumaro {

// The dimming window of target 80 (all gear of a gateway); the level and colour last sent there
// live in the GatewayRecord.
struct BroadcastRecord
{
    QObject *dimmingWindow = nullptr;
    bool windowShown = false;
    quint8 windowSlot = 0;
};

}  // namespace lumaro
