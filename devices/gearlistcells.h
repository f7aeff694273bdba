#pragma once

#include <QString>
#include <QtGlobal>

namespace lumaro {

struct GearRecord;

// What the gear list shows in its computed cells, worked out from a gear's record without any
// widget: the model text with its DT8 colour suffixes, the level bar, the status cell and the
// physical minimum. The view hands these to its item delegates.
namespace gearcells {

struct Colour {
    quint8 red = 0;
    quint8 green = 0;
    quint8 blue = 0;
    friend bool operator==(const Colour &, const Colour &) = default;
};

struct Level {
    QString text;
    int percent = 0;    // fill of the bar, 0..100
    Colour colour;
    friend bool operator==(const Level &, const Level &) = default;
};

struct Status {
    QString text;
    Colour colour;
    friend bool operator==(const Status &, const Status &) = default;
};

// The colour of the bar when the gear's device type says nothing about colour.
inline constexpr Colour kDefaultBar{50, 160, 60};

// DT8 colour gear, and gear whose device type was never read, show their colour.
bool showsColour(quint8 deviceType);
// Colour type bit 1: the gear's colour is a colour temperature.
bool colourByTemperature(quint8 colourType);
// Colour type bit 7: the gear has a fourth (white) channel.
bool hasWhite(quint8 colourType);

// The device type's name followed, for colour gear, by ".xy", ".TC", ".PN=n", ".RGB", ".RGBW" or
// ".RGBWAF=n" from the colour type.
QString modelText(const QString &typeName, quint8 deviceType, quint8 colourType);
Level level(const GearRecord &gear);
// The bar colour of a colour temperature: the nearest 500 K step from 2000 K to 6500 K.
Colour temperatureColour(int kelvin);
// Kelvin of a colour temperature in mirek; 0 for 0.
int kelvin(quint32 mirek);
// The fill of a list shows yellow for a failure, the refresh of a row a darker yellow; both say
// "Failure" when the gear does not answer, the refresh also "Off line".
Status status(quint8 status, bool onFill);
// "PHYMIN" as "n(p%)" with the dimming-curve percentage, "0 (OFF)" for 0; other text as it is.
QString physicalMinimum(const QString &stored);

}  // namespace gearcells
}  // namespace lumaro
