#include "plugin/QuillmoreAudioProcessor.h"

#include "editor/QuillmoreAudioProcessorEditor.h"

#include "patch/core/PatchLatency.h"
#include "plugin/EchoSpecHandler.h"
#include "plugin/EngineBlockSize.h"
#include "plugin/OutputMeter.h"
#include "plugin/ParameterLayout.h"
#include "plugin/PresetDirtyRule.h"
#include "runtime/EngineCore.h"
#include "runtime/ParameterInfo.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
const juce::String trueBypassId{"TrueBypass"};

// The echo repeats for as long as its feedback lets it, and at 100 % and above (up to 120 %) it never
// dies away, so no tail is exact. Ten seconds let the default echo (250 ms at 80 %, 60 dB down after
// some 31 repeats, about 8 s) and the springs ring out in a host's render, while a host still stops
// processing after silence in a bounded time.
constexpr double tailSeconds = 10.0;

void replaceNonFiniteSamples(juce::AudioBuffer<float>& buffer, int numChannels, int numSamples)
{
    for (int channel = 0; channel < numChannels; ++channel)
    {
        // Every sample is stored, chosen without a branch, so that the loop is vectorised: a NaN fails
        // the comparison, an infinity exceeds the largest float.
        float* samples = buffer.getWritePointer(channel);
        for (int i = 0; i < numSamples; ++i)
            samples[i] = std::fabs(samples[i]) <= std::numeric_limits<float>::max() ? samples[i] : 0.0f;
    }
}
} // namespace

QuillmoreAudioProcessor::QuillmoreAudioProcessor(PRT::PatcherFactoryFunction patcherFactory)
    : AudioProcessor(BusesProperties()
                         .withInput("Input", juce::AudioChannelSet::stereo(), true)
                         .withOutput("Output", juce::AudioChannelSet::stereo(), true)),
      apvts(*this, nullptr, "Parameters", Quillmore::createParameterLayout()),
      presetManager(apvts),
      prtObject(patcherFactory),
      pendingChanges(static_cast<int>(prtObject.getNumParameters())),
      lastSentToPatch(prtObject.getNumParameters(), std::numeric_limits<float>::quiet_NaN())
{
    connectHostParametersToPatcher();

    echoSpecHandler = std::make_unique<EchoSpecHandler>(*this);
    parameterInterface = prtObject.createParameterInterface(PRT::ParameterInterfaceAsyncMultiProducer,
                                                            echoSpecHandler.get());
    audioThreadSender = prtObject.createParameterInterface(PRT::ParameterInterfaceSynchronous, nullptr);

    warbleLIndex = getPatcherParameterIndex("WarbleL");
    warbleRIndex = getPatcherParameterIndex("WarbleR");
    echoFiltMeterIndex = getPatcherParameterIndex("EchoFiltMeter");
    hostTempoIndex = getPatcherParameterIndex("hostTempo");
    trueBypassIndex = getPatcherParameterIndex("TrueBypass");
    headsOnValue = apvts.getRawParameterValue("HeadsOn");

    // The bypass reaches the patch only through processBlock, in step with the audio.
    for (auto* parameter : getParameters())
        if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*>(parameter))
            if (ranged->paramID != trueBypassId)
                apvts.addParameterListener(ranged->paramID, this);

    // The parameters stay at their defaults: no preset is loaded, but the header names the one they are.
    setCurrentPresetName(initialPresetName);
    presetDirty = false;
}

QuillmoreAudioProcessor::~QuillmoreAudioProcessor()
{
    for (auto* parameter : getParameters())
        if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*>(parameter))
            apvts.removeParameterListener(ranged->paramID, this);
}

// Maps every host-visible patcher parameter that has a host parameter of the same ID and starts the
// patcher from the host values.
void QuillmoreAudioProcessor::connectHostParametersToPatcher()
{
    for (PRT::ParameterIndex i = 0; i < prtObject.getNumParameters(); ++i)
    {
        PRT::ParameterInfo info;
        prtObject.getParameterInfo(i, &info);
        if (!info.hostVisible)
            continue;

        const auto id = juce::String::fromUTF8(prtObject.getParameterId(i));
        auto* hostValue = apvts.getRawParameterValue(id);
        if (hostValue == nullptr)
            continue;

        paramIndexById[id] = static_cast<int>(i);
        // The way every later change takes, so that a change made before the first block is not
        // overtaken by this start value.
        pendingChanges.post(static_cast<int>(i), hostValue->load());
    }
}

int QuillmoreAudioProcessor::getPatcherParameterIndex(const juce::String& parameterId) const
{
    const auto found = paramIndexById.find(parameterId);
    return found != paramIndexById.end() ? found->second : -1;
}

void QuillmoreAudioProcessor::prepareToPlay(double sampleRate, int maximumExpectedSamplesPerBlock)
{
    const int engineBlockSize = Quillmore::chooseEngineBlockSize(maximumExpectedSamplesPerBlock);
    prtObject.prepareToProcess(static_cast<float>(sampleRate), static_cast<PRT::Index>(engineBlockSize));
    bridge.prepare(engineBlockSize);
    hostBypassDelay.prepare(engineBlockSize);
    // The bridge's block and the patch's: every path through the patch, its own bypass included,
    // answers one engine block and one sample late. Here and never from the audio thread: the
    // framework tells the host when the value changes.
    setLatencySamples(bridge.getLatencySamples() + engineBlockSize + PRT::patchSamplesLateBeyondBlock);

    trueBypassValue = apvts.getRawParameterValue(trueBypassId);

    clearSpectrumFrames();
    warbleL = 0.5f;
    warbleR = 0.5f;
}

void QuillmoreAudioProcessor::releaseResources()
{
    bridge.release();
}

bool QuillmoreAudioProcessor::isBusesLayoutSupported(const BusesLayout& layouts) const
{
    const auto in = layouts.getMainInputChannelSet();
    const auto out = layouts.getMainOutputChannelSet();
    const auto mono = juce::AudioChannelSet::mono();
    const auto stereo = juce::AudioChannelSet::stereo();
    return (in == mono && out == mono) || (in == mono && out == stereo) || (in == stereo && out == stereo);
}

void QuillmoreAudioProcessor::processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    process(buffer, true);
}

void QuillmoreAudioProcessor::processBlockBypassed(juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    process(buffer, false);
}

void QuillmoreAudioProcessor::process(juce::AudioBuffer<float>& buffer, bool passPatchOutput)
{
    const juce::ScopedNoDenormals noDenormals;

    const int numSamples = buffer.getNumSamples();
    const int numOutputs = juce::jmin(getTotalNumOutputChannels(), buffer.getNumChannels());
    const int numInputs = juce::jmin(getTotalNumInputChannels(), buffer.getNumChannels());
    if (numOutputs == 0 || numSamples == 0)
        return;

    for (int channel = numOutputs; channel < buffer.getNumChannels(); ++channel)
        buffer.clear(channel, 0, numSamples);

    // A NaN or infinite sample would stay in the patch's filters and delay lines for good and silence
    // it; the host's buffer holds the output next, so it is cleaned in place.
    replaceNonFiniteSamples(buffer, numInputs, numSamples);

    const float* inputLeft = numInputs >= 1 ? buffer.getReadPointer(0) : nullptr;
    const float* inputRight = numInputs >= 2 ? buffer.getReadPointer(1) : nullptr;
    float* outputLeft = buffer.getWritePointer(0);
    float* outputRight = numOutputs >= 2 ? buffer.getWritePointer(1) : nullptr;

    // The patch runs under the host's bypass too: the tempo, bypass and automation sent to it meanwhile
    // are taken block by block instead of piling up in the runtime's queues (which would then grow on
    // this thread), and the bypass ends into a running chain.
    bridge.process(inputLeft, inputRight, outputLeft, outputRight, numSamples,
                   [this, passPatchOutput](const float* const* inputs, float* const* outputs, int frames) {
                       // Per engine block, so that the engine's schedule holds at most one change per
                       // parameter whatever the host's block sizes.
                       forwardParameterChanges();
                       prtObject.process(inputs, 2, outputs, 2, static_cast<PRT::Index>(frames));
                       hostBypassDelay.process(inputs, outputs, frames, !passPatchOutput);
                   });

    replaceNonFiniteSamples(buffer, numOutputs, numSamples);
    publishEditorValues(buffer, numSamples);
}

void QuillmoreAudioProcessor::forwardParameterChanges()
{
    const bool hostTempoSent = forwardHostTempo();
    pendingChanges.take([this, hostTempoSent](int index, float value) {
        if (index == hostTempoIndex)
        {
            // The host's own tempo wins over the parameter whenever the host reports one.
            if (hostTempoSent)
                return;
            lastHostBpm = 0.0;
        }
        // A host set of the value already in force (JUCE reports a parameter's first set even when it
        // leaves the value as it was) changes nothing.
        const auto patcherIndex = static_cast<PRT::ParameterIndex>(index);
        if (audioThreadSender->constrainParameterValue(patcherIndex, value) == lastSentToPatch[static_cast<size_t>(index)])
            return;
        sendToPatch(index, value);
    });
    forwardTrueBypass();
}

bool QuillmoreAudioProcessor::forwardHostTempo()
{
    if (hostTempoIndex == -1)
        return false;
    auto* playHead = getPlayHead();
    if (playHead == nullptr)
        return false;
    const auto position = playHead->getPosition();
    if (!position)
        return false;
    const auto bpm = position->getBpm();
    if (!bpm || !(*bpm > 0.0) || !std::isfinite(*bpm))
        return false;

    if (*bpm != lastHostBpm)
    {
        lastHostBpm = *bpm;
        sendToPatch(hostTempoIndex, static_cast<float>(*bpm));
    }
    return true;
}

void QuillmoreAudioProcessor::forwardTrueBypass()
{
    if (trueBypassValue == nullptr || trueBypassIndex == -1)
        return;
    const float value = trueBypassValue->load();
    if (value == lastTrueBypass || !std::isfinite(value))
        return;
    sendToPatch(trueBypassIndex, value);
    lastTrueBypass = value;
}

void QuillmoreAudioProcessor::sendToPatch(int patcherIndex, float value)
{
    const auto index = static_cast<PRT::ParameterIndex>(patcherIndex);
    const float constrained = audioThreadSender->constrainParameterValue(index, value);
    audioThreadSender->setParameterValue(index, constrained, 0);
    if (static_cast<size_t>(patcherIndex) < lastSentToPatch.size())
        lastSentToPatch[static_cast<size_t>(patcherIndex)] = constrained;
}

void QuillmoreAudioProcessor::publishEditorValues(const juce::AudioBuffer<float>& buffer, int numSamples)
{
    if (headsOnValue != nullptr && headsOnValue->load() > 0.5f)
    {
        if (warbleLIndex != -1)
            warbleL.exchange(prtObject.getParameterValue(static_cast<PRT::ParameterIndex>(warbleLIndex)));
        if (warbleRIndex != -1)
            warbleR.exchange(prtObject.getParameterValue(static_cast<PRT::ParameterIndex>(warbleRIndex)));
    }
    else
    {
        warbleL.exchange(0.5f);
        warbleR.exchange(0.5f);
    }

    if (echoFiltMeterIndex != -1)
        echoFilterFrequency.exchange(prtObject.getParameterValue(static_cast<PRT::ParameterIndex>(echoFiltMeterIndex)));

    const int numChannels = buffer.getNumChannels();
    const float peakL = numChannels >= 1 ? buffer.getMagnitude(0, 0, numSamples) : 0.0f;
    const float peakR = numChannels >= 2 ? buffer.getMagnitude(1, 0, numSamples) : 0.0f;
    outputLevelL.exchange(Quillmore::followMeter(outputLevelL.load(), Quillmore::levelToMeterValue(peakL)));
    outputLevelR.exchange(Quillmore::followMeter(outputLevelR.load(), Quillmore::levelToMeterValue(peakR)));
    clipL.exchange(peakL >= Quillmore::clipLevel);
    clipR.exchange(peakR >= Quillmore::clipLevel);
}

void QuillmoreAudioProcessor::parameterChanged(const juce::String& parameterID, float newValue)
{
    pendingChanges.post(getPatcherParameterIndex(parameterID), newValue);

    if (stateRestoresRunning > 0 || presetLoadsRunning > 0 || !Quillmore::marksPresetDirty(parameterID))
        return;
    presetDirty.exchange(true);
}

double QuillmoreAudioProcessor::getTailLengthSeconds() const
{
    return tailSeconds;
}

const juce::String QuillmoreAudioProcessor::getProgramName(int)
{
    const auto name = getCurrentPresetName();
    return name.isNotEmpty() ? name : juce::String(initialPresetName);
}

juce::AudioProcessorEditor* QuillmoreAudioProcessor::createEditor()
{
    return new QuillmoreAudioProcessorEditor(*this);
}

void QuillmoreAudioProcessor::writeSpectrumFrame(const float* values)
{
    const int half = spectrumWriteIndex.load();
    for (int i = 0; i < spectrumFrameSize; ++i)
        spectrumFrames[static_cast<size_t>(half)][static_cast<size_t>(i)].store(values[i], std::memory_order_relaxed);
    spectrumWriteIndex.store(1 - half);
    // Last, so that a reader who sees the flag finds the frame and the index that go with it.
    spectrumReady.store(true);
}

bool QuillmoreAudioProcessor::readSpectrumFrame(float* destination, int size)
{
    if (size != spectrumFrameSize || !spectrumReady.exchange(false))
        return false;
    const auto& half = spectrumFrames[static_cast<size_t>(1 - spectrumWriteIndex.load())];
    for (int i = 0; i < spectrumFrameSize; ++i)
        destination[i] = half[static_cast<size_t>(i)].load(std::memory_order_relaxed);
    return true;
}

void QuillmoreAudioProcessor::clearSpectrumFrames()
{
    for (auto& half : spectrumFrames)
        for (auto& value : half)
            value.store(0.0f, std::memory_order_relaxed);
    spectrumWriteIndex = 0;
    spectrumReady = false;
}
