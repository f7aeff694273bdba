#include "linetiming.h"

#include <algorithm>
#include <cmath>

namespace lumaro::sim {

int LineTiming::bytesMs(int count) const
{
    return int(std::ceil(count * characterMs()));
}

int LineTiming::silenceGapMs() const
{
    constexpr int kMinimumGapMs = 10;
    return std::max(kMinimumGapMs, int(std::ceil(4 * characterMs())));
}

int LineTiming::answerDelayMs(int requestBytes, int answerBytes, int busFrames, int extraDelayMs) const
{
    return bytesMs(requestBytes) + kGatewayProcessingMs + busFrames * kDaliFrameMs + std::max(0, extraDelayMs)
        + bytesMs(answerBytes);
}

}  // namespace lumaro::sim
