#pragma once

#include <juce_core/juce_core.h>

#include <map>

namespace Quillmore::Host
{
// A hosted VST3 parameter knows only a number. JUCE's VST3 client derives it from the parameter's ID
// text as the text's hash with the sign bit cleared; this gives the same number for an ID text.
juce::uint32 vst3ParameterIdFor(const juce::String& idText);

// ID texts by VST3 parameter ID, as far as a plug-in state reveals them: a state written as a JUCE value
// tree names each parameter in an "id" property. Empty for any other kind of state.
std::map<juce::uint32, juce::String> parameterIdTextsInState(const juce::MemoryBlock& pluginState);
} // namespace Quillmore::Host
