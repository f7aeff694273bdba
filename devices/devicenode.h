#pragma once

#include "currenttarget.h"

#include <QString>

namespace lumaro {

// What one node of the device tree stands for. The tree keeps these with its items; the logic
// works on them alone, so keys, targets and the status bar texts are decided without a widget.
struct DeviceNode
{
    enum class Kind {
        Root,          // "Devices"
        Gateway,       // Hall#M3
        Group,         // Group2#G2
        Member,        // a gear under a group: Lamp#A5
        GearFolder,    // ControlGear#CG
        Gear,          // Lamp#A5 under the gear folder
        ExpandFolder,  // "ExpandControl"
        ExtendGroup,   // Exp0#E0
        TimingFolder,  // "TimingControl"
        TimingTable,   // Timer#T0, SeqTab3#S3
    };

    Kind kind = Kind::Root;
    int gateway = 0;   // 1..16 for a gateway and everything under it
    int group = -1;    // 0..15 for a group and its members
    int address = -1;  // 0..63 for a gear and a member
    QString label;     // as shown: display name, "#", key

    // The text after the first "#"; a label without "#" is its own key. The three top-level
    // nodes have fixed keys, whatever language their label is in.
    QString key() const;
    // The section of the project it names: M3A17 for a gear and for its member nodes, M3G2,
    // M3CG, M3; the node's own key for every other node.
    QString fullKey() const;
    // The display name before the "#".
    QString displayName() const;

    bool isUnderGateway() const { return gateway > 0; }
    // What a command on this node addresses, and the status bar text of that target.
    CurrentTarget target() const;
    QString appId() const;
};

}  // namespace lumaro
