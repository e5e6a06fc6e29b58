#pragma once

#include "plugin/EngineBlockBridge.h"
#include "plugin/EngineBlockDelay.h"
#include "plugin/LockedValue.h"
#include "plugin/PendingParameterChanges.h"
#include "plugin/PresetFields.h"
#include "plugin/PresetManager.h"
#include "runtime/CoreObject.h"
#include "runtime/ParameterEventInterface.h"
#include "runtime/PatcherFactory.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>
#include <memory>
#include <vector>
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
    // The name after the current user preset was deleted, or restored from a state without one.
    static constexpr const char* unnamedPresetName = "Init";
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

    // The state a host keeps: the parameters, the current preset's name and modified mark, the
    // editor's page and the preset browser's view, appended to destData. Any thread.
    void getStateInformation(juce::MemoryBlock& destData) override;
    // Restores only a complete "Parameters" state; any other bytes change nothing. Parameters the
    // state does not name keep their values, and the restore itself marks nothing modified.
    void setStateInformation(const void* data, int sizeInBytes) override;

    void parameterChanged(const juce::String& parameterID, float newValue) override;

    // The patcher parameter index a host parameter is forwarded to; -1 when it is not forwarded.
    int getPatcherParameterIndex(const juce::String& parameterId) const;
    int getNumForwardedParameters() const { return static_cast<int>(paramIndexById.size()); }
    int getEngineBlockSize() const { return bridge.getEngineBlockSize(); }

    // Preset operations, called on the message thread by the editor's preset header, browser and
    // dialogs. Every load goes through the preset parameters alone: the bypass, the tape stop and the
    // values the patch reports back stay as they are, and nothing a load changes marks the preset
    // modified. Each load turns the editor to the page of the one section switched on, if only one is.

    // Puts the embedded factory document into the parameter state; false when there is no such
    // document or it does not read as a preset (the parameters then stay as they are).
    bool loadFactoryPresetState(const juce::String& resourceName);
    // The factory preset becomes the current one under displayName, also when its document is missing.
    void loadFactoryPreset(const juce::String& resourceName, const juce::String& displayName);

    // The user operations report whether they worked. One that fails leaves the current name and the
    // modified mark as they were (the store leaves its list and files as they were).
    // A user load, even of an index outside the list, makes previous/next step through the user list.
    bool loadUserPreset(int index);
    // The first user preset whose name equals the trimmed name ignoring case, or -1.
    int indexOfUserPreset(const juce::String& name) const;
    // A new user preset from the current parameters becomes the current one; where the current preset
    // came from (factory or user) is left, so previous/next go on from there.
    bool saveUserPreset(const juce::String& name);
    // Stores the current parameters into the user preset and loads it again.
    bool overwriteUserPreset(int index);
    // The header follows when the renamed or deleted preset is the one it shows ("Init" after a delete).
    bool renameUserPreset(int index, const juce::String& newName);
    bool deleteUserPreset(int index);

    void setCurrentPresetName(const juce::String& name);
    juce::String getCurrentPresetName() const;
    // The name for the header: "Clean Default" for an empty name, and "*" after it while modified.
    juce::String getCurrentPresetDisplayName() const;
    // The Heads page when only the Heads are on, the Space page when only Space is; else no change.
    void updateActivePanelFromSections();

    // The echo spectrum's newest complete frame, once: false when none arrived since the last read or
    // size is not one frame (a waiting frame then keeps waiting). For the editor's timer.
    bool readSpectrumFrame(float* destination, int size);

    juce::AudioProcessorValueTreeState apvts;
    PresetManager presetManager;

    // The current preset and the preset browser's view. The editor and the preset operations change
    // them on the message thread, the host reads them with the state on a thread of its choosing.
    Quillmore::LockedValue<Quillmore::PresetFields> presetFields;
    std::atomic<bool> presetDirty{false};
    // How many state restores and preset loads replace the parameter state at this moment (they may
    // overlap on several threads), so that the changes the framework makes meanwhile do not count as
    // edits; read by parameterChanged on any thread.
    std::atomic<int> stateRestoresRunning{0};
    std::atomic<int> presetLoadsRunning{0};

    // Written by the audio thread, read by the editor's timer.
    std::atomic<float> warbleL{0.5f};
    std::atomic<float> warbleR{0.5f};
    std::atomic<float> echoFilterFrequency{0.0f};
    std::atomic<float> outputLevelL{0.0f};
    std::atomic<float> outputLevelR{0.0f};
    std::atomic<bool> clipL{false};
    std::atomic<bool> clipR{false};

    // The echo spectrum: a complete frame waits in half 1 - spectrumWriteIndex while spectrumReady.
    // Written by the handler on the audio thread (cleared by prepareToPlay); the values are atomics, so that a reader that is overtaken by
    // two new frames while it copies gets a mixed frame, never undefined behaviour.
    std::array<std::array<std::atomic<float>, spectrumFrameSize>, 2> spectrumFrames{};
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
    // One host block through the bridge, running the patch and passing on its output or (host bypass)
    // the input.
    void process(juce::AudioBuffer<float>& buffer, bool passPatchOutput);
    // On the audio thread, ahead of each engine block: the latest value of each host parameter changed since
    // the last block, then the host's tempo and the bypass.
    void forwardParameterChanges();
    // The host's tempo whenever the host reports one; true when it does.
    bool forwardHostTempo();
    void forwardTrueBypass();
    void sendToPatch(int patcherIndex, float value);
    void publishEditorValues(const juce::AudioBuffer<float>& buffer, int numSamples);
    // A complete echo-spectrum frame from the handler, on the audio thread.
    void writeSpectrumFrame(const float* values);
    void clearSpectrumFrames();

    EngineBlockBridge bridge;
    EngineBlockDelay hostBypassDelay;
    PRT::CoreObject prtObject;
    std::unordered_map<juce::String, int, StringHash> paramIndexById;
    std::unique_ptr<EchoSpecHandler> echoSpecHandler;
    // Declared after its handler, so it goes first.
    std::unique_ptr<PRT::ParameterEventInterface> parameterInterface;
    // What the host's threads changed, for the audio thread to send: queues between the threads would
    // grow with every change and hand the audio thread all of them in its next block.
    Quillmore::PendingParameterChanges pendingChanges;
    // What the audio thread last sent the patch per parameter (NaN before the first send): a host
    // value equal to it is not sent again, as setting TapeStop again would restart the tape.
    std::vector<float> lastSentToPatch;
    // The audio thread's way into the patch: straight into the engine's schedule, on the thread that
    // runs the engine, so that no send takes a queue's room (or makes some for a new thread).
    std::unique_ptr<PRT::ParameterEventInterface> audioThreadSender;
    int warbleLIndex = -1;
    int warbleRIndex = -1;
    int echoFiltMeterIndex = -1;
    int hostTempoIndex = -1;
    int trueBypassIndex = -1;
    std::atomic<float>* trueBypassValue = nullptr;
    std::atomic<float>* headsOnValue = nullptr;
    float lastTrueBypass = -1.0f;
    // The host's tempo last sent; 0 once the host parameter's value was sent instead.
    double lastHostBpm = 0.0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(QuillmoreAudioProcessor)
};
