// Through the real processor at the highest rates a host runs: the echo filter's LFO sweeps the
// band-pass down to its 1 Hz floor, where its poles sit within 1e-9 of the unit circle. A pole
// rounded onto or past the circle grew the echo without bound and left the whole echo silent for
// good (NaN in the loop), so after the sweep's bottom the echoes must still come, finite and bounded.
#include "tests/plugin/ProcessorPlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

TEST(SweptEchoFilterAtHighRates, EchoesStayFiniteBoundedAndAudibleThroughTheSweepsBottom)
{
    struct Row
    {
        double rate;
        float frequency, q;
    };
    const Row rows[] = { { 192000.0, 20.0f, 2.0f } };
    for (const Row& row : rows)
    {
        QuillmoreAudioProcessor processor;
        ProcessorPlayer::prepare(processor, 512, juce::AudioChannelSet::stereo(), juce::AudioChannelSet::stereo(), row.rate);
        const std::pair<const char*, float> settings[] = {
            { "HeadsOn", 0.0f }, { "EchoMix", 100.0f }, { "EchoFdbck", 80.0f }, { "EchoFilterFreq", row.frequency },
            { "EchoFilterQ", row.q }, { "EchoFilterLFOAmount", 100.0f }, { "EchoFilterLFOSpeed", 0.02f } };
        for (const auto& [id, value] : settings)
            ProcessorPlayer::setHostValue(processor, id, value);

        // Bursts of noise twice a second; the sweep starts at its top and reaches its bottom at 25 s.
        const int second = static_cast<int>(row.rate);
        juce::AudioBuffer<float> input(2, second);
        juce::Random random(1);
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < second; ++i)
                input.setSample(channel, i, i % (second / 2) < second / 20 ? 0.3f * (2.0f * random.nextFloat() - 1.0f) : 0.0f);

        float peak = 0.0f;
        double lastSecondsEnergy = 0.0;
        for (int s = 0; s < 28; ++s)
        {
            const auto output = ProcessorPlayer::render(processor, input, 512);
            for (int channel = 0; channel < 2; ++channel)
                for (int i = 0; i < second; ++i)
                {
                    const float v = output.getSample(channel, i);
                    peak = std::isfinite(v) ? std::max(peak, std::fabs(v)) : INFINITY;
                    if (s >= 26)
                        lastSecondsEnergy += static_cast<double>(v) * v;
                }
        }
        EXPECT_LT(peak, 2.0f) << row.rate << " Hz, " << row.frequency << " Hz, q " << row.q;
        EXPECT_GT(lastSecondsEnergy, 1e-6) << row.rate << " Hz, " << row.frequency << " Hz, q " << row.q << ": echoes still come";
    }
}
