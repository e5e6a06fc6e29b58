#include "patch/space/EchoBandLayout.h"

#include <algorithm>
#include <cmath>

namespace PRT::dsp
{

EchoBandLayout computeEchoBandLayout(float sampleRate)
{
    const float binsPerHertz = sampleRate > 0.0f && std::isfinite(sampleRate) ? 4096.0f / sampleRate : 0.0f;
    const float nyquist = static_cast<float>(EchoBandLayout::nyquistBin);
    EchoBandLayout layout;
    const float low = std::min(std::ceil(binsPerHertz * 20.0f), nyquist);
    const float high = std::min(std::max(std::floor(binsPerHertz * 9000.0f), low), nyquist);
    layout.lowBin = static_cast<int32_t>(low);
    layout.highBin = static_cast<int32_t>(high);
    layout.binSpan = layout.highBin - layout.lowBin + 1;
    layout.sweepLength = std::max(layout.binSpan, EchoBandLayout::bandCount);
    return layout;
}

double echoBandStart(float lowBin, float binCount, float bandCount, float x)
{
    const float offset = bandCount != 0.0f ? x * binCount / bandCount : 0.0f;
    return std::floor(static_cast<double>(lowBin) + static_cast<double>(offset));
}

} // namespace PRT::dsp
