#pragma once

#include <juce_core/juce_core.h>

#include <vector>

namespace Quillmore::Host
{
// The names closest to a mistyped one, closest first, at most count, ignoring case: ranked by the edit
// distance (letters inserted, removed or changed) to the part of a name that matches it best, so that a
// word or two of a long name find it, then by the distance to the whole name.
std::vector<juce::String> nearestNames(const juce::String& wanted, const std::vector<juce::String>& names, size_t count);
} // namespace Quillmore::Host
