// Factory presets switched, and the filters' settings jumped, while audio plays, through the real
// processor. A switch that moves the dropouts' low-pass from well below half the rate to just under it
// (Degrade down and HighRolloff up at once) rang at half the rate at several times the input, and only
// at the rates where the cut-off lands next to half the rate. The input filter's high-pass and the
// echo filter's band-pass rang the same way when a jump or the echo's LFO took them down to a few
// hertz, or their q up at a low cut-off.
#include "patch/core/RandomState.h"
#include "plugin/FactoryPresetCatalogue.h"
#include "tests/plugin/ProcessorPlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

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

// Half a second of white noise at -6 dBFS, played again and again.
constexpr float inputPeak = 0.5f;
using Noise = juce::AudioBuffer<float>;
Noise halfSecondOfNoise(double rate)
{
    const int length = static_cast<int>(rate / 2);
    Noise input(2, length);
    juce::Random random(7);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < length; ++i)
            input.setSample(channel, i, inputPeak * (2.0f * random.nextFloat() - 1.0f));
    return input;
}

using Settings = std::initializer_list<std::pair<const char*, float>>;
void set(QuillmoreAudioProcessor& processor, Settings settings)
{
    for (const auto& [id, value] : settings)
        ProcessorPlayer::setHostValue(processor, id, value);
}

// The input filter alone in the path, and the echo filter alone in the echo heard (one echo, no dry),
// with how long each takes to reach its full level: the echo's limiter fades it in over 6.5 s.
struct Section
{
    Settings settings;
    int halfSecondsToFullLevel;

    void startPlaying(QuillmoreAudioProcessor& processor, const Noise& input) const
    {
        for (int i = 0; i < halfSecondsToFullLevel; ++i)
            ProcessorPlayer::render(processor, input, 512);
    }
};
constexpr Section headsAlone{ { { "HeadsOn", 1.0f }, { "SpaceOn", 0.0f } }, 1 };
constexpr Section echoAlone{
    { { "HeadsOn", 0.0f }, { "SpaceOn", 1.0f }, { "EchoMix", 100.0f }, { "EchoFdbck", 0.0f } }, 14 };

// For each rate and each row: a fresh processor with a fixed random seed, prepared for stereo blocks
// of 512, handed with the rate's noise to play(processor, input, row, rate).
template <typename Rows, typename Play>
void playEachRow(std::initializer_list<double> rates, const Rows& rows, Play&& play)
{
    for (const double rate : rates)
    {
        const Noise input = halfSecondOfNoise(rate);
        for (const auto& row : rows)
        {
            const PRT::ScopedFixedRandomSeed seed(1.0f);
            QuillmoreAudioProcessor processor;
            ProcessorPlayer::prepare(processor, 512, juce::AudioChannelSet::stereo(), juce::AudioChannelSet::stereo(),
                                     rate);
            play(processor, input, row, rate);
        }
    }
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
    constexpr float margin = 2.0f;

    playEachRow({ 44100.0, 48000.0, 96000.0 }, rows,
                [&](QuillmoreAudioProcessor& processor, const Noise& input, const Row& row, double rate) {
                    loadByName(processor, row.from);
                    ProcessorPlayer::render(processor, input, 512);
                    const float before = peakOf(ProcessorPlayer::render(processor, input, 512));

                    loadByName(processor, row.to);
                    float after = 0.0f;
                    for (int halfSecond = 0; halfSecond < 2; ++halfSecond)
                        after = std::max(after, peakOf(ProcessorPlayer::render(processor, input, 512)));

                    EXPECT_LE(before, inputPeak * margin) << rate << " Hz, " << row.from << " played steadily";
                    EXPECT_LE(after, inputPeak * margin) << rate << " Hz, " << row.from << " to " << row.to;
                });
}

// HighPass and HighPassQ, EchoFilterFreq and EchoFilterQ jumped end to end between two blocks. The q
// applies at the next block and the cut-off glides from the old value to the new: the output may pass
// from what the filter gives steadily at the old setting to what it gives at the old cut-off with the
// new q and on to the new setting, the old dying away while the new builds up, but no ring may come
// out on top. The bound is 1.25 times the old setting's steady peak plus the larger of the other two,
// the margin for the cut-offs the glide passes on the way (a q-2 high-pass gliding down across the
// band): these jumps reach at most 0.8 of it. The direct-form filters reached 2.5 times it when
// HighPassQ jumped up at 20 Hz at 192 kHz (5.2 times the input's peak), and 2.9 and 5.2 times it when
// EchoFilterQ did at 44.1 and 192 kHz (the echo held at 2.5 times the input's peak).
TEST(PresetSwitchPeak, FilterJumpsWhilePlayingStayWithinTheSteadyResponse)
{
    struct Row
    {
        Section section;
        const char* cutoffId;
        const char* qId;
        float fromCutoff, fromQ, toCutoff, toQ;
    };
    const Row rows[] = { { headsAlone, "HighPass", "HighPassQ", 15000.0f, 2.0f, 20.0f, 2.0f },
                         { headsAlone, "HighPass", "HighPassQ", 15000.0f, 0.1f, 20.0f, 2.0f },
                         { headsAlone, "HighPass", "HighPassQ", 20.0f, 2.0f, 15000.0f, 0.1f },
                         { headsAlone, "HighPass", "HighPassQ", 20.0f, 0.1f, 20.0f, 2.0f },
                         { headsAlone, "HighPass", "HighPassQ", 20.0f, 2.0f, 20.0f, 0.1f },
                         { echoAlone, "EchoFilterFreq", "EchoFilterQ", 9000.0f, 0.01f, 20.0f, 2.0f },
                         { echoAlone, "EchoFilterFreq", "EchoFilterQ", 20.0f, 2.0f, 9000.0f, 0.01f },
                         { echoAlone, "EchoFilterFreq", "EchoFilterQ", 20.0f, 0.01f, 20.0f, 2.0f },
                         { echoAlone, "EchoFilterFreq", "EchoFilterQ", 9000.0f, 2.0f, 9000.0f, 0.01f } };
    playEachRow({ 44100.0, 192000.0 }, rows,
                [&](QuillmoreAudioProcessor& processor, const Noise& input, const Row& row, double rate) {
                    set(processor, row.section.settings);
                    auto setFilter = [&](float cutoff, float q) {
                        set(processor, { { row.cutoffId, cutoff }, { row.qId, q } });
                    };
                    auto settledPeak = [&] {
                        ProcessorPlayer::render(processor, input, 512);
                        return peakOf(ProcessorPlayer::render(processor, input, 512));
                    };
                    setFilter(row.fromCutoff, row.fromQ);
                    row.section.startPlaying(processor, input);
                    const float steadyFrom = settledPeak();
                    setFilter(row.toCutoff, row.toQ);
                    const float jump = peakOf(ProcessorPlayer::render(processor, input, 512));
                    const float steadyTo = settledPeak();
                    setFilter(row.fromCutoff, row.toQ);
                    const float steadyBetween = settledPeak();

                    EXPECT_LE(jump, 1.25f * (steadyFrom + std::max(steadyBetween, steadyTo)))
                        << rate << " Hz, " << row.cutoffId << " " << row.fromCutoff << " q " << row.fromQ << " to "
                        << row.toCutoff << " q " << row.toQ << "; steadily " << steadyFrom << ", " << steadyBetween
                        << " and " << steadyTo;
                });
}

// The echo's LFO at full depth and speed sweeps the band-pass from its 1 Hz floor to twice the set
// centre twenty times a second, a jump at every block, while the settings jump too. The band-pass
// peaks at 0 dB: the echo of this noise stays within 1.3 times the noise's peak, held at one setting
// or swept. Twice the noise's peak leaves room for that and none for the direct form's ring at the
// sweep's bottom, which held the echo at 2.3 to 2.5 times it for seconds on end.
TEST(PresetSwitchPeak, EchoFilterSweptByItsLfoAddsNoRing)
{
    struct Row
    {
        float fromHz, fromQ, toHz, toQ;
    };
    const Row rows[] = { { 9000.0f, 2.0f, 20.0f, 0.01f },
                         { 20.0f, 0.01f, 9000.0f, 0.01f },
                         { 9000.0f, 0.25f, 9000.0f, 2.0f },
                         { 600.0f, 0.25f, 600.0f, 0.25f } };

    playEachRow({ 44100.0, 192000.0 }, rows,
                [&](QuillmoreAudioProcessor& processor, const Noise& input, const Row& row, double rate) {
                    set(processor, echoAlone.settings);
                    set(processor, { { "EchoFilterLFOAmount", 100.0f }, { "EchoFilterLFOSpeed", 20.0f } });
                    set(processor, { { "EchoFilterFreq", row.fromHz }, { "EchoFilterQ", row.fromQ } });
                    echoAlone.startPlaying(processor, input);
                    float peak = 0.0f;
                    for (int halfSecond = 0; halfSecond < 2; ++halfSecond)
                        peak = std::max(peak, peakOf(ProcessorPlayer::render(processor, input, 512)));
                    set(processor, { { "EchoFilterFreq", row.toHz }, { "EchoFilterQ", row.toQ } });
                    for (int halfSecond = 0; halfSecond < 3; ++halfSecond)
                        peak = std::max(peak, peakOf(ProcessorPlayer::render(processor, input, 512)));

                    EXPECT_LE(peak, 2.0f * inputPeak) << rate << " Hz, " << row.fromHz << " Hz q " << row.fromQ
                                                      << " to " << row.toHz << " Hz q " << row.toQ;
                });
}
