// The processor's preset operations: factory and user loads, the user preset store's changes, and
// the current preset's name, modified mark and page that go with them.
#include "plugin/QuillmoreAudioProcessor.h"

#include "plugin/ApplyPresetTree.h"
#include "plugin/FactoryPresetData.h"
#include "plugin/ScopedAtomicCount.h"

#include <cstring>
#include <vector>

namespace
{
// The document's bytes up to its size or a zero byte, each byte one character.
juce::String documentText(const char* data, int size)
{
    const auto length = ::strnlen(data, static_cast<size_t>(size));
    std::vector<juce::juce_wchar> characters(length + 1, 0);
    for (size_t i = 0; i < length; ++i)
        characters[i] = static_cast<juce::juce_wchar>(static_cast<unsigned char>(data[i]));
    return juce::String(juce::CharPointer_UTF32(characters.data()));
}
} // namespace

bool QuillmoreAudioProcessor::loadFactoryPresetState(const juce::String& resourceName)
{
    int size = 0;
    const char* data = Quillmore::findFactoryPresetData(resourceName.toRawUTF8(), size);
    if (data == nullptr)
        return false;

    const auto xml = juce::XmlDocument::parse(documentText(data, size));
    if (xml == nullptr)
        return false;
    const auto preset = juce::ValueTree::fromXml(*xml);
    if (!preset.isValid())
        return false;

    Quillmore::applyPresetTree(apvts, preset);
    return true;
}

void QuillmoreAudioProcessor::loadFactoryPreset(const juce::String& resourceName, const juce::String& displayName)
{
    const Quillmore::ScopedAtomicCount loading(presetLoadsRunning);
    loadFactoryPresetState(resourceName);

    presetFields.update([&](Quillmore::PresetFields& fields) {
        fields.currentPresetIsFactory = 1;
        fields.currentFactoryResource = resourceName;
        fields.currentPresetName = displayName;
        fields.showsCurrentUserPreset = false;
        fields.popupSelUserIndex = -1;
        fields.popupLastTab = 0;
        fields.popupHasState = true;
        fields.popupSelFactoryRes = resourceName;
    });
    presetDirty.exchange(false);
    updateActivePanelFromSections();
}

bool QuillmoreAudioProcessor::loadUserPreset(int index)
{
    // Asked for a user preset, previous/next step through the user list from now on, whatever comes.
    presetFields.update([](Quillmore::PresetFields& fields) {
        fields.currentPresetIsFactory = 0;
        fields.currentFactoryResource = {};
        fields.popupSelFactoryRes = {};
        fields.popupHasState = true;
    });

    const Quillmore::ScopedAtomicCount loading(presetLoadsRunning);
    if (!presetManager.loadPreset(index))
        return false;

    const auto name = presetManager.getEntries()[index].name;
    presetFields.update([&](Quillmore::PresetFields& fields) {
        fields.currentPresetName = name;
        fields.showsCurrentUserPreset = true;
        fields.popupLastTab = 1;
        fields.popupSelUserIndex = index;
        fields.popupHasState = true;
    });
    presetDirty.exchange(false);
    updateActivePanelFromSections();
    return true;
}

int QuillmoreAudioProcessor::indexOfUserPreset(const juce::String& name) const
{
    const auto wanted = name.trim();
    const auto& entries = presetManager.getEntries();
    for (int i = 0; i < entries.size(); ++i)
        if (entries.getReference(i).name.equalsIgnoreCase(wanted))
            return i;
    return -1;
}

bool QuillmoreAudioProcessor::saveUserPreset(const juce::String& name)
{
    if (!presetManager.saveCurrentAsPreset(name))
        return false;

    const int index = presetManager.getCurrentIndex();
    const auto savedName = presetManager.getEntries()[index].name;
    presetFields.update([&](Quillmore::PresetFields& fields) {
        fields.currentPresetName = savedName;
        fields.showsCurrentUserPreset = true;
        fields.popupLastTab = 1;
        fields.popupSelUserIndex = index;
        fields.popupUserScrollY = 0;
        fields.popupHasState = true;
    });
    presetDirty.exchange(false);
    return true;
}

bool QuillmoreAudioProcessor::overwriteUserPreset(int index)
{
    // Reloading after a failed write would replace the user's unsaved changes with the old preset.
    return presetManager.overwritePreset(index) && loadUserPreset(index);
}

bool QuillmoreAudioProcessor::renameUserPreset(int index, const juce::String& newName)
{
    const auto name = newName.trim();
    if (name.isEmpty() || !presetManager.renamePreset(index, name))
        return false;

    if (index == presetManager.getCurrentIndex())
        presetFields.update([&](Quillmore::PresetFields& fields) {
            if (fields.showsCurrentUserPreset)
                fields.currentPresetName = name;
        });
    return true;
}

bool QuillmoreAudioProcessor::deleteUserPreset(int index)
{
    const int current = presetManager.getCurrentIndex();
    if (!presetManager.deletePreset(index))
        return false;

    if (index == current)
        presetFields.update([](Quillmore::PresetFields& fields) {
            if (fields.showsCurrentUserPreset)
            {
                fields.currentPresetName = unnamedPresetName;
                fields.showsCurrentUserPreset = false;
            }
        });
    return true;
}

void QuillmoreAudioProcessor::setCurrentPresetName(const juce::String& name)
{
    presetFields.update([&](Quillmore::PresetFields& fields) { fields.currentPresetName = name; });
}

juce::String QuillmoreAudioProcessor::getCurrentPresetName() const
{
    return presetFields.get().currentPresetName;
}

juce::String QuillmoreAudioProcessor::getCurrentPresetDisplayName() const
{
    auto name = getCurrentPresetName();
    if (name.isEmpty())
        name = initialPresetName;
    return presetDirty.load() ? name + "*" : name;
}

void QuillmoreAudioProcessor::updateActivePanelFromSections()
{
    const bool heads = apvts.getRawParameterValue("HeadsOn")->load() >= 0.5f;
    const bool space = apvts.getRawParameterValue("SpaceOn")->load() >= 0.5f;
    if (heads != space)
        activePanel.exchange(heads ? 0 : 1);
}
