#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// Whether a hosted parameter reads a typed text as the user meant it, judged the way the user would
// see it: from what the parameter itself offers (its value texts, its label, the value it reads a
// text as and the text it shows for that value), for any plug-in.
namespace Quillmore::Host
{
// The texts of a parameter that shows one text for each of a few steps, in the order of its travel:
// each step of a discrete parameter, else the texts that a sweep of its travel shows when they are
// few (switches and modes that do not tell the host their steps). Empty for a continuous parameter.
juce::StringArray stepTextsOf(const juce::AudioProcessorParameter& parameter);

// The normalised value that `text` sets, when the parameter reads it as asked: the value text it
// then shows is the text (letter case and blanks aside); for a two-step parameter On/Off, true/false,
// yes/no and 1/0 may stand for its two texts; for a continuous one the text may be a number with or
// without a unit of the parameter's own (a prefix such as k or m converts), which the shown text
// must give back within the parameter's step and the text's precision. Throws InputError naming the
// parameter and the texts or the range it takes otherwise.
float normalisedValueForText(const juce::AudioProcessorParameter& parameter, const juce::String& text);
} // namespace Quillmore::Host
