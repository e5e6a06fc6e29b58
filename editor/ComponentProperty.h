#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <optional>

namespace Quillmore
{
// A finite number stored under that key in a component's properties; empty when the key is absent or
// holds something that is not a finite number (a text, NaN, an infinity).
std::optional<double> finiteNumberProperty(const juce::NamedValueSet& properties, const juce::Identifier& key);

// The number, or the fallback in every case where finiteNumberProperty is empty.
double numberPropertyOr(const juce::NamedValueSet& properties, const juce::Identifier& key, double fallback);

// A bool stored under that key; the fallback when it is absent.
bool boolPropertyOr(const juce::NamedValueSet& properties, const juce::Identifier& key, bool fallback);
} // namespace Quillmore
