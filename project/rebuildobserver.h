#pragma once

#include <QString>

namespace lumaro {

// Told of every node a rebuild of the project data finds, in tree order: a gateway, its groups
// each followed by its members, then the gear folder and the gear. The device tree implements it
// to build its nodes; labels are the display name, "#" and the key (Hall#M3, Group2#G2, Lamp#A5).
class RebuildObserver
{
public:
    virtual ~RebuildObserver() = default;
    virtual void onGateway(int gateway, const QString &label) = 0;
    virtual void onGroup(int gateway, int group, const QString &label) = 0;
    virtual void onGroupMember(int gateway, int group, int shortAddress, const QString &label) = 0;
    // The folder of the gear under the gateway; label "ControlGear#CG".
    virtual void onGearFolder(int gateway, const QString &label) = 0;
    virtual void onGear(int gateway, int shortAddress, const QString &label) = 0;
};

}  // namespace lumaro
