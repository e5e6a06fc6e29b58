#pragma once

#include <juce_core/juce_core.h>

namespace Quillmore
{
// The two texts the editor writes itself instead of the parameter's own: the mix bars read as a
// percentage that keeps three significant digits, marked " %" in send/return mode and " % wet" in
// wet/dry mode; the spring size reads in inches.
juce::String mixValueText(double value, bool sendReturnMode);
juce::String springSizeValueText(double value);
} // namespace Quillmore
