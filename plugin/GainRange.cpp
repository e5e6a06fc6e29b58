#include "plugin/GainRange.h"

#include <algorithm>

namespace Quillmore
{
namespace
{
constexpr float unityGain = 100.0f;
constexpr float maximumGain = 200.0f;
constexpr float unityProportion = 0.75f;
} // namespace

float gainFromProportion(float proportion)
{
    if (proportion < 0.0f)
        return 0.0f;
    proportion = std::min(proportion, 1.0f);
    if (proportion < unityProportion)
        return proportion / unityProportion * unityGain;
    return (proportion - unityProportion) * 4.0f * unityGain + unityGain;
}

float gainToProportion(float gain)
{
    if (gain < 0.0f)
        return 0.0f;
    gain = std::min(gain, maximumGain);
    if (gain <= 0.0f)
        return 0.0f;
    if (gain <= unityGain)
        return gain / unityGain * unityProportion;
    return (gain - unityGain) / unityGain * (1.0f - unityProportion) + unityProportion;
}

juce::NormalisableRange<float> makeInputOutputGainRange()
{
    return { 0.0f, maximumGain,
             [](float, float, float proportion) { return gainFromProportion(proportion); },
             [](float, float, float gain) { return gainToProportion(gain); } };
}
} // namespace Quillmore
