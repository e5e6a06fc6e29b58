#include "plugin/ApplyPresetTree.h"

#include "plugin/StripUnknownParameters.h"

namespace Quillmore
{
void applyPresetTree(juce::AudioProcessorValueTreeState& parameters, const juce::ValueTree& preset)
{
    static const juce::Identifier idKey("id");

    auto state = preset.createCopy();
    stripUnknownParameters(state);

    // The framework resets a parameter that the new state does not name to its default. Giving such
    // parameters a child with their current value keeps them, so that a preset never switches the
    // bypass or the tape stop, nor anything else it leaves out.
    for (const auto& current : parameters.copyState())
    {
        const auto id = current[idKey];
        if (! id.isVoid() && ! state.getChildWithProperty(idKey, id).isValid())
            state.appendChild(current.createCopy(), nullptr);
    }

    parameters.replaceState(state);
}
} // namespace Quillmore
