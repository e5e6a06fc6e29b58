#include "plugin/ApplyPresetTree.h"

#include "plugin/ReplaceParameterState.h"
#include "plugin/StripUnknownParameters.h"

namespace Quillmore
{
void applyPresetTree(juce::AudioProcessorValueTreeState& parameters, const juce::ValueTree& preset)
{
    // A preset never switches the bypass or the tape stop, nor anything else it leaves out.
    auto state = preset.createCopy();
    stripUnknownParameters(state);
    replaceParameterState(parameters, state);
}
} // namespace Quillmore
