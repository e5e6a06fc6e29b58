#pragma once

#include "plugin/FactoryPresetCatalogue.h"
#include "plugin/PresetAccessInterface.h"

#include <atomic>
#include <vector>

class QuillmoreAudioProcessor;

namespace Quillmore
{
// IPresetAccess for one processor, through its own preset operations. It lives as long as the
// processor: the references that hosts take are counted but never delete it.
class PresetAccess final : public IPresetAccess
{
public:
    explicit PresetAccess(QuillmoreAudioProcessor& processor);

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** object) override;
    Steinberg::uint32 PLUGIN_API addRef() override;
    Steinberg::uint32 PLUGIN_API release() override;

    Steinberg::int32 PLUGIN_API getPresetCount(Steinberg::int32 kind) override;
    Steinberg::tresult PLUGIN_API getPresetName(Steinberg::int32 kind, Steinberg::int32 index, Steinberg::char8* text,
                                                Steinberg::int32 size) override;
    Steinberg::tresult PLUGIN_API getPresetCategory(Steinberg::int32 kind, Steinberg::int32 index, Steinberg::char8* text,
                                                    Steinberg::int32 size) override;
    Steinberg::tresult PLUGIN_API getUserPresetFolder(Steinberg::char8* text, Steinberg::int32 size) override;
    Steinberg::tresult PLUGIN_API loadPreset(Steinberg::int32 kind, Steinberg::int32 index) override;

private:
    bool isValid(Steinberg::int32 kind, Steinberg::int32 index);

    QuillmoreAudioProcessor& processor;
    const std::vector<FactoryPresetItem> factoryList = buildFactoryPresetList();
    std::atomic<Steinberg::uint32> references{0};
};
} // namespace Quillmore
