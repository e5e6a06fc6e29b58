#pragma once

#include "plugin/QuillmoreAudioProcessor.h"

#include <cmath>
#include <cstddef>
#include <string>

// What the fuzz targets (and the tests that replay their findings) do with an input: hand it to the
// processor the way a host or a user would, play some audio with whatever it set, and check that the
// processor is still sane. Each returns the first fault found, or an empty text.
namespace HostileInputs
{
// Every host parameter holds a finite value inside its range, and a few blocks of noise through the
// patch come out finite.
inline std::string faultAfterLoading(QuillmoreAudioProcessor& processor)
{
    for (auto* parameter : processor.getParameters())
    {
        const float normalised = parameter->getValue();
        if (!(normalised >= 0.0f && normalised <= 1.0f))
            return "parameter " + parameter->getName(100).toStdString() + " holds the normalised value "
                 + std::to_string(normalised);
        if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*>(parameter))
        {
            const auto& range = ranged->getNormalisableRange();
            const float raw = processor.apvts.getRawParameterValue(ranged->paramID)->load();
            if (!(raw >= range.start && raw <= range.end))
                return "parameter " + ranged->paramID.toStdString() + " holds " + std::to_string(raw)
                     + ", outside its range";
        }
    }

    juce::AudioBuffer<float> block(2, 256);
    juce::MidiBuffer midi;
    juce::Random random(1);
    for (int n = 0; n < 4; ++n)
    {
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < block.getNumSamples(); ++i)
                block.setSample(channel, i, random.nextFloat() - 0.5f);
        processor.processBlock(block, midi);
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < block.getNumSamples(); ++i)
                if (!std::isfinite(block.getSample(channel, i)))
                    return "a non-finite output sample";
    }
    return {};
}

// The bytes as a file in the user preset folder: the folder is scanned, and each preset found loaded
// as the editor's preset browser loads it.
inline std::string loadUserPresetFile(QuillmoreAudioProcessor& processor, const void* data, size_t size)
{
    auto& presets = processor.presetManager;
    presets.getFolder().createDirectory();
    const auto file = presets.getFolder().getChildFile("Fuzzed.xml");
    if (!file.replaceWithData(data, size))
        return "the preset file could not be written";

    presets.rescanUserPresets();
    std::string fault;
    for (int index = 0; index < presets.getEntries().size() && fault.empty(); ++index)
    {
        processor.loadUserPreset(index);
        fault = faultAfterLoading(processor);
    }
    file.deleteFile();
    return fault;
}

// The bytes as the state a host hands back. Whether or not they are taken, the state the processor
// then saves must restore to itself.
inline std::string loadState(QuillmoreAudioProcessor& processor, const void* data, size_t size)
{
    processor.setStateInformation(data, static_cast<int>(size));
    if (auto fault = faultAfterLoading(processor); !fault.empty())
        return fault;

    juce::MemoryBlock saved, savedAgain;
    processor.getStateInformation(saved);
    processor.setStateInformation(saved.getData(), static_cast<int>(saved.getSize()));
    processor.getStateInformation(savedAgain);
    if (savedAgain != saved)
        return "the state saved after loading does not restore to itself";
    return faultAfterLoading(processor);
}
} // namespace HostileInputs
