#pragma once

#include <QtGlobal>
#include <array>

class QObject;

namespace lumaro {

// One control gear (short address 0..63) of a gateway: presence from db.ctt, and the live state
// that the status poll and the dimming windows keep. Status and level go back to the file at
// exit, and only once they are known.
struct GearRecord
{
    static constexpr quint8 kNotShown = 255;
    static constexpr quint8 kNoDeviceType = 255;
    static constexpr quint8 kDefaultColourType = 2;  // Tc only

    enum Status : quint8 { Answering = 0, NotAnswering = 1, LampFailure = 2 };

    bool stateKnown = false;        // status and level loaded from the store or set by the poll
    bool present = false;           // section MgAa exists
    quint8 listRow = kNotShown;     // row in the gear list view
    quint8 level = 0;               // actual arc level 0..254 (key VOLUE)
    quint8 status = Answering;      // key STATUS
    QObject *dimmingWindow = nullptr;
    quint8 windowSlot = 0;
    bool windowShown = false;
    quint8 missCount = 0;           // consecutive failed presence checks, 0..250
    quint8 deviceType = kNoDeviceType;  // IEC 62386-102 device type (key MODEL, hex); 8 = DT8 colour
    // Key COLOUR_TYPE: bit 0 xy, bit 1 Tc, bits 2..4 primaries, bits 5..7 RGBWAF channels.
    quint8 colourType = kDefaultColourType;
    quint32 colourTemperature = 0;  // mirek
    std::array<quint8, 4> colour{}; // R, G, B, W
};

}  // namespace lumaro
