#pragma once

#include <QtGlobal>
#include <array>

class QObject;

namespace lumaro {

// One of the 16 DALI groups of a gateway: presence and members follow db.ctt (section MgGk and
// the GROUPk keys of the gear), the rest is what the dimming window last sent to the group.
struct GroupRecord
{
    bool present = false;
    quint8 level = 0;
    // Bit a (byte a / 8, bit a % 8) set: the gear with short address a belongs to the group.
    std::array<quint8, 8> members{};
    QObject *dimmingWindow = nullptr;
    bool windowShown = false;
    quint8 windowSlot = 0;
    quint32 colourTemperature = 0;      // mirek
    std::array<quint8, 4> colour{};     // R, G, B, W

    bool hasMember(int shortAddress) const
    {
        return members[size_t(shortAddress) / 8] & (1u << (shortAddress % 8));
    }
    void setMember(int shortAddress, bool member)
    {
        const quint8 bit = quint8(1u << (shortAddress % 8));
        quint8 &byte = members[size_t(shortAddress) / 8];
        byte = member ? quint8(byte | bit) : quint8(byte & ~bit);
    }
};

}  // namespace lumaro
