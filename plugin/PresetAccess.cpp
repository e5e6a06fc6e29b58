#include "plugin/PresetAccess.h"

#include "plugin/PresetCategory.h"
#include "plugin/QuillmoreAudioProcessor.h"

#include <cstring>

namespace Quillmore
{
namespace
{
Steinberg::tresult writeText(const juce::String& text, Steinberg::char8* destination, Steinberg::int32 size)
{
    if (destination == nullptr || size <= 0)
        return Steinberg::kInvalidArgument;
    // Cuts between characters, never inside one.
    text.copyToUTF8(destination, static_cast<size_t>(size));
    return text.getNumBytesAsUTF8() < static_cast<size_t>(size) ? Steinberg::kResultOk : Steinberg::kResultFalse;
}
} // namespace

PresetAccess::PresetAccess(QuillmoreAudioProcessor& owner)
    : processor(owner)
{
}

Steinberg::tresult PLUGIN_API PresetAccess::queryInterface(const Steinberg::TUID iid, void** object)
{
    if (object == nullptr)
        return Steinberg::kInvalidArgument;
    if (std::memcmp(iid, presetAccessIid, sizeof(Steinberg::TUID)) == 0
        || std::memcmp(iid, Steinberg::FUnknown_iid, sizeof(Steinberg::TUID)) == 0)
    {
        addRef();
        *object = static_cast<IPresetAccess*>(this);
        return Steinberg::kResultOk;
    }
    *object = nullptr;
    return Steinberg::kNoInterface;
}

Steinberg::uint32 PLUGIN_API PresetAccess::addRef()
{
    return ++references;
}

Steinberg::uint32 PLUGIN_API PresetAccess::release()
{
    return --references;
}

Steinberg::int32 PLUGIN_API PresetAccess::getPresetCount(Steinberg::int32 kind)
{
    if (kind == factoryPresets)
        return static_cast<Steinberg::int32>(factoryList.size());
    if (kind == userPresets)
        return processor.presetManager.getEntries().size();
    return 0;
}

bool PresetAccess::isValid(Steinberg::int32 kind, Steinberg::int32 index)
{
    return index >= 0 && index < getPresetCount(kind);
}

Steinberg::tresult PLUGIN_API PresetAccess::getPresetName(Steinberg::int32 kind, Steinberg::int32 index,
                                                          Steinberg::char8* text, Steinberg::int32 size)
{
    if (!isValid(kind, index))
        return Steinberg::kInvalidArgument;
    return writeText(kind == factoryPresets ? factoryList[static_cast<size_t>(index)].displayName
                                            : processor.presetManager.getEntries().getReference(index).name,
                     text, size);
}

Steinberg::tresult PLUGIN_API PresetAccess::getPresetCategory(Steinberg::int32 kind, Steinberg::int32 index,
                                                              Steinberg::char8* text, Steinberg::int32 size)
{
    if (!isValid(kind, index))
        return Steinberg::kInvalidArgument;
    return writeText(kind == factoryPresets ? presetCategoryName(factoryList[static_cast<size_t>(index)].category)
                                            : juce::String(),
                     text, size);
}

Steinberg::tresult PLUGIN_API PresetAccess::getUserPresetFolder(Steinberg::char8* text, Steinberg::int32 size)
{
    return writeText(processor.presetManager.getFolder().getFullPathName(), text, size);
}

Steinberg::tresult PLUGIN_API PresetAccess::loadPreset(Steinberg::int32 kind, Steinberg::int32 index)
{
    if (!isValid(kind, index))
        return Steinberg::kInvalidArgument;
    if (kind == userPresets)
        return processor.loadUserPreset(index) ? Steinberg::kResultOk : Steinberg::kResultFalse;

    const auto& preset = factoryList[static_cast<size_t>(index)];
    processor.loadFactoryPreset(preset.resourceName, preset.displayName);
    return Steinberg::kResultOk;
}
} // namespace Quillmore
