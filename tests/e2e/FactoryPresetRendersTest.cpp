// Every factory preset through the bundle: 10 s of the phrase and 5 s of tail come out finite, below
// full scale, and audible; where the preset mixes in echo or springs, switching its Space section off
// changes what is heard. The table of each preset's levels goes into the test's log.
#include "tests/e2e/SeededRender.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

using namespace Quillmore::Host;

namespace
{
constexpr double sampleRate = 48000.0;
constexpr double inputSeconds = 10.0;
constexpr double tailSeconds = 5.0;

double decibels(double level)
{
    return level > 0.0 ? 20.0 * std::log10(level) : -999.0;
}

struct Levels
{
    bool finite = true;
    double peak = 0.0;
    double inputRms = 0.0; // while the phrase plays
    double tailRms = 0.0;  // the first second after it
};

// The RMS of the difference between two renders of the same length, over both channels.
double differenceRms(const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    double sum = 0.0;
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < a.getNumSamples(); ++i)
        {
            const double d = static_cast<double>(a.getSample(channel, i)) - b.getSample(channel, i);
            sum += d * d;
        }
    return std::sqrt(sum / (2.0 * a.getNumSamples()));
}

Levels levelsOf(const juce::AudioBuffer<float>& output)
{
    Levels levels;
    const int inputEnd = static_cast<int>(inputSeconds * sampleRate);
    const int tailEnd = inputEnd + static_cast<int>(sampleRate);
    double inputSum = 0.0, tailSum = 0.0;
    for (int channel = 0; channel < output.getNumChannels(); ++channel)
        for (int i = 0; i < output.getNumSamples(); ++i)
        {
            const double value = output.getSample(channel, i);
            levels.finite = levels.finite && std::isfinite(value);
            levels.peak = std::max(levels.peak, std::abs(value));
            (i < inputEnd ? inputSum : tailSum) += i < tailEnd ? value * value : 0.0;
        }
    levels.inputRms = std::sqrt(inputSum / (2.0 * inputEnd));
    levels.tailRms = std::sqrt(tailSum / (2.0 * (tailEnd - inputEnd)));
    return levels;
}

float normalisedValue(juce::AudioPluginInstance& instance, const char* id)
{
    return findParameter(instance, id).getValue();
}
} // namespace

TEST(FactoryPresetRenders, EveryPresetIsFiniteBoundedAndAudible)
{
    std::vector<PresetEntry> factory;
    {
        auto plugin = loadBuiltBundle(sampleRate, 256);
        const PluginPresets presets(*plugin.instance);
        for (const auto& entry : presets.entries())
            if (entry.isFactory)
                factory.push_back(entry);
    }
    ASSERT_EQ(factory.size(), 79u);

    std::printf("%-34s %-10s %5s %5s %8s %8s %8s %8s\n", "preset", "category", "heads", "space", "peak", "rms",
                "tail rms", "space");
    for (const auto& entry : factory)
    {
        bool headsOn = false, spaceOn = false, wetSpace = false;
        SeededRender render;
        render.preset = entry.name.toRawUTF8();
        render.inputSeconds = inputSeconds;
        render.tailSeconds = tailSeconds;
        render.inspect = [&](juce::AudioPluginInstance& instance) {
            headsOn = normalisedValue(instance, "HeadsOn") > 0.5f;
            spaceOn = normalisedValue(instance, "SpaceOn") > 0.5f;
            wetSpace = spaceOn && (normalisedValue(instance, "EchoMix") > 0.0f || normalisedValue(instance, "SpringMix") > 0.0f);
        };
        const auto output = renderSeeded(render);
        const auto levels = levelsOf(output);
        // What the Space section adds: the same render (same seed) with the section switched off.
        double spaceDifference = 0.0;
        if (wetSpace)
        {
            render.settings.emplace_back("SpaceOn", "0");
            render.inspect = nullptr;
            spaceDifference = differenceRms(output, renderSeeded(render));
        }
        std::printf("%-34s %-10s %5s %5s %8.2f %8.2f %8.2f %8.2f\n", entry.name.toRawUTF8(), entry.category.toRawUTF8(),
                    headsOn ? "on" : "off", spaceOn ? "on" : "off", decibels(levels.peak), decibels(levels.inputRms),
                    decibels(levels.tailRms), decibels(spaceDifference));

        const std::string name = entry.name.toStdString();
        EXPECT_TRUE(levels.finite) << name;
        EXPECT_LT(levels.peak, 1.0) << name << ": above full scale";
        EXPECT_GT(decibels(levels.inputRms), -40.0) << name << ": the phrase is not heard";
        if (wetSpace)
        {
            // The mixes run from a touch to all wet: the quietest preset's Space adds some 42 dB below
            // the render's level, a silent section nothing.
            EXPECT_GT(decibels(spaceDifference) - decibels(levels.inputRms), -50.0)
                << name << ": its echo and springs are not heard";
        }
    }
    std::fflush(stdout);
}
