// A new instance makes no sound of its own: fed silence from its very first block, as a host plays a
// plug-in it has just inserted (or a session it has just opened, transport stopped), the bundle puts
// out exact silence through its start-up and after it, whichever factory preset is loaded. Nothing in
// it may ring by itself, not even far below hearing: a state that starts charged rings at any level. A
// preset whose tape hiss plays with nothing going in (its noise gate disabled) is heard with its hiss
// turned down.
#include "tests/e2e/SeededRender.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace Quillmore::Host;

namespace
{
// Past the start-up ramp (silent for 0.3 s, open from 0.5 s) and well into what a charged state would
// ring out once it opens.
constexpr double renderSeconds = 2.0;

struct Loudest
{
    float peak = 0.0f;
    double seconds = 0.0;

    std::string describe() const
    {
        return std::to_string(20.0 * std::log10(peak)) + " dBFS at " + std::to_string(seconds) + " s";
    }
};

Loudest loudestOf(const juce::AudioBuffer<float>& output, double sampleRate)
{
    Loudest loudest;
    for (int channel = 0; channel < output.getNumChannels(); ++channel)
        for (int i = 0; i < output.getNumSamples(); ++i)
        {
            const float magnitude = std::abs(output.getSample(channel, i));
            if (!(magnitude <= loudest.peak)) // a NaN counts as loud
            {
                loudest.peak = std::isnan(magnitude) ? INFINITY : magnitude;
                loudest.seconds = i / sampleRate;
            }
        }
    return loudest;
}

SeededRender silenceFromTheFirstBlock(double sampleRate)
{
    SeededRender render;
    render.signal = SignalKind::silence;
    render.inputSeconds = renderSeconds;
    render.tailSeconds = 0.0;
    render.preRollSeconds = 0.0;
    render.keepLatency = true;
    render.sampleRate = sampleRate;
    return render;
}

struct FactoryPreset
{
    std::string name;
    bool hissWithoutInput = false; // its noise gate disabled and some hiss in
};

std::vector<FactoryPreset> factoryPresets()
{
    auto plugin = loadBuiltBundle(48000.0, 256);
    auto& instance = *plugin.instance;
    PluginPresets presets(instance);
    std::vector<FactoryPreset> factory;
    for (const auto& entry : presets.entries())
        if (entry.isFactory)
        {
            presets.load(entry.name);
            const bool gateDisabled = findParameter(instance, "NoiseGateTime").getCurrentValueAsText() == "INF - Gate Disabled";
            const bool hiss = findParameter(instance, "NoiseAmnt").getValue() > 0.0f;
            factory.push_back({ entry.name.toStdString(), gateDisabled && hiss });
        }
    return factory;
}
} // namespace

TEST(FreshInstanceSilence, EveryFactoryPresetStartsSilent)
{
    const auto factory = factoryPresets();
    ASSERT_EQ(factory.size(), 79u);
    int withHissTurnedDown = 0;
    for (const auto& preset : factory)
    {
        SeededRender render = silenceFromTheFirstBlock(48000.0);
        render.preset = preset.name.c_str();
        if (preset.hissWithoutInput)
        {
            render.settings.emplace_back("NoiseAmnt", "0");
            ++withHissTurnedDown;
        }
        const Loudest loudest = loudestOf(renderSeeded(render), render.sampleRate);
        EXPECT_EQ(loudest.peak, 0.0f) << preset.name << (preset.hissWithoutInput ? " (hiss at 0)" : "") << ": "
                                              << loudest.describe();
    }
    RecordProperty("presets heard with their hiss turned down", withHissTurnedDown);
}

// Spring model A alone at its longest decay, where a charged start would ring the longest.
TEST(FreshInstanceSilence, SpringModelAAloneStartsSilentAtEveryRate)
{
    for (double rate : { 44100.0, 48000.0, 96000.0 })
    {
        SeededRender render = silenceFromTheFirstBlock(rate);
        render.settings = { { "HeadsOn", "0" }, { "SpringMix", "100" }, { "SpringDecay", "100" }, { "SpringAB", "0" } };
        const Loudest loudest = loudestOf(renderSeeded(render), rate);
        EXPECT_EQ(loudest.peak, 0.0f) << rate << " Hz: " << loudest.describe();
    }
}
