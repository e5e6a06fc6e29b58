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
// signal (the phrase unless given) after a lead-in (one second unless given), latency taken out, with a
// fixed tail.
struct SeededRender
{
    const char* preset = nullptr;
    std::vector<std::pair<const char*, const char*>> settings;
    Quillmore::Host::SignalKind signal = Quillmore::Host::SignalKind::phrase;
    double inputSeconds = 2.0;
    double tailSeconds = 1.0;
    double preRollSeconds = 1.0; // 0: the signal from the first block, as a host plays a new instance
    bool keepLatency = false;    // the plug-in's delay left in, so the output from its first sample on
    double sampleRate = 48000.0;
    int hostBlock = 256;
    int seed = 7;
    // Called once the preset and the settings are in place, before the render.
    std::function<void(juce::AudioPluginInstance&)> inspect;
};

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
    settings.preRollSamples = static_cast<int>(render.preRollSeconds * render.sampleRate);
    settings.latencySamples = render.keepLatency ? 0 : latencySamplesOf(instance);
    settings.fixedTailSamples = static_cast<int>(render.tailSeconds * render.sampleRate);
    SignalSettings signal;
    signal.kind = render.signal;
    signal.seconds = render.inputSeconds;
    auto blocks = BlockSizes::fixed(render.hostBlock);
    return renderAligned(instance, generateSignal(signal, render.sampleRate), blocks, settings).output;
}
