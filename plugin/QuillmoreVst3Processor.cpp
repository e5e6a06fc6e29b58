#include "plugin/QuillmoreVst3Processor.h"

#include "plugin/PresetAccess.h"
#include "plugin/RandomSeedFromEnvironment.h"

#include <cstring>

QuillmoreVst3Processor::QuillmoreVst3Processor()
    : presetAccess(std::make_unique<Quillmore::PresetAccess>(*this))
{
}

QuillmoreVst3Processor::~QuillmoreVst3Processor() = default;

int32_t QuillmoreVst3Processor::queryIAudioProcessor(const Steinberg::TUID iid, void** object)
{
    if (std::memcmp(iid, Quillmore::presetAccessIid, sizeof(Steinberg::TUID)) == 0)
        return presetAccess->queryInterface(iid, object);
    *object = nullptr;
    return Steinberg::kNoInterface;
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    Quillmore::applyRandomSeedFromEnvironment();
    return new QuillmoreVst3Processor();
}
