#include "plugin/ReplaceParameterState.h"

namespace Quillmore
{
void replaceParameterState(juce::AudioProcessorValueTreeState& parameters, juce::ValueTree tree)
{
    static const juce::Identifier idKey("id");

    // Only parameters: whatever else the current state carries goes with it.
    const auto current = parameters.copyState();
    for (auto* parameter : parameters.processor.getParameters())
    {
        const auto* ranged = dynamic_cast<const juce::RangedAudioParameter*>(parameter);
        if (ranged == nullptr || tree.getChildWithProperty(idKey, ranged->paramID).isValid())
            continue;
        const auto kept = current.getChildWithProperty(idKey, ranged->paramID);
        if (kept.isValid())
            tree.appendChild(kept.createCopy(), nullptr);
    }

    parameters.replaceState(tree);
}
} // namespace Quillmore
