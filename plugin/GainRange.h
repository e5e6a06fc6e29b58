#pragma once

#include <juce_core/juce_core.h>

namespace Quillmore
{
// Gain in percent of unity, 0 to 200. Unity sits at three quarters of the travel so that the lower
// part, where gain is usually set, gets most of the knob.
float gainFromProportion(float proportion);
float gainToProportion(float gain);

// The range of the "Input" and "Output" parameters and of the editor's gain knobs: continuous, no
// snapping, mapped through the two functions above.
juce::NormalisableRange<float> makeInputOutputGainRange();
} // namespace Quillmore
