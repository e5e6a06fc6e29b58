#include "plugin/OutputMeter.h"

#include <algorithm>
#include <cmath>

namespace Quillmore
{
float levelToMeterValue(float peak)
{
    if (peak <= 0.000001f)
        return 0.0f;
    const float decibels = std::clamp(20.0f * std::log10(peak), -50.0f, 0.0f);
    return std::clamp(std::pow((decibels + 50.0f) / 50.0f, 2.7f), 0.0f, 1.0f);
}
} // namespace Quillmore
