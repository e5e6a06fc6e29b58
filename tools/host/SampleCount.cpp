#include "tools/host/SampleCount.h"

#include "tools/host/HostError.h"

#include <cmath>
#include <limits>
#include <string>

namespace Quillmore::Host
{
int samplesIn(double seconds, double sampleRate)
{
    const double samples = std::round(seconds * sampleRate);
    if (!(samples >= 0.0 && samples <= static_cast<double>(std::numeric_limits<int>::max())))
        throw HostError("a duration of " + std::to_string(seconds) + " s at " + std::to_string(sampleRate)
                        + " Hz is negative, not finite or too long to render");
    return static_cast<int>(samples);
}
} // namespace Quillmore::Host
