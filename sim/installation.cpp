#include "installation.h"

#include "inidocument.h"
#include "protocol.h"

#include <QCoreApplication>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <algorithm>
#include <optional>

namespace lumaro::sim {

namespace {
// Decimal, or hexadecimal with a 0x prefix.
std::optional<int> decimal(const QString &text, int low, int high)
{
    bool ok = false;
    const int v = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? text.mid(2).toInt(&ok, 16)
                                                                            : text.toInt(&ok, 10);
    if (!ok || v < low || v > high)
        return std::nullopt;
    return v;
}

// Hexadecimal digits, as the project file writes model codes; a 0x prefix is allowed.
std::optional<int> hex(const QString &text, int high)
{
    const QString digits = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? text.mid(2) : text;
    bool ok = false;
    const int v = digits.toInt(&ok, 16);
    if (!ok || v < 0 || v > high)
        return std::nullopt;
    return v;
}

std::optional<bool> boolean(const QString &text)
{
    const QString t = text.toUpper();
    if (t == QLatin1String("TRUE") || t == QLatin1String("YES") || t == QLatin1String("1"))
        return true;
    if (t == QLatin1String("FALSE") || t == QLatin1String("NO") || t == QLatin1String("0"))
        return false;
    return std::nullopt;
}

// A comma-separated list of group numbers 0..15; empty for none.
std::optional<uint16_t> groupList(const QString &text)
{
    uint16_t groups = 0;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const auto g = decimal(part.trimmed(), 0, protocol::target::GroupCount - 1);
        if (!g)
            return std::nullopt;
        groups = uint16_t(groups | 1u << *g);
    }
    return groups;
}

class Reader
{
public:
    Reader(QString origin, QStringList &warnings) : m_origin(std::move(origin)), m_warnings(warnings) {}

    void warn(int line, const QString &message)
    {
        if (m_origin.isEmpty())
            m_warnings.append(QCoreApplication::translate("Installation", "line %1: %2").arg(line).arg(message));
        else
            m_warnings.append(
                QCoreApplication::translate("Installation", "%1:%2: %3").arg(m_origin).arg(line).arg(message));
    }
    void invalid(const IniDocument::Entry &e)
    {
        warn(e.line,
             QCoreApplication::translate("Installation", "%1=%2 is not valid; ignored").arg(e.key, e.value));
    }
    void adjusted(const IniDocument::Entry &e, int to)
    {
        warn(e.line, QCoreApplication::translate("Installation", "%1=%2 is out of range; %3 is used")
                         .arg(e.key, e.value)
                         .arg(to));
    }

    void gatewayKeys(const IniDocument::Section &s, SimGateway &gw)
    {
        for (const IniDocument::Entry &e : s.entries) {
            if (e.key == QLatin1String("MODEL")) {
                if (const auto v = hex(e.value, 0xFF))
                    gw.setModel(uint8_t(*v));
                else
                    invalid(e);
            } else if (e.key == QLatin1String("VER")) {
                if (const auto v = decimal(e.value, 0, 255))
                    gw.setVersion(uint8_t(*v));
                else
                    invalid(e);
            } else if (e.key == QLatin1String("STATUSFLAGS")) {
                if (const auto v = decimal(e.value, 0, 255))
                    gw.setStatusFlags(uint8_t(*v));
                else
                    invalid(e);
            } else {
                warn(e.line, QCoreApplication::translate("Installation", "unknown key %1").arg(e.key));
            }
        }
    }

    void gearKeys(const IniDocument::Section &s, SimGear &gear)
    {
        // The last line of a key counts; the keys are applied in an order that lets the limits
        // (physical minimum, maximum, minimum) settle before the levels are clamped to them.
        QMap<QString, IniDocument::Entry> last;
        for (const IniDocument::Entry &e : s.entries)
            last.insert(e.key, e);
        auto take = [&](const char *key) -> std::optional<IniDocument::Entry> {
            const auto it = last.constFind(QLatin1String(key));
            if (it == last.constEnd())
                return std::nullopt;
            IniDocument::Entry e = *it;
            last.erase(it);
            return e;
        };
        auto level = [&](const char *key, int low, int high, auto apply, auto result) {
            if (const auto e = take(key)) {
                if (const auto v = decimal(e->value, low, high)) {
                    apply(uint8_t(*v));
                    if (result() != *v)
                        adjusted(*e, result());
                } else {
                    invalid(*e);
                }
            }
        };
        auto flag = [&](const char *key, auto apply) {
            if (const auto e = take(key)) {
                if (const auto v = boolean(e->value))
                    apply(*v);
                else
                    invalid(*e);
            }
        };

        // The minimum level follows the physical minimum, as after a reset; an explicit MIN
        // comes next.
        level("PHYMIN", 1, 254,
              [&](uint8_t v) {
                  gear.setPhysicalMinimum(v);
                  gear.setMinLevel(v);
              },
              [&] { return gear.physicalMinimum(); });
        level("MAX", 1, 254, [&](uint8_t v) { gear.setMaxLevel(v); }, [&] { return gear.maxLevel(); });
        level("MIN", 1, 254, [&](uint8_t v) { gear.setMinLevel(v); }, [&] { return gear.minLevel(); });
        level("POWERON", 0, 255, [&](uint8_t v) { gear.setPowerOnLevel(v); }, [&] { return gear.powerOnLevel(); });
        level("SYSFAIL", 0, 255, [&](uint8_t v) { gear.setSystemFailureLevel(v); },
              [&] { return gear.systemFailureLevel(); });
        level("FADETIME", 0, 15, [&](uint8_t v) { gear.setFadeTime(v); }, [&] { return gear.fadeTime(); });
        level("FADERATE", 1, 15, [&](uint8_t v) { gear.setFadeRate(v); }, [&] { return gear.fadeRate(); });
        level("VER", 0, 255, [&](uint8_t v) { gear.setVersion(v); }, [&] { return gear.version(); });
        for (int n = 0; n < protocol::target::SceneCount; ++n) {
            const QByteArray key = "SCENE" + QByteArray::number(n);
            level(key.constData(), 0, 255, [&](uint8_t v) { gear.setScene(n, v); }, [&] { return gear.scene(n); });
        }
        if (const auto e = take("TYPE")) {
            if (const auto v = hex(e->value, 0xFF))
                gear.setDeviceType(uint8_t(*v));
            else
                invalid(*e);
        }
        if (const auto e = take("RANDOM")) {
            if (const auto v = hex(e->value, 0xFFFFFF))
                gear.setRandomAddress(uint32_t(*v));
            else
                invalid(*e);
        }
        if (const auto e = take("GROUPS")) {
            if (const auto v = groupList(e->value))
                gear.setGroups(*v);
            else
                invalid(*e);
        }
        level("COLOURTYPE", 0, 255, [&](uint8_t v) { gear.setColourType(v); }, [&] { return gear.colourType(); });
        if (const auto e = take("TC")) {
            if (const auto v = decimal(e->value, 0, 0xFFFF))
                gear.setColourTemperature(uint16_t(*v));
            else
                invalid(*e);
        }
        {
            const char *const channels[] = {"R", "G", "B", "W"};
            for (int c = 0; c < 4; ++c)
                level(channels[c], 0, 254, [&](uint8_t v) { gear.setChannel(c, v); }, [&] { return gear.channel(c); });
        }
        flag("LAMPFAILURE", [&](bool v) { gear.setLampFailure(v); });
        flag("GEARFAILURE", [&](bool v) { gear.setGearFailure(v); });
        flag("POWERCYCLE", [&](bool v) { gear.setPowerCycleSeen(v); });
        flag("SILENT", [&](bool v) { gear.setResponds(!v); });
        level("LEVEL", 0, 254, [&](uint8_t v) { gear.setActualLevel(v); }, [&] { return gear.actualLevel(); });

        for (const IniDocument::Entry &e : std::as_const(last))
            warn(e.line, QCoreApplication::translate("Installation", "unknown key %1").arg(e.key));
    }

private:
    QString m_origin;
    QStringList &m_warnings;
};
}  // namespace

Installation Installation::demo()
{
    return fromFile(QStringLiteral(":/lumaro/sim/installation.ini"));
}

Installation Installation::fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Installation failed;
        failed.m_error = QCoreApplication::translate("Installation", "Cannot read the installation file %1: %2")
                             .arg(path, file.errorString());
        return failed;
    }
    return fromText(file.readAll(), path);
}

Installation Installation::fromText(QByteArrayView text, const QString &origin)
{
    Installation inst;
    Reader reader(origin, inst.m_warnings);
    const IniDocument doc = IniDocument::parse(text);
    for (const IniDocument::Line &stray : doc.strayLines())
        reader.warn(stray.number,
                    QCoreApplication::translate("Installation", "not a section or KEY=VALUE line: %1").arg(stray.text));

    static const QRegularExpression name(QStringLiteral("^M(\\d{1,2})(?:A(\\d{1,2}))?$"));
    for (const IniDocument::Section &s : doc.sections()) {
        const QRegularExpressionMatch m = name.match(s.name);
        const int g = m.hasMatch() ? m.captured(1).toInt() : 0;
        const int a = m.hasMatch() && m.hasCaptured(2) ? m.captured(2).toInt() : -1;
        if (g < 1 || g > protocol::kMaxGatewayAddress || a > protocol::target::LastShortAddress) {
            reader.warn(s.line,
                        QCoreApplication::translate("Installation", "unknown section [%1]; ignored").arg(s.name));
            continue;
        }
        SimGateway &gw = inst.gatewayAt(g);
        if (a < 0) {
            reader.gatewayKeys(s, gw);
        } else {
            SimGear *gear = gw.gear(a);
            reader.gearKeys(s, gear ? *gear : gw.addGear(a));
        }
    }
    return inst;
}

const SimGateway *Installation::gateway(int address) const
{
    for (const SimGateway &g : m_gateways)
        if (g.address() == address)
            return &g;
    return nullptr;
}

SimGateway &Installation::gatewayAt(int address)
{
    const auto it = std::lower_bound(m_gateways.begin(), m_gateways.end(), address,
                                     [](const SimGateway &g, int a) { return g.address() < a; });
    if (it != m_gateways.end() && it->address() == address)
        return *it;
    return *m_gateways.insert(it, SimGateway(address));
}

}  // namespace lumaro::sim
