// The processor's saved state: the parameter tree with the thirteen properties of the current preset,
// the editor's page and the preset browser on its root, in the framework's binary value-tree form.
#include "plugin/QuillmoreAudioProcessor.h"

#include "plugin/ReadPluginState.h"
#include "plugin/ReplaceParameterState.h"
#include "plugin/ScopedAtomicCount.h"
#include "plugin/StateProperties.h"

void QuillmoreAudioProcessor::getStateInformation(juce::MemoryBlock& destData)
{
    auto state = apvts.copyState();
    Quillmore::writeStateProperties(state, { presetFields.get(), presetDirty.load(), activePanel.load() });

    // Appended: the state follows whatever the block already holds.
    juce::MemoryOutputStream out(destData, true);
    state.writeToStream(out);
}

void QuillmoreAudioProcessor::setStateInformation(const void* data, int sizeInBytes)
{
    if (sizeInBytes <= 0)
        return;
    const auto state = Quillmore::readPluginState(data, static_cast<size_t>(sizeInBytes));
    if (!state.isValid())
        return;

    {
        const Quillmore::ScopedAtomicCount loading(stateRestoresRunning);
        Quillmore::replaceParameterState(apvts, state);
    }

    Quillmore::StateProperties restored;
    presetFields.update([&](Quillmore::PresetFields& fields) {
        restored.fields = fields;
        Quillmore::readStateProperties(state, restored);
        fields = restored.fields;
    });
    presetDirty.exchange(restored.presetDirty);
    activePanel.exchange(restored.activePanel);
}
