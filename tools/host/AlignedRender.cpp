#include "tools/host/AlignedRender.h"

#include "tools/host/HostError.h"
#include "tools/host/OfflineRender.h"

#include <cmath>
#include <limits>

namespace Quillmore::Host
{
namespace
{
bool isSilent(const juce::AudioBuffer<float>& block, int sample)
{
    for (int channel = 0; channel < block.getNumChannels(); ++channel)
        if (!(std::abs(block.getSample(channel, sample)) < silenceLevel)) // NaN is not silence
            return false;
    return true;
}
} // namespace

AlignedRender renderAligned(juce::AudioPluginInstance& instance, const juce::AudioBuffer<float>& input,
                            BlockSizes& blockSizes, const AlignedRenderSettings& settings)
{
    if (settings.preRollSamples < 0 || settings.latencySamples < 0 || settings.fixedTailSamples.value_or(0) < 0
        || settings.maximumTailSamples < 0 || settings.silenceSamples < 0)
        throw HostError("a render's pre-roll, latency and tail cannot be negative");

    const int inputLength = input.getNumSamples();
    const int tailLimit = settings.fixedTailSamples.value_or(settings.maximumTailSamples);
    if (tailLimit > std::numeric_limits<int>::max() - inputLength)
        throw HostError("the input and its tail are too long to render");
    const int outputLimit = inputLength + tailLimit;
    const bool automaticTail = !settings.fixedTailSamples.has_value();

    // Stream samples before the first kept one: the pre-roll, then the plug-in's delay.
    const auto skipped = static_cast<juce::int64>(settings.preRollSamples) + settings.latencySamples;
    PluginStream stream(instance, input, settings.preRollSamples, blockSizes);

    AlignedRender render;
    render.output.setSize(instance.getTotalNumOutputChannels(), outputLimit);
    render.output.clear();
    int written = 0;
    int audibleEnd = 0; // one past the last sample that was not silent
    while (written < outputLimit)
    {
        const auto blockStart = stream.position();
        const auto& block = stream.next(static_cast<int>(juce::jmin<juce::int64>(skipped + outputLimit - blockStart,
                                                                                 std::numeric_limits<int>::max())));
        const int first = static_cast<int>(juce::jlimit<juce::int64>(0, block.getNumSamples(), skipped - blockStart));
        for (int i = first; i < block.getNumSamples(); ++i, ++written)
        {
            for (int channel = 0; channel < block.getNumChannels(); ++channel)
                render.output.setSample(channel, written, block.getSample(channel, i));
            if (!isSilent(block, i))
                audibleEnd = written + 1;
        }
        if (automaticTail && written >= inputLength && written - juce::jmax(audibleEnd, inputLength) >= settings.silenceSamples
            && written < outputLimit)
        {
            render.endedInSilence = true;
            break;
        }
    }

    // An automatic tail ends where the output fell silent, never inside the input.
    const int length = automaticTail ? juce::jmax(inputLength, render.endedInSilence ? audibleEnd : written) : written;
    render.output.setSize(render.output.getNumChannels(), length, true);
    render.tailSamples = length - inputLength;
    return render;
}
} // namespace Quillmore::Host
