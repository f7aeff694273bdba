#pragma once

#include "protocol.h"

#include <QString>

namespace lumaro {

// What the next direct command, the dimming window, the gear properties and the addressing test
// address: set by the device tree's selection, held by the main window.
struct CurrentTarget {
    int bus = 0;                                   // there is one line; always 0
    int gateway = 0;                               // 1..16; 0 = all gateways (or none)
    int targetCode = protocol::target::Broadcast;  // 0..63 gear, 64..79 group, 80 all gear
    QString label = QStringLiteral("AllDevice");   // "AllDevice" or the full key of the node (M3A17)

    bool isGear() const { return protocol::target::isShortAddress(targetCode); }
    bool isGroup() const { return protocol::target::isGroup(targetCode); }
    friend bool operator==(const CurrentTarget &, const CurrentTarget &) = default;
};

}  // namespace lumaro
