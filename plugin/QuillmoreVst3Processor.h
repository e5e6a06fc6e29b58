#pragma once

#include "plugin/QuillmoreAudioProcessor.h"

#include <memory>

namespace Quillmore
{
class PresetAccess;
}

// The processor as the VST3 bundle creates it: its component also answers queryInterface for
// IPresetAccess, through which a host that knows the interface lists and loads the presets.
class QuillmoreVst3Processor final : public QuillmoreAudioProcessor, public juce::VST3ClientExtensions
{
public:
    QuillmoreVst3Processor();
    ~QuillmoreVst3Processor() override;

    int32_t queryIAudioProcessor(const Steinberg::TUID iid, void** object) override;

private:
    std::unique_ptr<Quillmore::PresetAccess> presetAccess;
};
