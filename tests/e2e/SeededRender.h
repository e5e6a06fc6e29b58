#pragma once

#include "plugin/RandomSeedFromEnvironment.h"
#include "tests/e2e/BuiltBundle.h"
#include "tools/host/AlignedRender.h"
#include "tools/host/HostedParameters.h"
#include "tools/host/PluginPresets.h"
#include "tools/host/TestSignal.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// A render through the built bundle that repeats exactly: the plug-in seeds its random sources from
// the seed, loads a factory preset (when named) and takes the settings (ID, text), then plays the
// phrase after a lead-in of one second, latency taken out, with a fixed tail.
struct SeededRender
{
    const char* preset = nullptr;
    std::vector<std::pair<const char*, const char*>> settings;
    double inputSeconds = 2.0;
    double tailSeconds = 1.0;
    double sampleRate = 48000.0;
    int hostBlock = 256;
    int seed = 7;
    // Called once the preset and the settings are in place, before the render.
    std::function<void(juce::AudioPluginInstance&)> inspect;
};

inline juce::AudioBuffer<float> phraseInput(double seconds, double sampleRate)
{
    Quillmore::Host::SignalSettings signal;
    signal.kind = Quillmore::Host::SignalKind::phrase;
    signal.seconds = seconds;
    return Quillmore::Host::generateSignal(signal, sampleRate);
}

inline juce::AudioBuffer<float> renderSeeded(const SeededRender& render)
{
    using namespace Quillmore::Host;
    ::setenv(Quillmore::randomSeedVariable, std::to_string(render.seed).c_str(), 1);
    auto plugin = loadBuiltBundle(render.sampleRate, render.hostBlock);
    auto& instance = *plugin.instance;
    if (render.preset != nullptr)
        PluginPresets(instance).load(render.preset);
    for (const auto& [id, text] : render.settings)
        setParameterFromText(findParameter(instance, id), text);
    flushParameterChanges(instance);
    if (render.inspect)
        render.inspect(instance);

    AlignedRenderSettings settings;
    settings.preRollSamples = static_cast<int>(render.sampleRate);
    settings.latencySamples = instance.getLatencySamples();
    settings.fixedTailSamples = static_cast<int>(render.tailSeconds * render.sampleRate);
    auto blocks = BlockSizes::fixed(render.hostBlock);
    return renderAligned(instance, phraseInput(render.inputSeconds, render.sampleRate), blocks, settings).output;
}
