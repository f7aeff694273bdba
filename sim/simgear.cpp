#include "simgear.h"

#include "dalicommand.h"

#include <algorithm>
#include <cmath>

namespace lumaro::sim {

namespace {
// Reset values of IEC 62386-102.
constexpr uint8_t kResetLevel = 254;
constexpr uint8_t kResetFadeRate = 7;
constexpr uint32_t kResetRandomAddress = 0xFFFFFF;
// A typical LED driver dims down to about 1 % (arc level 85).
constexpr uint8_t kDefaultPhysicalMinimum = 85;
constexpr uint8_t kYes = 0xFF;
// UP and DOWN fade for 200 ms at the fade rate.
constexpr int kUpDownMs = 200;

// Queries that the shared command table does not name yet.
constexpr uint8_t kQueryContentDtr1 = 156;
constexpr uint8_t kQueryContentDtr2 = 157;
constexpr uint8_t kQueryRandomAddressH = 194;
constexpr uint8_t kQueryRandomAddressM = 195;
constexpr uint8_t kQueryRandomAddressL = 196;
constexpr uint8_t kLastSceneOpcode = 15;

std::optional<uint8_t> yesNo(bool yes)
{
    return yes ? std::optional<uint8_t>(kYes) : std::nullopt;
}
}  // namespace

SimGear::SimGear()
    : m_min(kDefaultPhysicalMinimum),
      m_max(kResetLevel),
      m_physicalMin(kDefaultPhysicalMinimum),
      m_powerOn(kResetLevel),
      m_systemFailure(kResetLevel),
      m_fadeTime(0),
      m_fadeRate(kResetFadeRate),
      m_randomAddress(kResetRandomAddress)
{
    m_scenes.fill(dali::kMask);
}

int SimGear::fadeTimeMs(int code)
{
    if (code <= 0)
        return 0;
    return int(std::lround(500.0 * std::sqrt(std::pow(2.0, std::min(code, 15)))));
}

double SimGear::fadeRateStepsPerSecond(int code)
{
    return 506.0 / std::sqrt(std::pow(2.0, std::clamp(code, 1, 15)));
}

void SimGear::setActualLevel(uint8_t level)
{
    setLevelNow(level == 0 ? 0 : clampOn(level == dali::kMask ? dali::kMaxArcLevel : level));
}

void SimGear::setPhysicalMinimum(uint8_t level)
{
    m_physicalMin = std::clamp<uint8_t>(level, 1, dali::kMaxArcLevel);
    m_min = std::max(m_min, m_physicalMin);
    m_max = std::max(m_max, m_min);
}

void SimGear::setMinLevel(uint8_t level)
{
    m_min = std::clamp(level, m_physicalMin, m_max);
}

void SimGear::setMaxLevel(uint8_t level)
{
    m_max = std::clamp(level, m_min, dali::kMaxArcLevel);
}

void SimGear::setFadeTime(uint8_t code)
{
    m_fadeTime = std::min<uint8_t>(code, 15);
}

void SimGear::setFadeRate(uint8_t code)
{
    m_fadeRate = std::clamp<uint8_t>(code, 1, 15);
}

uint8_t SimGear::scene(int n) const
{
    return n >= 0 && n < int(m_scenes.size()) ? m_scenes[size_t(n)] : dali::kMask;
}

void SimGear::setScene(int n, uint8_t level)
{
    if (n >= 0 && n < int(m_scenes.size()))
        m_scenes[size_t(n)] = level;
}

bool SimGear::resetState() const
{
    return m_powerOn == kResetLevel && m_systemFailure == kResetLevel && m_min == m_physicalMin
        && m_max == kResetLevel && m_fadeRate == kResetFadeRate && m_fadeTime == 0
        && std::all_of(m_scenes.begin(), m_scenes.end(), [](uint8_t s) { return s == dali::kMask; })
        && m_groups == 0 && m_randomAddress == kResetRandomAddress;
}

uint8_t SimGear::status() const
{
    namespace st = dali::status;
    uint8_t s = 0;
    if (m_gearFailure)
        s |= st::ControlGearFailure;
    if (m_lampFailure)
        s |= st::LampFailure;
    // A failed lamp gives no light whatever level the gear holds.
    if (m_actual > 0 && !m_lampFailure)
        s |= st::LampPowerOn;
    if (m_limitError)
        s |= st::LimitError;
    if (fadeRunning())
        s |= st::FadeRunning;
    if (resetState())
        s |= st::ResetState;
    if (m_missingShortAddress)
        s |= st::MissingShortAddress;
    if (m_powerCycleSeen)
        s |= st::PowerCycleSeen;
    return s;
}

uint8_t SimGear::clampOn(int level) const
{
    return uint8_t(std::clamp(level, int(m_min), int(m_max)));
}

void SimGear::stopFade()
{
    m_fadeTotalMs = 0;
    m_fadeElapsedMs = 0;
}

void SimGear::levelChanged()
{
    if (m_actual > 0)
        m_lastActive = m_actual;
}

void SimGear::setLevelNow(uint8_t level)
{
    stopFade();
    m_actual = level;
    levelChanged();
}

void SimGear::requestLevel(uint8_t level, int fadeMs)
{
    if (level == dali::kMask) {
        stopFade();
        return;
    }
    uint8_t target = 0;
    if (level == 0) {
        m_limitError = false;
    } else {
        target = clampOn(level);
        m_limitError = target != level;
    }
    if (fadeMs <= 0 || target == m_actual) {
        setLevelNow(target);
        return;
    }
    // A lamp that is off ignites at the minimum level and fades up from there; one that fades
    // to off goes down to the minimum and switches off at the end of the fade.
    if (m_actual == 0)
        m_actual = m_min;
    m_fadeFrom = m_actual;
    m_fadeTo = target;
    m_fadeTotalMs = fadeMs;
    m_fadeElapsedMs = 0;
}

void SimGear::advance(int ms)
{
    if (!fadeRunning() || ms <= 0)
        return;
    m_fadeElapsedMs += ms;
    if (m_fadeElapsedMs >= m_fadeTotalMs) {
        setLevelNow(m_fadeTo);
        return;
    }
    const int end = m_fadeTo == 0 ? m_min : m_fadeTo;
    const double done = double(m_fadeElapsedMs) / m_fadeTotalMs;
    m_actual = uint8_t(std::lround(m_fadeFrom + (end - m_fadeFrom) * done));
    levelChanged();
}

void SimGear::directArcPower(uint8_t level)
{
    requestLevel(level, fadeTimeMs(m_fadeTime));
}

void SimGear::storeActualLevelAsScene(int n)
{
    m_dtr[0] = m_actual;
    setScene(n, m_dtr[0]);
}

void SimGear::removeFromScene(int n)
{
    setScene(n, dali::kMask);
}

void SimGear::reset()
{
    m_max = kResetLevel;
    m_min = m_physicalMin;
    m_powerOn = kResetLevel;
    m_systemFailure = kResetLevel;
    m_fadeRate = kResetFadeRate;
    m_fadeTime = 0;
    m_scenes.fill(dali::kMask);
    m_groups = 0;
    m_randomAddress = kResetRandomAddress;
    m_limitError = false;
    m_powerCycleSeen = false;
    setLevelNow(kResetLevel);
}

std::optional<uint8_t> SimGear::command(uint8_t opcode)
{
    using namespace dali::cmd;
    const int sceneOf = opcode & 0x0F;

    // Arc power commands.
    switch (opcode) {
    case Off:
        requestLevel(0, 0);
        return std::nullopt;
    case Up:
    case Down: {
        // No effect on a lamp that is off; DOWN never switches off.
        if (m_actual == 0)
            return std::nullopt;
        const int steps = std::max(1, int(std::lround(fadeRateStepsPerSecond(m_fadeRate) * kUpDownMs / 1000.0)));
        const uint8_t target = clampOn(m_actual + (opcode == Up ? steps : -steps));
        if (target != m_actual) {
            m_fadeFrom = m_actual;
            m_fadeTo = target;
            m_fadeTotalMs = kUpDownMs;
            m_fadeElapsedMs = 0;
        }
        return std::nullopt;
    }
    case StepUp:
        if (m_actual != 0)
            setLevelNow(clampOn(m_actual + 1));
        return std::nullopt;
    case StepDown:
        if (m_actual != 0)
            setLevelNow(clampOn(m_actual - 1));
        return std::nullopt;
    case RecallMaxLevel:
        requestLevel(m_max, 0);
        return std::nullopt;
    case RecallMinLevel:
        requestLevel(m_min, 0);
        return std::nullopt;
    case StepDownAndOff:
        if (m_actual != 0)
            setLevelNow(m_actual <= m_min ? 0 : uint8_t(m_actual - 1));
        return std::nullopt;
    case OnAndStepUp:
        setLevelNow(m_actual == 0 ? m_min : clampOn(m_actual + 1));
        return std::nullopt;
    case GoToLastActiveLevel:
        requestLevel(m_lastActive, fadeTimeMs(m_fadeTime));
        return std::nullopt;
    default:
        break;
    }
    if (opcode >= GoToScene0 && opcode <= GoToScene0 + kLastSceneOpcode) {
        // A scene the gear is not part of (MASK) leaves it where it is.
        if (scene(sceneOf) != dali::kMask)
            requestLevel(scene(sceneOf), fadeTimeMs(m_fadeTime));
        return std::nullopt;
    }

    // Configuration commands: one call stands for the pair the gateway sends (see the class).
    switch (opcode) {
    case Reset:
        reset();
        return std::nullopt;
    case StoreActualLevelInDtr0:
        m_dtr[0] = m_actual;
        return std::nullopt;
    case SetMaxLevel:
        m_max = std::clamp(m_dtr[0] == dali::kMask ? dali::kMaxArcLevel : m_dtr[0], m_min, dali::kMaxArcLevel);
        if (m_actual > m_max)
            setLevelNow(m_max);
        return std::nullopt;
    case SetMinLevel:
        m_min = std::clamp(m_dtr[0], m_physicalMin, m_max);
        if (m_actual != 0 && m_actual < m_min)
            setLevelNow(m_min);
        return std::nullopt;
    case SetSystemFailureLevel:
        m_systemFailure = m_dtr[0];
        return std::nullopt;
    case SetPowerOnLevel:
        m_powerOn = m_dtr[0];
        return std::nullopt;
    case SetFadeTime:
        setFadeTime(m_dtr[0]);
        return std::nullopt;
    case SetFadeRate:
        setFadeRate(m_dtr[0]);
        return std::nullopt;
    default:
        break;
    }
    if (opcode >= SetScene0 && opcode <= SetScene0 + kLastSceneOpcode) {
        setScene(sceneOf, m_dtr[0]);
        return std::nullopt;
    }
    if (opcode >= RemoveFromScene0 && opcode <= RemoveFromScene0 + kLastSceneOpcode) {
        removeFromScene(sceneOf);
        return std::nullopt;
    }
    if (opcode >= AddToGroup0 && opcode <= AddToGroup0 + 15) {
        m_groups = uint16_t(m_groups | 1u << sceneOf);
        return std::nullopt;
    }
    if (opcode >= RemoveFromGroup0 && opcode <= RemoveFromGroup0 + 15) {
        m_groups = uint16_t(m_groups & ~(1u << sceneOf));
        return std::nullopt;
    }

    // Queries: a gear that does not respond sends no backward frame.
    if (!m_responds)
        return std::nullopt;
    switch (opcode) {
    case QueryStatus: return status();
    case QueryControlGearPresent: return kYes;
    case QueryLampFailure: return yesNo(m_lampFailure);
    case QueryLampPowerOn: return yesNo((status() & dali::status::LampPowerOn) != 0);
    case QueryLimitError: return yesNo(m_limitError);
    case QueryResetState: return yesNo(resetState());
    case QueryMissingShortAddress: return yesNo(m_missingShortAddress);
    case QueryVersionNumber: return m_version;
    case QueryContentDtr0: return m_dtr[0];
    case QueryDeviceType: return m_deviceType;
    case QueryPhysicalMinimum: return m_physicalMin;
    case kQueryContentDtr1: return m_dtr[1];
    case kQueryContentDtr2: return m_dtr[2];
    case QueryActualLevel: return m_actual;
    case QueryMaxLevel: return m_max;
    case QueryMinLevel: return m_min;
    case QueryPowerOnLevel: return m_powerOn;
    case QuerySystemFailureLevel: return m_systemFailure;
    case QueryFadeTimeRate: return uint8_t(m_fadeTime << 4 | m_fadeRate);
    case QueryGroups0To7: return uint8_t(m_groups & 0xFF);
    case QueryGroups8To15: return uint8_t(m_groups >> 8);
    case kQueryRandomAddressH: return uint8_t(m_randomAddress >> 16);
    case kQueryRandomAddressM: return uint8_t(m_randomAddress >> 8);
    case kQueryRandomAddressL: return uint8_t(m_randomAddress);
    default: break;
    }
    if (opcode >= QuerySceneLevel0 && opcode <= QuerySceneLevel0 + kLastSceneOpcode)
        return scene(sceneOf);
    return std::nullopt;
}

}  // namespace lumaro::sim
