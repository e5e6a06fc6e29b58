#pragma once

#include "patch/core/Button.h"
#include "patch/core/ClockIds.h"
#include "patch/core/GeneratedPatcher.h"
#include "patch/core/NumberBox.h"
#include "patch/core/QuillmoreChannelSignals.h"
#include "patch/core/QuillmoreParameters.h"
#include "patch/core/SignalMonitor.h"
#include "patch/core/SmoothedSignal.h"
#include "patch/core/SpringModelA.h"
#include "patch/core/SteppedSignal.h"
#include "patch/core/Toggle.h"
#include "runtime/DataRef.h"
#include "runtime/List.h"

#include <array>
#include <functional>

namespace PRT
{

class NoiseDucker;

// The top level's 18 modules, in member order: the order of creation, parameter offsets, set-up,
// every forwarding loop, state keys and destruction.
enum class QuillmoreModule : int
{
    OutputAmp,
    NoiseGen,
    NoiseDuckerLeft, // "NoiseDucker[1]"
    NoiseGate,
    SpringUtilities,
    NoiseDuckerRight, // "NoiseDucker"
    SpringsHighPass,
    DryWetSprings,
    DryWetDelay,
    TapeDelay, // "TapeDelayOG"
    SpringsB,
    Dropouts,
    InputFilter,
    DelToSprings,
    TapeStopper,
    Warbler,
    EchoAnalyser, // "Echo"
    FixStartupBurp,
    Count
};

// The generated top-level patcher. Its module classes are nested in it (so that they may reach the
// top level's members) and declared here, in member order; each is defined in a file of its own,
// named after the module's display name, as `class Quillmore::PRTSubpatcher_NN : public
// GeneratedPatcher`, and a module's own modules are declared inside its class the same way
// (`Quillmore::PRTSubpatcher_40::PRTSubpatcher_29`, "NoiseGen/Biquad").
//
// The top level's parts live in files by concept: the parameter table (QuillmoreParameters), the
// setters and their routing into the modules (QuillmoreRouting), construction and initialisation
// (QuillmoreConstruction), state, messages and tags (QuillmoreState), musical time
// (QuillmoreTransport), the prepare (QuillmorePrepare) and the block (QuillmoreProcess).
class Quillmore : public GeneratedPatcher
{
public:
    class PRTSubpatcher_39; // "OutputAmp"        patch/core/OutputAmp
    class PRTSubpatcher_40; // "NoiseGen"         patch/heads/NoiseGen
    class PRTSubpatcher_41; // "NoiseDucker[1]"   patch/heads/NoiseDuckerLeft
    class PRTSubpatcher_42; // "NoiseGate"        patch/heads/NoiseGate
    class PRTSubpatcher_43; // "SpringUtilities"  patch/space/SpringUtilities
    class PRTSubpatcher_44; // "NoiseDucker"      patch/heads/NoiseDuckerRight
    class PRTSubpatcher_45; // "SpringsHighPass"  patch/space/SpringsHighPass
    class PRTSubpatcher_46; // "DryWetSprings"    patch/space/DryWetSprings
    class PRTSubpatcher_47; // "DryWetDelay"      patch/space/DryWetDelay
    class PRTSubpatcher_48; // "TapeDelayOG"      patch/space/TapeDelay
    class PRTSubpatcher_49; // "SpringsB"         patch/space/SpringsB
    class PRTSubpatcher_50; // "Dropouts"         patch/heads/Dropouts
    class PRTSubpatcher_51; // "InputFilter"      patch/heads/InputFilter
    class PRTSubpatcher_52; // "DelToSprings"     patch/space/DelToSprings
    class PRTSubpatcher_53; // "TapeStopper"      patch/heads/TapeStopper
    class PRTSubpatcher_54; // "Warbler"          patch/heads/Warbler
    class PRTSubpatcher_55; // "Echo"             patch/space/EchoAnalyser
    class PRTSubpatcher_56; // "FixStartupBurp"   patch/core/FixStartupBurp

    static constexpr DataRefIndex numDataRefs = 19;
    static constexpr DataRefIndex cosineTableIndex = 14; // "PRTDefaultSinus"

    // Makes the module of a slot in place of the module's own class (a test's recording subclass);
    // a null result, or an object of another class, gives the module's own class.
    using ModuleFactory = std::function<GeneratedPatcher*(QuillmoreModule)>;

    Quillmore();
    explicit Quillmore(ModuleFactory moduleFactory);
    ~Quillmore() override;

    // The values the block reads, written by the setters (and by "valin" on the top level's objects).
    struct BlockTargets
    {
        float bypassTarget = 0.0f;
        float inputGainLeft = 0.0f;
        float inputGainRight = 0.0f;
        float insertGain = 0.0f;
        float echoSendGain = 0.0f;
        float springSendGain = 0.0f;
        float orderTarget = 0.0f;
        float headsOnTarget = 0.0f;
        float spaceOnTarget = 0.0f;
    };
    const BlockTargets& getBlockTargets() const { return targets; }

    // Parameters (QuillmoreParameters.cpp): the 48 of the table first, the modules' (none) after them.
    const char* getParameterName(ParameterIndex index) override;
    const char* getParameterId(ParameterIndex index) override;
    void getParameterInfo(ParameterIndex index, ParameterInfo* info) override;
    ParameterValue getParameterValue(ParameterIndex index) override;
    ParameterValue convertToNormalizedParameterValue(ParameterIndex index, ParameterValue value) override;
    ParameterValue convertFromNormalizedParameterValue(ParameterIndex index, ParameterValue normalizedValue) override;
    ParameterValue constrainParameterValue(ParameterIndex index, ParameterValue value) override;
    // 48 plus the parameters of the modules before child; 0 for anything that is not a module.
    ParameterIndex getParameterOffset(const GeneratedPatcher* child);

    // Setters (QuillmoreRouting.cpp).
    void setParameterValue(ParameterIndex index, ParameterValue value, MillisecondTime time) override;
    // Constrain, store, tell the engine, mark the preset touched when the value changed, then drive
    // the module inputs and objects of the parameter, also when the value did not change. Modules
    // reporting a value (EchoFiltMeter, WarbleR, WarbleL) call it after bringing the top level's
    // time up to theirs.
    void applyParameterValue(ParameterIndex index, ParameterValue value);
    void sendParameter(ParameterIndex index, bool ignoreValue) override;

    // Construction and initialisation (QuillmoreConstruction.cpp).
    void initialize() override;
    void allocateDataRefs() override;
    DataRefIndex getNumDataRefs() override { return numDataRefs; }
    DataRef* getDataRef(DataRefIndex index) override;
    void processDataViewUpdate(DataRefIndex index, MillisecondTime time) override;

    // State, messages and tags (QuillmoreState.cpp).
    void getPreset(PatcherStateInterface& state) override;
    void setPreset(MillisecondTime time, PatcherStateInterface& state) override;
    Index getNumMessages() override { return 1; }
    MessageInfo getMessageInfo(Index index) override;

    // Musical time (QuillmoreTransport.cpp): kept here, then handed to every module.
    void processTempoEvent(MillisecondTime time, float tempo) override;
    void processTransportEvent(MillisecondTime time, int32_t state) override;
    void processBeatTimeEvent(MillisecondTime time, float beatTime) override;
    void processTimeSignatureEvent(MillisecondTime time, int32_t numerator, int32_t denominator) override;
    void processBBUEvent(MillisecondTime time, float bars, float beats, float units) override;
    // Quarter notes at time t; the signature in force at t.
    float beatTimeAtTime(MillisecondTime t);
    void timeSignatureAtTime(MillisecondTime t, int32_t& numerator, int32_t& denominator);
    float getBarBeatOffset() const { return barBeatOffset; }
    float getLastTempo() const { return tempo.lastValue(); }
    const list& getBeatAnchors() const { return beatAnchors; }
    const list& getSignatureChanges() const { return signatureChanges; }

    // The modules, in member order (created by initialize).
    PRTSubpatcher_39* outputAmp = nullptr;
    PRTSubpatcher_40* noiseGen = nullptr;
    PRTSubpatcher_41* noiseDuckerLeft = nullptr;
    PRTSubpatcher_42* noiseGate = nullptr;
    PRTSubpatcher_43* springUtilities = nullptr;
    PRTSubpatcher_44* noiseDuckerRight = nullptr;
    PRTSubpatcher_45* springsHighPass = nullptr;
    PRTSubpatcher_46* dryWetSprings = nullptr;
    PRTSubpatcher_47* dryWetDelay = nullptr;
    PRTSubpatcher_48* tapeDelay = nullptr;
    PRTSubpatcher_49* springsB = nullptr;
    PRTSubpatcher_50* dropouts = nullptr;
    PRTSubpatcher_51* inputFilter = nullptr;
    PRTSubpatcher_52* delToSprings = nullptr;
    PRTSubpatcher_53* tapeStopper = nullptr;
    PRTSubpatcher_54* warbler = nullptr;
    PRTSubpatcher_55* echo = nullptr;
    PRTSubpatcher_56* fixStartupBurp = nullptr;

    // Spring model A; SpringUtilities and FixStartupBurp write its controls.
    SpringModelA gen01;

    // The top level's own objects, driven by the setters and by "valin", "format", "mode", "sig" and
    // "bangin" messages.
    Toggle toggle_obj_173{*this, HashedText("toggle_obj-173")}; // TrueBypass
    Toggle toggle_obj_75{*this, HashedText("toggle_obj-75")};   // Order
    Toggle toggle_obj_149{*this, HashedText("toggle_obj-149")}; // HeadsOn
    Toggle toggle_obj_158{*this, HashedText("toggle_obj-158")}; // SpaceOn
    Toggle toggle_obj_53{*this, HashedText("toggle_obj-53")};   // SendRetMode
    NumberBox number_obj_73{*this, HashedText("number_obj-73")};   // EchoSend
    NumberBox number_obj_22{*this, HashedText("number_obj-22")};   // SpringSend
    NumberBox number_obj_51{*this, HashedText("number_obj-51")};   // EchoToSpring
    NumberBox number_obj_210{*this, HashedText("number_obj-210")}; // shows the echo-to-springs gain
    NumberBox number_obj_57{*this, HashedText("number_obj-57")};   // shows EchoSyncDiv
    NumberBox number_obj_26{*this, HashedText("number_obj-26")};   // shows the insert gain
    Button button_obj_167{*this, HashedText("button_obj-167")};    // recomputes the mode products
    Button button_obj_208{*this, HashedText("button_obj-208")};    // recomputes the echo-to-springs gain
    SignalMonitor numberTilde_obj_170{*this, HashedText("number~_obj-170"), clocks::monitorA}; // echo send weight
    SignalMonitor numberTilde_obj_24{*this, HashedText("number~_obj-24"), clocks::monitorB};   // spring send weight

    // The block's per-sample weights (QuillmoreProcess.cpp), each gliding towards its target.
    SmoothedSignal bypassWeight{*this, 0.001f};
    SmoothedSignal insertWeight{*this, 0.01f};
    SmoothedSignal echoSendWeight{*this, 0.01f};
    SmoothedSignal springSendWeight{*this, 0.01f};
    SmoothedSignal orderWeight{*this, 0.02f};
    SmoothedSignal headsWeight{*this, 0.02f};
    SmoothedSignal spaceWeight{*this, 0.02f};

    // The block's signals per channel; the key, left plus right before the hiss, is kept for the
    // next block's gate and duckers.
    QuillmoreChannelSignals left{*this};
    QuillmoreChannelSignals right{*this};
    SignalBuffer keyFeedback{*this};

protected:
    void createChildren() override;
    ParameterIndex getNumOwnParameters() override { return numQuillmoreParameters; }
    // Prepare (QuillmorePrepare.cpp): the rate-dependent set-up of spring model A's memories and of
    // the musical-time signals, on the first prepare and on every change of rate or block size.
    void prepareSignalObjects(bool changed) override;
    // Block (QuillmoreProcess.cpp).
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;

private:
    template <typename Module>
    Module* createModule(QuillmoreModule slot);
    void connectObjects();
    void assignDefaults();
    void setUpOwnObjects();
    void scheduleLoadClocks() override;
    void scheduleInitialParameterBangs();
    void routeParameter(ParameterIndex index, ParameterValue value);
    std::array<NoiseDucker*, 2> duckersRightFirst();

    // Musical time (QuillmoreTransport.cpp).
    uint32_t sampleIndexAtTime(MillisecondTime t);
    // Sets the bar/beat offset so that the host position (bars and beats from 1, 480 units per
    // quarter note) lines up with the beat time at t.
    void bbuAtTime(MillisecondTime t, int32_t numerator, int32_t denominator, float bars, float beats, float units);
    // The tempo and transport signals filled with the values in force; from the prepare.
    void prepareMusicalTime();
    // A block's end: the signals take the values set during it, the anchor and signature lists
    // keep only their last entry.
    void endBlockMusicalTime(Index n);

    // The stages of a block (QuillmoreProcess.cpp), in the order they run.
    QuillmoreChannelSignals& channel(int c); // 0 left, 1 right
    using StereoPointers = std::array<SampleValue*, 2>;
    StereoPointers stereo(SignalBuffer QuillmoreChannelSignals::*signal);
    void takeInput(const SampleValue* const* inputs, const SampleValue* bypass, Index n);
    void renderWeights(Index n);
    void runHissChain(Index n);
    void runHeadsChain(Index n);
    void feedSpaceSection(Index n);
    void runSpaceSection(Index n);
    void mixSectionsAndHiss(Index n);
    void writeOutputs(SampleValue* const* outputs, const SampleValue* bypass, Index n);

    // The modules' recompute buttons.
    void recomputeModeProducts();
    void recomputeEchoToSpringGain();

    ModuleFactory moduleFactory;

    std::array<ParameterValue, numQuillmoreParameters> values{};
    std::array<ParameterValue, numQuillmoreParameters> lastNotified{};
    BlockTargets targets;

    // The operands each multiplication keeps, so that either side recomputes with the other's last.
    float sendMode = 0.0f;           // m of toggle_obj-53
    float echoSendOperand = 0.0f;    // EchoSend × 0.01
    float springSendOperand = 0.0f;  // SpringSend × 0.01
    float echoToSpringOperand = 0.0f; // EchoToSpring
    float echoToSpringProduct = 0.0f; // EchoToSpring × m
    float echoMixOperand = 0.0f;     // EchoMix × 0.01

    std::array<DataRef, numDataRefs> dataRefs;
    indexlist parameterOrderIndexes;
    indexlist parameterOrderKeys;

    // Musical time.
    list beatAnchors;      // pairs: beat time, time in ms
    list signatureChanges; // triples: numerator, denominator, time in ms
    float barBeatOffset = 0.0f;
    SteppedSignal tempo{*this, 120.0f};
    SteppedSignal transport{*this, 0.0f}; // the host transport state, 0 when stopped

    // Block signals shared by both channels.
    SignalBuffer startupRamp{*this};
    SignalBuffer stopperControl{*this}; // the tape stopper's hiss level
    SignalBuffer echoMono{*this};       // the echo mixer's mono wet echo, for the analyser

    bool signalObjectsSetUp = false; // by the first prepare
};

} // namespace PRT
