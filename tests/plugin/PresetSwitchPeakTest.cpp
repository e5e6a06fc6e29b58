// Factory presets switched while audio plays, through the real processor. A switch that moves the
// dropouts' low-pass from well below half the rate to just under it (Degrade down and HighRolloff up
// at once) rang at half the rate at several times the input, and only at the rates where the cut-off
// lands next to half the rate.
#include "patch/core/RandomState.h"
#include "plugin/FactoryPresetCatalogue.h"
#include "tests/plugin/ProcessorPlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{
float peakOf(const juce::AudioBuffer<float>& samples)
{
    float peak = 0.0f;
    for (int channel = 0; channel < samples.getNumChannels(); ++channel)
        for (int i = 0; i < samples.getNumSamples(); ++i)
        {
            const float v = samples.getSample(channel, i);
            peak = std::isfinite(v) ? std::max(peak, std::fabs(v)) : INFINITY;
        }
    return peak;
}

void loadByName(QuillmoreAudioProcessor& processor, const juce::String& name)
{
    for (const auto& row : Quillmore::kFactoryPresetCatalogue)
        if (juce::String(row.displayName) == name)
        {
            processor.loadFactoryPreset(row.resourceName, row.displayName);
            return;
        }
    FAIL() << "no factory preset " << name;
}
} // namespace

TEST(PresetSwitchPeak, SwitchingPresetsWhilePlayingAddsNoRing)
{
    struct Row
    {
        const char* from;
        const char* to;
    };
    // Degrade and HighRolloff: 45 % and 10 kHz to 0 and 18 kHz; 85 % and 5 kHz to 0 and 18 kHz;
    // 60 % and 6 kHz to 0 and 17.8 kHz; 40 % and 7.5 kHz to 0 and 18 kHz; and the first one back.
    const Row rows[] = { { "Properly Baked", "Subtle Stereo Enhancement" },
                         { "Fuct Tape", "A Lot Is a Little" },
                         { "Dawn of Time", "Light Touch" },
                         { "Burnt Ends", "Metal Tape" },
                         { "Subtle Stereo Enhancement", "Properly Baked" } };
    // These presets run at unity Input and Output; played steadily they stay within 1.6 times the peak
    // of this noise (the low-pass, the hiss and the drift add up to that), and a switch with its glides
    // within 1.8. Twice the input's peak leaves no room for the ring, which reached 3 to 14 times it.
    constexpr float inputPeak = 0.5f;
    constexpr float margin = 2.0f;

    for (const double rate : { 44100.0, 48000.0, 96000.0 })
    {
        // Half a second of white noise at -6 dBFS, played again and again.
        const int length = static_cast<int>(rate / 2);
        juce::AudioBuffer<float> input(2, length);
        juce::Random random(7);
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < length; ++i)
                input.setSample(channel, i, inputPeak * (2.0f * random.nextFloat() - 1.0f));

        for (const Row& row : rows)
        {
            const PRT::ScopedFixedRandomSeed seed(1.0f);
            QuillmoreAudioProcessor processor;
            ProcessorPlayer::prepare(processor, 512, juce::AudioChannelSet::stereo(), juce::AudioChannelSet::stereo(),
                                     rate);
            loadByName(processor, row.from);
            ProcessorPlayer::render(processor, input, 512);
            const float before = peakOf(ProcessorPlayer::render(processor, input, 512));

            loadByName(processor, row.to);
            float after = 0.0f;
            for (int halfSecond = 0; halfSecond < 2; ++halfSecond)
                after = std::max(after, peakOf(ProcessorPlayer::render(processor, input, 512)));

            EXPECT_LE(before, inputPeak * margin) << rate << " Hz, " << row.from << " played steadily";
            EXPECT_LE(after, inputPeak * margin) << rate << " Hz, " << row.from << " to " << row.to;
        }
    }
}
