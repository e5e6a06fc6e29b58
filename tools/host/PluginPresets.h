#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <vector>

namespace Quillmore
{
class IPresetAccess;
}

namespace Quillmore::Host
{
struct PresetEntry
{
    bool isFactory = true;
    juce::String category; // empty for a user preset
    juce::String name;
    int index = 0;         // in its list
};

// The hosted plug-in's presets, through the interface that the plug-in's VST3 component offers for
// them (plugin/PresetAccessInterface.h); the plug-in's own preset loading loads them. Call on the
// message thread while the instance lives.
class PluginPresets
{
public:
    // Throws HostError when the plug-in offers no such interface.
    explicit PluginPresets(juce::AudioPluginInstance& instance);
    ~PluginPresets();
    PluginPresets(const PluginPresets&) = delete;
    PluginPresets& operator=(const PluginPresets&) = delete;

    // The factory presets (category and name), then the user presets, each in the plug-in's order.
    const std::vector<PresetEntry>& entries() const { return presets; }
    const juce::File& userPresetFolder() const { return userFolder; }

    // Loads the factory preset with this display name, else the user preset with this name, ignoring
    // case and blanks around it (a name with control characters also by its escaped form, as listings
    // print it, when no real name matches), and hands the changed parameters on to the host. Throws
    // HostError naming the nearest names when no preset has the name, or when the plug-in fails to
    // load it.
    const PresetEntry& load(const juce::String& name);

private:
    juce::AudioPluginInstance& instance;
    IPresetAccess* access = nullptr;
    std::vector<PresetEntry> presets;
    juce::File userFolder;
};
} // namespace Quillmore::Host
