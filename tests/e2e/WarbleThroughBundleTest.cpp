// The tape warbles, as a host hears it: a steady sine through the built bundle comes out with its
// pitch swinging at the wow rate.
#include "tests/e2e/BuiltBundle.h"
#include "tools/host/BlockSizes.h"
#include "tools/host/HostedParameters.h"
#include "tools/host/OfflineRender.h"
#include "tools/host/TestSignal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace Quillmore::Host;

namespace
{
// The frequency between successive rising zero crossings (placed by linear interpolation), with the
// time of each, over samples [start, end) of one channel.
struct FrequencyTrack
{
    std::vector<double> times;
    std::vector<double> hertz;
};

FrequencyTrack trackFrequency(const juce::AudioBuffer<float>& audio, int channel, int start, int end, double rate)
{
    const float* x = audio.getReadPointer(channel);
    FrequencyTrack track;
    double lastCrossing = -1.0;
    for (int i = start + 1; i < end; ++i)
    {
        if (x[i - 1] < 0.0f && x[i] >= 0.0f)
        {
            const double crossing = (i - 1) + x[i - 1] / (x[i - 1] - x[i]);
            if (lastCrossing >= 0.0)
            {
                track.times.push_back(crossing / rate);
                track.hertz.push_back(rate / (crossing - lastCrossing));
            }
            lastCrossing = crossing;
        }
    }
    return track;
}
} // namespace

TEST(WarbleThroughBundle, ASineUnderFullWowSwingsInPitchAtTheWowRate)
{
    for (const double wowRate : {1.0, 2.0})
    {
        auto plugin = loadBuiltBundle();
        auto& instance = *plugin.instance;
        setParameterFromText(findParameter(instance, "Wow"), "100");
        setParameterFromText(findParameter(instance, "MstrWarble"), "100");
        setParameterFromText(findParameter(instance, "WowRate"), juce::String(wowRate) + " Hz");
        flushParameterChanges(instance);

        SignalSettings settings;
        settings.frequency = 1000.0;
        settings.seconds = 8.0;
        const auto input = generateSignal(settings, 48000.0);
        auto blocks = BlockSizes::fixed(512);
        const auto output = renderThrough(instance, input, blocks);

        // The last four seconds, long after the warble has glided in.
        const FrequencyTrack track = trackFrequency(output, 0, 48000 * 4, 48000 * 8, 48000.0);
        ASSERT_GT(track.hertz.size(), 3000u);
        const auto [low, high] = std::minmax_element(track.hertz.begin(), track.hertz.end());
        // The delay swings 520 ± 500 samples: the pitch by 1 ± 500 · 2π · rate / 48000.
        const double swing = 1000.0 * 500.0 * 6.283185307179586 * wowRate / 48000.0;
        EXPECT_NEAR(*high - 1000.0, swing, swing * 0.1) << wowRate << " Hz";
        EXPECT_NEAR(1000.0 - *low, swing, swing * 0.1) << wowRate << " Hz";

        // The pitch goes from well below 1 kHz to well above it and back once per wow cycle (the
        // two thresholds keep the estimate's jitter near 1 kHz from counting).
        size_t crossings = 0;
        int side = 0;
        for (const double hz : track.hertz)
        {
            const int now = hz > 1000.0 + swing / 2.0 ? 1 : (hz < 1000.0 - swing / 2.0 ? -1 : side);
            if (side != 0 && now != side)
                ++crossings;
            side = now;
        }
        EXPECT_NEAR(static_cast<double>(crossings), 2.0 * 4.0 * wowRate, 1.0) << wowRate << " Hz";
    }
}
