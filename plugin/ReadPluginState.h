#pragma once

#include <juce_data_structures/juce_data_structures.h>

#include <cstddef>

namespace Quillmore
{
// The plug-in state in bytes that a host hands back: a complete value tree of type "Parameters" read
// without trusting what the bytes declare (readUntrustedValueTree), in which no parameter's "value"
// is a non-finite number. Anything else gives an invalid tree, and a state that is not taken whole
// changes nothing.
juce::ValueTree readPluginState(const void* data, size_t size);
} // namespace Quillmore
