#include "tools/host/BlockSizes.h"

#include "tools/host/HostError.h"

namespace Quillmore::Host
{
BlockSizes::BlockSizes(int minimum, int maximum, juce::uint32 seed)
    : smallest(minimum)
    , largest(maximum)
    , random(static_cast<juce::int64>(seed))
{
    if (minimum < 1 || maximum < minimum)
        throw HostError("block sizes must be 1 or more, the smallest no larger than the largest");
}

BlockSizes BlockSizes::fixed(int size)
{
    return BlockSizes(size, size, 0);
}

BlockSizes BlockSizes::varying(int minimum, int maximum, juce::uint32 seed)
{
    return BlockSizes(minimum, maximum, seed);
}

int BlockSizes::next()
{
    return smallest == largest ? smallest : smallest + random.nextInt(largest - smallest + 1);
}
} // namespace Quillmore::Host
