// The command-line host's render on a plug-in whose every delay is known: a start-up mute, a delay
// that may differ from the latency it reports, and an echo whose repeats fall silent or never do.
#include "tools/host/AlignedRender.h"
#include "tools/host/HostError.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Quillmore::Host;

namespace
{
struct EchoDesign
{
    int delay = 0;          // the real delay of the output
    int reportedLatency = 0;
    int startupMute = 0;    // output silent for this many samples after preparing
    int echoSpacing = 0;    // 0: no echo
    float echoGain = 0.0f;  // each repeat this much of the one before
    double tailSeconds = 0.0;
    bool outputsNaNLate = false; // from sample 2000 on, NaN forever
};

// Mono in, mono out: y[n] = x[n - delay] + echoGain * y[n - echoSpacing], muted at the start.
class EchoFixture final : public juce::AudioPluginInstance
{
public:
    explicit EchoFixture(const EchoDesign& d)
        : AudioPluginInstance(BusesProperties().withInput("In", juce::AudioChannelSet::mono())
                                  .withOutput("Out", juce::AudioChannelSet::mono()))
        , design(d)
    {
        setLatencySamples(design.reportedLatency);
        setRateAndBufferSizeDetails(48000.0, 64);
    }

    void processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer&) override
    {
        auto* samples = buffer.getWritePointer(0);
        for (int i = 0; i < buffer.getNumSamples(); ++i, ++clock)
        {
            inputs.push_back(samples[i]);
            const float delayed = clock >= design.delay ? inputs[static_cast<size_t>(clock - design.delay)] : 0.0f;
            const float fedBack = design.echoSpacing > 0 && clock >= design.echoSpacing
                                      ? design.echoGain * outputs[static_cast<size_t>(clock - design.echoSpacing)]
                                      : 0.0f;
            outputs.push_back(delayed + fedBack);
            samples[i] = clock < design.startupMute ? 0.0f : outputs.back();
            if (design.outputsNaNLate && clock >= 2000)
                samples[i] = std::numeric_limits<float>::quiet_NaN();
        }
    }

    double getTailLengthSeconds() const override { return design.tailSeconds; }
    const juce::String getName() const override { return "EchoFixture"; }
    void fillInPluginDescription(juce::PluginDescription& description) const override { description.name = getName(); }
    void prepareToPlay(double, int) override {}
    void releaseResources() override {}
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }
    bool hasEditor() const override { return false; }
    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram(int) override {}
    const juce::String getProgramName(int) override { return {}; }
    void changeProgramName(int, const juce::String&) override {}
    void getStateInformation(juce::MemoryBlock&) override {}
    void setStateInformation(const void*, int) override {}

private:
    const EchoDesign design;
    std::vector<float> inputs, outputs;
    int clock = 0;
};

juce::AudioBuffer<float> impulseAt(int position, int length)
{
    juce::AudioBuffer<float> signal(1, length);
    signal.clear();
    signal.setSample(0, position, 1.0f);
    return signal;
}

int peakPosition(const juce::AudioBuffer<float>& buffer)
{
    int found = -1;
    float peak = 0.0f;
    for (int i = 0; i < buffer.getNumSamples(); ++i)
        if (std::abs(buffer.getSample(0, i)) > peak)
            peak = std::abs(buffer.getSample(0, found = i));
    return found;
}

EchoDesign delayDesign(int delay, int reportedLatency, int startupMute = 0)
{
    EchoDesign design;
    design.delay = delay;
    design.reportedLatency = reportedLatency;
    design.startupMute = startupMute;
    return design;
}

EchoDesign echoDesign(int spacing, float gain)
{
    EchoDesign design;
    design.echoSpacing = spacing;
    design.echoGain = gain;
    design.tailSeconds = 10.0;
    return design;
}

AlignedRenderSettings fixedTail(int preRoll, int latency, int tail)
{
    AlignedRenderSettings settings;
    settings.preRollSamples = preRoll;
    settings.latencySamples = latency;
    settings.fixedTailSamples = tail;
    return settings;
}

AlignedRenderSettings automaticTail(int maximum, int silence)
{
    AlignedRenderSettings settings;
    settings.maximumTailSamples = maximum;
    settings.silenceSamples = silence;
    return settings;
}

AlignedRender render(const EchoDesign& design, const juce::AudioBuffer<float>& input, const AlignedRenderSettings& settings)
{
    EchoFixture fixture(design);
    auto blocks = BlockSizes::varying(1, 64, 3);
    return renderAligned(fixture, input, blocks, settings);
}
} // namespace

TEST(AlignedRender, ThePreRollCarriesTheInputPastTheStartUpAndTheLatencyIsTakenOutAsReported)
{
    const auto design = delayDesign(300, 300, 1000);
    const auto input = impulseAt(10, 2000);

    // Without a pre-roll the start-up mute swallows the impulse.
    EXPECT_EQ(peakPosition(render(design, input, fixedTail(0, 300, 0)).output), -1);

    for (const int preRoll : { 1000, 1001, 4321 })
    {
        const auto kept = render(design, input, fixedTail(preRoll, 0, 500));
        const auto aligned = render(design, input, fixedTail(preRoll, 300, 500));
        ASSERT_EQ(kept.output.getNumSamples(), 2500);
        ASSERT_EQ(aligned.output.getNumSamples(), 2500);
        EXPECT_EQ(kept.tailSamples, 500);
        EXPECT_EQ(peakPosition(kept.output), 310) << "pre-roll " << preRoll;
        EXPECT_EQ(peakPosition(aligned.output), 10) << "pre-roll " << preRoll;
    }

    // The shift is the latency the plug-in reports, not its real delay.
    EXPECT_EQ(peakPosition(render(delayDesign(512, 256), input, fixedTail(0, 256, 0)).output), 10 + 256);
}

TEST(AlignedRender, AnAutomaticTailRingsOutAndEndsOnceSilent)
{
    // Repeats every 1000 samples, each half the one before: 0.5^16 = 1.5e-5 is the last one above
    // -100 dBFS.
    const auto echo = echoDesign(1000, 0.5f);
    const auto input = impulseAt(0, 500);
    const auto automatic = automaticTail(480000, 3000);

    const auto rung = render(echo, input, automatic);
    EXPECT_TRUE(rung.endedInSilence);
    ASSERT_EQ(rung.output.getNumSamples(), 16001); // ends just after the last audible repeat
    EXPECT_EQ(rung.tailSamples, 16001 - 500);
    for (int repeat = 1; repeat <= 16; ++repeat)
        EXPECT_FLOAT_EQ(rung.output.getSample(0, repeat * 1000), std::pow(0.5f, static_cast<float>(repeat)));

    // Gaps between repeats shorter than the silence that ends the tail do not end it.
    EXPECT_EQ(render(echoDesign(5000, 0.5f), input, automaticTail(480000, 5001)).output.getNumSamples(), 16 * 5000 + 1);

    // Never silent (no decay), or NaN: the tail runs to its longest.
    const auto endless = render(echoDesign(1000, 1.0f), input, automatic);
    EXPECT_FALSE(endless.endedInSilence);
    EXPECT_EQ(endless.output.getNumSamples(), 500 + 480000);
    EchoDesign broken;
    broken.outputsNaNLate = true;
    EXPECT_EQ(render(broken, input, automatic).output.getNumSamples(), 500 + 480000);

    // A fixed tail is exactly as long as asked, silent or not; a tail of 0 cuts at the input's end.
    EXPECT_EQ(render(echo, input, fixedTail(0, 0, 30000)).output.getNumSamples(), 30500);
    EXPECT_EQ(render(echo, input, fixedTail(0, 0, 0)).output.getNumSamples(), 500);
    // An input that ends in silence keeps its whole length.
    EXPECT_EQ(render(EchoDesign {}, impulseAt(0, 9000), automatic).output.getNumSamples(), 9000);
}

TEST(AlignedRender, RefusesNegativeSettingsAndMoreThanItCanHold)
{
    const auto input = impulseAt(0, 100);
    for (const auto& settings : { fixedTail(-1, 0, 0), fixedTail(0, -5, 0), fixedTail(0, 0, -1), automaticTail(-1, 0),
                                  fixedTail(0, 0, std::numeric_limits<int>::max()) })
        EXPECT_THROW(render(EchoDesign {}, input, settings), HostError);
}
