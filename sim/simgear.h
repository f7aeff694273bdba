#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace lumaro::sim {

// One simulated DALI control gear as IEC 62386-102 describes it: its variables (levels, fade
// settings, scenes, groups), its status bits and its answers to the standard commands and
// queries. A SimGateway owns the gear of its bus and drives them; time passes only through
// advance(), so fades are deterministic in tests.
//
// command() takes one command as the gateway puts it on the bus. The gateway itself sends every
// configuration command (those marked "twice" in IEC 62386-102) twice within 100 ms, so a
// command() call of such a command stands for the complete pair and takes effect at once.
//
// Fades: with fade time 0 an arc power change is instantaneous; otherwise the level moves
// linearly over the fade time as advance() is called and "fade running" stays set until the
// target is reached. UP and DOWN always fade for 200 ms at the fade rate.
class SimGear
{
public:
    // A gear in its reset state, switched off, device type 6 (LED module).
    SimGear();

    // Arc power level now; during a fade the level reached so far.
    uint8_t actualLevel() const { return m_actual; }
    // The level a running fade is heading for (the actual level when no fade runs).
    uint8_t targetLevel() const { return fadeRunning() ? m_fadeTo : m_actual; }
    // Sets the level at once, without fade and without touching the limit error; for loading an
    // installation. Values between 1 and the minimum are raised to the minimum, above the
    // maximum lowered to it.
    void setActualLevel(uint8_t level);

    uint8_t minLevel() const { return m_min; }
    uint8_t maxLevel() const { return m_max; }
    uint8_t physicalMinimum() const { return m_physicalMin; }
    uint8_t powerOnLevel() const { return m_powerOn; }
    uint8_t systemFailureLevel() const { return m_systemFailure; }
    uint8_t fadeTime() const { return m_fadeTime; }
    uint8_t fadeRate() const { return m_fadeRate; }
    // Setters keep the IEC 62386-102 ranges: physical minimum 1..254, min from the physical
    // minimum up to max, max from min up to 254, fade time 0..15, fade rate 1..15; power-on
    // and system-failure levels take any value (255 = MASK).
    void setPhysicalMinimum(uint8_t level);
    void setMinLevel(uint8_t level);
    void setMaxLevel(uint8_t level);
    void setPowerOnLevel(uint8_t level) { m_powerOn = level; }
    void setSystemFailureLevel(uint8_t level) { m_systemFailure = level; }
    void setFadeTime(uint8_t code);
    void setFadeRate(uint8_t code);

    // Scene levels 0..15; 255 (MASK) means the gear is not part of the scene.
    uint8_t scene(int n) const;
    void setScene(int n, uint8_t level);
    // Bit g set: member of group g.
    uint16_t groups() const { return m_groups; }
    void setGroups(uint16_t groups) { m_groups = groups; }
    bool inGroup(int g) const { return g >= 0 && g < 16 && (m_groups >> g & 1) != 0; }

    uint8_t deviceType() const { return m_deviceType; }
    void setDeviceType(uint8_t type) { m_deviceType = type; }
    // IEC 62386-209 colour of a DT8 gear (device type 8): its colour type features (bit 0 xy,
    // bit 1 Tc, bits 2..4 primaries, bits 5..7 RGBWAF channels), the colour temperature in mirek
    // and the R, G, B, W channel levels. Gear of other device types do not answer colour queries.
    uint8_t colourType() const { return m_colourType; }
    void setColourType(uint8_t type) { m_colourType = type; }
    uint16_t colourTemperature() const { return m_mirek; }
    void setColourTemperature(uint16_t mirek) { m_mirek = mirek; }
    // Channel 0..3: R, G, B, W.
    uint8_t channel(int c) const { return c >= 0 && c < 4 ? m_channels[size_t(c)] : 0; }
    void setChannel(int c, uint8_t level)
    {
        if (c >= 0 && c < 4)
            m_channels[size_t(c)] = level;
    }
    bool hasColour() const { return m_deviceType == 8; }
    bool colourByTemperature() const { return (m_colourType & 0x02) != 0; }

    // The answer to QUERY VERSION NUMBER, which the gateway reports as the gear's version.
    uint8_t version() const { return m_version; }
    void setVersion(uint8_t version) { m_version = version; }
    // 24-bit random address (0xFFFFFF after a reset).
    uint32_t randomAddress() const { return m_randomAddress; }
    void setRandomAddress(uint32_t address) { m_randomAddress = address & 0xFFFFFF; }

    // A gear that does not respond is in the installation and obeys forward frames, but never
    // sends a backward frame: queries go unanswered.
    bool responds() const { return m_responds; }
    void setResponds(bool responds) { m_responds = responds; }
    bool lampFailure() const { return m_lampFailure; }
    void setLampFailure(bool failure) { m_lampFailure = failure; }
    bool gearFailure() const { return m_gearFailure; }
    void setGearFailure(bool failure) { m_gearFailure = failure; }
    bool powerCycleSeen() const { return m_powerCycleSeen; }
    void setPowerCycleSeen(bool seen) { m_powerCycleSeen = seen; }
    bool missingShortAddress() const { return m_missingShortAddress; }
    void setMissingShortAddress(bool missing) { m_missingShortAddress = missing; }

    // The last requested arc power level lay outside min..max and was clamped.
    bool limitError() const { return m_limitError; }
    bool fadeRunning() const { return m_fadeTotalMs > 0; }
    // All variables that RESET sets hold their reset values.
    bool resetState() const;
    // IEC 62386-102 status byte (bit 0 control gear failure ... bit 7 power cycle seen).
    uint8_t status() const;

    uint8_t dtr0() const { return m_dtr[0]; }
    uint8_t dtr1() const { return m_dtr[1]; }
    uint8_t dtr2() const { return m_dtr[2]; }
    void setDtr0(uint8_t value) { m_dtr[0] = value; }
    void setDtr1(uint8_t value) { m_dtr[1] = value; }
    void setDtr2(uint8_t value) { m_dtr[2] = value; }

    // Carries out one standard command (address byte with S = 1). Returns the backward frame of
    // a query (0xFF for YES), or nothing: no answer, a "no" of a YES/NO query, a command without
    // answer, a gear that does not respond. Unknown opcodes are ignored, as gear do.
    std::optional<uint8_t> command(uint8_t opcode);
    // Direct arc power control (address byte with S = 0): fades to the level over the fade time;
    // 0 switches off, 255 (MASK) stops a running fade where it is.
    void directArcPower(uint8_t level);
    // What the gateway's store and remove scene registers do on the bus: STORE ACTUAL LEVEL IN
    // DTR0 followed by SET SCENE n, and REMOVE FROM SCENE n.
    void storeActualLevelAsScene(int n);
    void removeFromScene(int n);

    // RESET: the variables take their reset values and the lamp goes to 254; the short address
    // (kept by the bus) and the failures stay.
    void reset();
    // Lets simulated time pass: advances a running fade.
    void advance(int ms);

    // Fade time in ms for a fade time code (0 = no fade): 0.5 s x sqrt(2^code).
    static int fadeTimeMs(int code);
    // Fade rate in steps per second for a fade rate code 1..15: 506 / sqrt(2^code).
    static double fadeRateStepsPerSecond(int code);

private:
    // Every command that asks for an arc power level comes here: clamping, limit error, fade.
    void requestLevel(uint8_t level, int fadeMs);
    void setLevelNow(uint8_t level);
    void stopFade();
    void levelChanged();
    uint8_t clampOn(int level) const;

    uint8_t m_actual = 0;
    uint8_t m_lastActive = 254;
    uint8_t m_min;
    uint8_t m_max;
    uint8_t m_physicalMin;
    uint8_t m_powerOn;
    uint8_t m_systemFailure;
    uint8_t m_fadeTime;
    uint8_t m_fadeRate;
    std::array<uint8_t, 16> m_scenes{};
    uint16_t m_groups = 0;
    uint8_t m_deviceType = 6;
    uint8_t m_version = 8;
    uint8_t m_colourType = 0x02;      // colour temperature only
    uint16_t m_mirek = 250;           // 4000 K
    std::array<uint8_t, 4> m_channels{};
    uint32_t m_randomAddress;
    std::array<uint8_t, 3> m_dtr{};

    bool m_responds = true;
    bool m_lampFailure = false;
    bool m_gearFailure = false;
    bool m_powerCycleSeen = false;
    bool m_missingShortAddress = false;
    bool m_limitError = false;

    // Running fade: from m_fadeFrom to m_fadeTo over m_fadeTotalMs; none when the total is 0.
    uint8_t m_fadeFrom = 0;
    uint8_t m_fadeTo = 0;
    int m_fadeTotalMs = 0;
    int m_fadeElapsedMs = 0;
};

}  // namespace lumaro::sim
