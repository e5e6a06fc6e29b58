#pragma once

#include "plugin/EngineBlockBridge.h"
#include "plugin/PresetManager.h"
#include "runtime/CoreObject.h"
#include "runtime/ParameterEventInterface.h"
#include "runtime/PatcherFactory.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>
#include <memory>
#include <unordered_map>

// The plug-in's audio processor: the 48 host parameters, the user preset store, and the runtime's core
// object running the generated patch behind a bridge from host blocks to fixed engine blocks. Host
// parameter changes are forwarded to the patch; meter, warble and echo-filter values come back for
// the editor.
//
// Threads: processBlock runs on the host's audio thread; parameterChanged on whichever thread moves a
// parameter; the editor on the message thread. Values for the editor are single atomics (and the
// spectrum double buffer with its ready flag); the parameter state has its own lock.
class QuillmoreAudioProcessor : public juce::AudioProcessor, public juce::AudioProcessorValueTreeState::Listener
{
public:
    class EchoSpecHandler;

    static constexpr const char* initialPresetName = "Clean Default";
    static constexpr int spectrumFrameSize = 256;

    // The plug-in runs the generated patch; tests hand in patchers of their own.
    explicit QuillmoreAudioProcessor(PRT::PatcherFactoryFunction patcherFactory = &PRT::createPatcher);
    ~QuillmoreAudioProcessor() override;

    void prepareToPlay(double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override;
    bool isBusesLayoutSupported(const BusesLayout& layouts) const override;
    void processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    // The host's own bypass: the input, delayed like the processed signal so that switching keeps time.
    void processBlockBypassed(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override { return true; }

    const juce::String getName() const override { return "Quillmore"; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    bool isMidiEffect() const override { return false; }
    double getTailLengthSeconds() const override;

    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram(int) override {}
    // The current preset's name: hosts and validators refuse an empty program name.
    const juce::String getProgramName(int index) override;
    void changeProgramName(int, const juce::String&) override {}

    void getStateInformation(juce::MemoryBlock& destData) override;
    void setStateInformation(const void* data, int sizeInBytes) override;

    void parameterChanged(const juce::String& parameterID, float newValue) override;

    // The patcher parameter index a host parameter is forwarded to; -1 when it is not forwarded.
    int getPatcherParameterIndex(const juce::String& parameterId) const;
    int getNumForwardedParameters() const { return static_cast<int>(paramIndexById.size()); }
    int getEngineBlockSize() const { return bridge.getEngineBlockSize(); }

    juce::AudioProcessorValueTreeState apvts;
    PresetManager presetManager;

    // The current preset and the preset browser's view, read and written on the message thread.
    juce::String currentPresetName{initialPresetName};
    std::atomic<bool> presetDirty{false};
    // Set by the thread that replaces the parameter state while it does, so that the changes the
    // framework makes meanwhile do not count as edits; read by parameterChanged on any thread.
    std::atomic<bool> isLoadingState{false};
    std::atomic<bool> suppressPresetDirty{false};
    int currentPresetIsFactory = 0;
    juce::String currentFactoryResource;
    bool factoryOpenHeads = false;
    bool factoryOpenSpaces = false;
    bool factoryOpenQuillmores = false;
    bool factoryOpenMiscFX = false;
    bool popupHasState = false;
    int popupLastTab = 0;
    int popupFactoryScrollY = 0;
    int popupUserScrollY = 0;
    juce::String popupSelFactoryRes;
    int popupSelUserIndex = -1;

    // Written by the audio thread, read by the editor's timer.
    std::atomic<float> warbleL{0.5f};
    std::atomic<float> warbleR{0.5f};
    std::atomic<float> echoFilterFrequency{0.0f};
    std::atomic<float> outputLevelL{0.0f};
    std::atomic<float> outputLevelR{0.0f};
    std::atomic<bool> clipL{false};
    std::atomic<bool> clipR{false};

    // The echo spectrum: a complete frame waits in half 1 - spectrumWriteIndex while spectrumReady.
    std::array<std::array<float, spectrumFrameSize>, 2> spectrumFrames{};
    std::atomic<int> spectrumWriteIndex{0};
    std::atomic<bool> spectrumReady{false};

    // The editor's page: 0 "SIDE A" (Heads), 1 "SIDE B" (Space).
    std::atomic<int> activePanel{0};

private:
    struct StringHash
    {
        size_t operator()(const juce::String& text) const noexcept { return static_cast<size_t>(text.hash()); }
    };

    void connectHostParametersToPatcher();
    // One host block through the bridge, running the patch or (host bypass) passing the input on.
    void process(juce::AudioBuffer<float>& buffer, bool runPatch);
    void forwardHostTempo();
    void forwardTrueBypass();
    void publishEditorValues(const juce::AudioBuffer<float>& buffer, int numSamples);

    EngineBlockBridge bridge;
    PRT::CoreObject prtObject;
    std::unordered_map<juce::String, int, StringHash> paramIndexById;
    std::unique_ptr<EchoSpecHandler> echoSpecHandler;
    // Declared after its handler, so it goes first.
    std::unique_ptr<PRT::ParameterEventInterface> parameterInterface;
    int warbleLIndex = -1;
    int warbleRIndex = -1;
    int echoFiltMeterIndex = -1;
    int hostTempoIndex = -1;
    int trueBypassIndex = -1;
    std::atomic<float>* trueBypassValue = nullptr;
    std::atomic<float>* headsOnValue = nullptr;
    float lastTrueBypass = -1.0f;
    double lastHostBpm = 0.0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(QuillmoreAudioProcessor)
};
