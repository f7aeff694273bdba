#include "gearlistcells.h"

#include "gearrecord.h"
#include "levelscale.h"
#include "printftext.h"

#include <QCoreApplication>
#include <array>

namespace lumaro::gearcells {

namespace {

constexpr quint8 kDt8 = 8;
constexpr quint8 kXyBit = 0x01;
constexpr quint8 kTcBit = 0x02;
constexpr quint8 kWhiteBit = 0x80;
constexpr int kPrimariesShift = 2;
constexpr quint8 kPrimariesMask = 0x07;
constexpr int kChannelsShift = 5;
constexpr quint8 kChannelsMask = 0x07;
constexpr quint8 kThreeChannelsOnly = 0x60;   // bits 5 and 6 set, bit 7 clear: RGB without W

constexpr quint32 kMirekKelvin = 1000000;
constexpr int kFirstStepKelvin = 2000;
constexpr int kStepKelvin = 500;
// Bar colours of the colour-temperature presets 2000 K .. 6500 K.
constexpr std::array<Colour, 10> kTemperatureSteps = {{
    {218, 160, 0}, {241, 221, 162}, {255, 252, 247}, {255, 255, 255}, {255, 255, 255},
    {243, 248, 252}, {223, 248, 252}, {183, 215, 238}, {118, 179, 223}, {62, 148, 209},
}};
constexpr Colour kWhite{255, 255, 255};
constexpr Colour kGreen{50, 160, 60};
constexpr Colour kYellow{255, 255, 0};
constexpr Colour kDarkYellow{160, 160, 60};
constexpr Colour kRed{160, 50, 60};

QString tr(const char *text)
{
    return QCoreApplication::translate("GearList", text);
}

QString percentText(int percent)
{
    return fromPrintf(tr(QT_TRANSLATE_NOOP("GearList", "ON:%d%%"))).arg(percent);
}

}  // namespace

bool showsColour(quint8 deviceType)
{
    return deviceType == kDt8 || deviceType == GearRecord::kNoDeviceType;
}

bool colourByTemperature(quint8 colourType)
{
    return (colourType & kTcBit) != 0;
}

bool hasWhite(quint8 colourType)
{
    return (colourType & kWhiteBit) != 0;
}

QString modelText(const QString &typeName, quint8 deviceType, quint8 colourType)
{
    QString text = typeName;
    if (!showsColour(deviceType))
        return text;
    if (colourType & kXyBit)
        text += QLatin1String(".xy");
    if (colourType & kTcBit)
        text += QLatin1String(".TC");
    if (const int primaries = colourType >> kPrimariesShift & kPrimariesMask)
        text += QStringLiteral(".PN=%1").arg(primaries);
    const int channels = colourType >> kChannelsShift & kChannelsMask;
    if (channels == 3)
        text += QLatin1String(".RGB");
    else if (channels == 4)
        text += QLatin1String(".RGBW");
    else if (channels != 0)
        text += QStringLiteral(".RGBWAF=%1").arg(channels);
    return text;
}

int kelvin(quint32 mirek)
{
    return mirek == 0 ? 0 : int(kMirekKelvin / mirek);
}

Colour temperatureColour(int k)
{
    // Half way between two steps takes the warmer-numbered, higher step.
    const int step = (k - kFirstStepKelvin + kStepKelvin / 2) / kStepKelvin;
    if (k <= kFirstStepKelvin || step <= 0)
        return kTemperatureSteps.front();
    return kTemperatureSteps[size_t(std::min<int>(step, int(kTemperatureSteps.size()) - 1))];
}

Level level(const GearRecord &gear)
{
    Level cell;
    const int percent = levelscale::levelToPercent(gear.level);
    if (!showsColour(gear.deviceType)) {
        cell.text = percentText(percent);
        cell.percent = percent;
        cell.colour = kDefaultBar;
        return cell;
    }
    if (colourByTemperature(gear.colourType)) {
        const int k = kelvin(gear.colourTemperature);
        cell.text = percentText(percent) + fromPrintf(tr(QT_TRANSLATE_NOOP("GearList", ",TC:%dK"))).arg(k);
        cell.percent = percent;
        cell.colour = temperatureColour(k);
        return cell;
    }
    const auto &[r, g, b, w] = gear.colour;
    cell.text = QStringLiteral("R:%1,G:%2,B:%3").arg(r).arg(g).arg(b);
    if (hasWhite(gear.colourType))
        cell.text += QStringLiteral(",W:%1").arg(w);
    if (r != 0 || g != 0 || b != 0) {
        cell.percent = 100;
        cell.colour = {quint8(levelscale::linearValue(r)), quint8(levelscale::linearValue(g)),
                       quint8(levelscale::linearValue(b))};
        return cell;
    }
    cell.colour = kWhite;
    const bool threeChannelsOnly = (gear.colourType & 0xE0) == kThreeChannelsOnly;
    cell.percent = w != 0 && !threeChannelsOnly ? 100 : 0;
    return cell;
}

Status status(quint8 value, bool onFill)
{
    switch (value) {
    case GearRecord::Answering:
        return {tr(QT_TRANSLATE_NOOP("GearList", "OK")), kGreen};
    case GearRecord::LampFailure:
        return {tr(QT_TRANSLATE_NOOP("GearList", "Not OK or lamp faulure")), onFill ? kYellow : kDarkYellow};
    default:
        return {onFill ? tr(QT_TRANSLATE_NOOP("GearList", "Failure"))
                       : tr(QT_TRANSLATE_NOOP("GearList", "Failure/Off line")),
                kRed};
    }
}

QString physicalMinimum(const QString &stored)
{
    bool ok = false;
    const int n = stored.toInt(&ok);
    if (!ok || n < 0 || n > 254)
        return stored;
    if (n == 0)
        return tr(QT_TRANSLATE_NOOP("GearList", "0 (OFF)"));
    return QStringLiteral("%1(%2%)").arg(n).arg(levelscale::curvePercent(n), 0, 'f', 3);
}

}  // namespace lumaro::gearcells
