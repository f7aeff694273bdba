#include "levelscale.h"

#include <array>
#include <cmath>

namespace lumaro::levelscale {

namespace {
// Percent 0..100 to arc level, closed by the search sentinel 255.
constexpr std::array<int, 102> kPercentToLevel = {
    0,   85,  110, 125, 136, 145, 150, 156, 161, 165, 170, 173, 176, 179, 181, 185, 186,
    189, 191, 193, 195, 196, 198, 200, 201, 203, 204, 206, 207, 208, 210, 211, 212, 213,
    214, 215, 216, 217, 218, 219, 220, 221, 222, 223, 224, 225, 226, 227, 227, 228, 229,
    229, 230, 230, 231, 232, 232, 233, 234, 234, 235, 236, 237, 237, 238, 238, 239, 239,
    240, 240, 241, 241, 242, 242, 243, 243, 244, 244, 245, 245, 246, 246, 247, 247, 248,
    248, 248, 249, 249, 250, 250, 250, 251, 251, 252, 252, 252, 253, 253, 253, 254, 255,
};
constexpr int kMask = 255;
constexpr int kMaxLevel = 254;
constexpr int kLowestTableLevel = 85;
constexpr double kStepsPerDecade = 253.0 / 3.0;
}  // namespace

double curvePercent(int level)
{
    if (level <= 0)
        return 0.0;
    return std::pow(10.0, (level - 1) / kStepsPerDecade - 1.0);
}

int levelToPercent(int level)
{
    if (level <= 0)
        return 0;
    if (level >= kMask)
        return kMask;
    if (level <= kLowestTableLevel)
        return 1;
    for (int i = 1; i < int(kPercentToLevel.size()); ++i) {
        const int t = kPercentToLevel[size_t(i)];
        if (t < level)
            continue;
        if (t == level)
            return i;
        return t - level < level - kPercentToLevel[size_t(i - 1)] ? i : i - 1;
    }
    return 100;
}

int linearValue(int level)
{
    if (level <= 0)
        return 0;
    if (level >= kMaxLevel)
        return kMaxLevel;
    // Single precision, as the colour window computes it, so both show the same channel values.
    const float percent = std::pow(10.0f, float((level - 1) / kStepsPerDecade - 1.0));
    return int(percent / 100.0f * float(kMaxLevel));
}

}  // namespace lumaro::levelscale
