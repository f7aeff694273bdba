#pragma once

#include "busrecord.h"

#include <QString>

namespace lumaro {

class ProjectStore;
class RebuildObserver;

// The in-memory image of the installation: which gateways, groups and gear exist, the group
// memberships, and the live state the status poll and the dimming windows keep. Windows read
// and write the records directly, on the user-interface thread only. Presence and memberships
// follow db.ctt after each rebuild(); status and level go back to it with saveLiveState().
class ProjectData
{
public:
    static constexpr int kFirstGateway = 1;
    static constexpr int kLastGateway = 16;

    BusRecord bus;

    GatewayRecord &gateway(int g) { return bus.gateways[checked(g, BusRecord::kGatewaySlots)]; }
    const GatewayRecord &gateway(int g) const { return bus.gateways[checked(g, BusRecord::kGatewaySlots)]; }
    GroupRecord &group(int g, int k) { return gateway(g).groups[checked(k, GatewayRecord::kGroups)]; }
    const GroupRecord &group(int g, int k) const { return gateway(g).groups[checked(k, GatewayRecord::kGroups)]; }
    GearRecord &gear(int g, int a) { return gateway(g).gear[checked(a, GatewayRecord::kGear)]; }
    const GearRecord &gear(int g, int a) const { return gateway(g).gear[checked(a, GatewayRecord::kGear)]; }

    // Derives presence, counts, memberships and the network parameters of gateways 1..16 from
    // db.ctt and reports every node found to the observer. Live state is left as it is.
    void rebuild(const ProjectStore &store, RebuildObserver *observer = nullptr);

    // Take the state of a gateway or gear from the store the first time a list shows it (call
    // while stateKnown is clear): STATUS, VOLUE, and the device and colour type.
    void loadGatewayState(const ProjectStore &store, int g);
    void loadGearState(const ProjectStore &store, int g, int a);

    // Writes STATUS (and VOLUE for gear) of every present gateway and gear whose state is known
    // to the copy of db.ctt, then rewrites the file from it. State never known keeps what the
    // file holds. Returns false when the file could not be written.
    bool saveLiveState(ProjectStore &store) const;

    // Section names of db.ctt: M3, M3G12, M3A40.
    static QString gatewaySection(int g);
    static QString groupSection(int g, int k);
    static QString gearSection(int g, int a);

    // GATEIP as shown: four bytes, most significant first (3232235876 -> 192.168.1.100).
    static QString dottedAddress(quint32 address);

private:
    static size_t checked(int index, int size)
    {
        Q_ASSERT(index >= 0 && index < size);
        Q_UNUSED(size);
        return size_t(index);
    }
};

}  // namespace lumaro
