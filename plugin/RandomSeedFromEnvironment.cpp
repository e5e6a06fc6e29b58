#include "plugin/RandomSeedFromEnvironment.h"

#include "patch/core/RandomState.h"
#include "plugin/UntrustedNumbers.h"

#include <cmath>
#include <cstdlib>

namespace Quillmore
{
void applyRandomSeedFromEnvironment()
{
    const char* text = std::getenv(randomSeedVariable);
    if (text == nullptr)
        return;
    const double seed = readUntrustedNumber(juce::String::fromUTF8(text));
    if (std::isfinite(seed))
        PRT::useFixedRandomSeed(static_cast<float>(seed));
}
} // namespace Quillmore
