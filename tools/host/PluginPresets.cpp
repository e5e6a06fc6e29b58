#include "tools/host/PluginPresets.h"

#include "plugin/PresetAccessInterface.h"
#include "tools/host/EscapedText.h"
#include "tools/host/HostError.h"
#include "tools/host/HostedParameters.h"
#include "tools/host/NearestNames.h"
#include "tools/host/PluginLoading.h"
#include "tools/host/PluginState.h"

#include <pluginterfaces/vst/ivstcomponent.h>

#include <array>

namespace Quillmore::Host
{
namespace
{
IPresetAccess* findPresetAccess(juce::AudioPluginInstance& instance)
{
    auto* component = vst3ComponentOf(instance);
    void* access = nullptr;
    if (component == nullptr || component->queryInterface(presetAccessIid, &access) != Steinberg::kResultOk
        || access == nullptr)
        throw HostError(instance.getName().toStdString() + " offers no access to its presets");
    return static_cast<IPresetAccess*>(access);
}

using TextGetter = Steinberg::tresult (PLUGIN_API IPresetAccess::*)(Steinberg::int32, Steinberg::int32, Steinberg::char8*,
                                                                     Steinberg::int32);

juce::String textFrom(const std::array<Steinberg::char8, 4096>& buffer, Steinberg::tresult result, const char* what)
{
    if (result != Steinberg::kResultOk)
        throw HostError(std::string("the plug-in did not give ") + what);
    return juce::String::fromUTF8(buffer.data());
}

juce::String presetText(IPresetAccess& access, TextGetter getter, Steinberg::int32 kind, Steinberg::int32 index,
                        const char* what)
{
    std::array<Steinberg::char8, 4096> buffer {};
    return textFrom(buffer, (access.*getter)(kind, index, buffer.data(), static_cast<Steinberg::int32>(buffer.size())), what);
}
} // namespace

PluginPresets::PluginPresets(juce::AudioPluginInstance& hosted)
    : instance(hosted)
    , access(findPresetAccess(hosted))
{
    for (const bool factory : { true, false })
    {
        const auto kind = factory ? IPresetAccess::factoryPresets : IPresetAccess::userPresets;
        const auto count = access->getPresetCount(kind);
        for (Steinberg::int32 i = 0; i < count; ++i)
            presets.push_back({ factory,
                                factory ? presetText(*access, &IPresetAccess::getPresetCategory, kind, i, "a preset's category")
                                        : juce::String(),
                                presetText(*access, &IPresetAccess::getPresetName, kind, i, "a preset's name"),
                                static_cast<int>(i) });
    }

    std::array<Steinberg::char8, 4096> folder {};
    userFolder = juce::File(textFrom(folder, access->getUserPresetFolder(folder.data(), static_cast<Steinberg::int32>(folder.size())),
                                     "the user preset folder"));
}

PluginPresets::~PluginPresets()
{
    access->release();
}

const PresetEntry& PluginPresets::load(const juce::String& name)
{
    const auto wanted = name.trim();
    const PresetEntry* found = nullptr;
    // By the real name first, then by the name as listings print it (escaped); factory presets first.
    for (const bool escaped : { false, true })
        for (const auto& preset : presets)
            if (found == nullptr && (escaped ? escapedForOneLine(preset.name) : preset.name).trim().equalsIgnoreCase(wanted))
                found = &preset;

    if (found == nullptr)
    {
        std::vector<juce::String> names;
        for (const auto& preset : presets)
            names.push_back(escapedForOneLine(preset.name));
        juce::StringArray nearest;
        for (const auto& candidate : nearestNames(escapedForOneLine(wanted), names, 5))
            nearest.add("\"" + candidate + "\"");
        throw HostError("no preset is named \"" + escapedForOneLine(wanted).toStdString() + "\"" +
                        (nearest.isEmpty() ? std::string() : "; the nearest: " + nearest.joinIntoString(", ").toStdString())
                        + " (--list-presets lists them all)");
    }

    const auto kind = found->isFactory ? IPresetAccess::factoryPresets : IPresetAccess::userPresets;
    if (access->loadPreset(kind, found->index) != Steinberg::kResultOk)
        throw HostError("the plug-in could not load the preset \"" + escapedForOneLine(found->name).toStdString() + "\"");

    // The plug-in hands the changed parameters to its controller with its next process call. JUCE's
    // host takes a plug-in's parameter values for its own view only from the plug-in's edits on the
    // plug-in's message thread (which, on Linux, is the host's only while an editor is open) or from
    // a restored state: the state just loaded, set again, brings the view up to date and changes
    // nothing in the plug-in.
    flushParameterChanges(instance);
    setPluginState(instance, getPluginState(instance));
    return *found;
}
} // namespace Quillmore::Host
