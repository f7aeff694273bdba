#include "linesettings.h"

#include <algorithm>
#include <cmath>

namespace lumaro::sim {

int LineSettings::bytesMs(int count) const
{
    return int(std::ceil(count * characterMs()));
}

int LineSettings::silenceGapMs() const
{
    constexpr int kMinimumGapMs = 10;
    return std::max(kMinimumGapMs, int(std::ceil(4 * characterMs())));
}

int LineSettings::answerDelayMs(int requestBytes, int answerBytes, int busFrames, int extraDelayMs) const
{
    return bytesMs(requestBytes) + kGatewayProcessingMs + busFrames * kDaliFrameMs + std::max(0, extraDelayMs)
        + bytesMs(answerBytes);
}

}  // namespace lumaro::sim
