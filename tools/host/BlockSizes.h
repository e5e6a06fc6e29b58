#pragma once

#include <juce_core/juce_core.h>

namespace Quillmore::Host
{
// The sizes of the blocks that a render hands the plug-in: one fixed size, or sizes drawn evenly from
// minimum ... maximum by a seeded generator, so that a varying-block run can be repeated exactly.
class BlockSizes
{
public:
    static BlockSizes fixed(int size);
    static BlockSizes varying(int minimum, int maximum, juce::uint32 seed);

    int next();
    int maximum() const { return largest; }

private:
    BlockSizes(int minimum, int maximum, juce::uint32 seed);

    int smallest;
    int largest;
    juce::Random random;
};
} // namespace Quillmore::Host
