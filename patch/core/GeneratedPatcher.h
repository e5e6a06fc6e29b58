#pragma once

#include "patch/core/MemberRegistry.h"
#include "patch/core/SignalBuffer.h"
#include "runtime/PatcherInterfaceImpl.h"

#include <vector>

namespace PRT
{

class DataViewSlot;
class PatchObject;

// The fixed facts of a generated class: its object name (the key of its sub-state and the first
// component of its object paths) and its signal ports.
struct PatcherShape
{
    const char* name;
    Index inputs;
    Index outputs;
    Index extraInputs = 0;
    Index extraOutputs = 0;
};

// The shape every class of the generated patch shares: the top-level patcher and each of its module
// classes derive from it, and hold only what is their own.
//
// How a module class uses it:
// - Construct the base with the class's PatcherShape, e.g. GeneratedPatcher({"OutputAmp", 2, 2}).
// - Declare members for the class's objects, in the class's fixed object order (their paths best as
//   constexpr HashedText, so the IDs fold at compile time): interface objects
//   (NumberBox, Toggle, Slider, Button, MessageBox, LoadBang, LoadMessage, SignalMonitor, SignalScope),
//   SignalBuffers for its block signals, OwnedDataRefs (numbered from 19) and TopLevelDataViews. Each
//   registers itself, and the base then does for all of them what every class does: message dispatch
//   by object ID ("valin", "mode", "listin" ...; then on to the children), clock dispatch by clock ID,
//   tag resolution (the tags of the object kinds, the object paths, then the children), buffer growth
//   and the objects' rate set-up in prepareToProcess, data-ref numbering, allocation and view rebuilds.
//   What an object drives is the class's code, set as the object's callback (onValue, onBang ...).
// - Override processBlock for the block: it gets every input and output port, with missing ones
//   replaced by the zero and dummy buffers, after the time update; the processed-sample count grows
//   by itself afterwards.
// - Override what is the class's own, as needed: createChildren (with createChild<T>() in member
//   order), setupObjects, prepareSignalObjects (the rate set-up of its signal objects), onClock (its
//   own clock IDs), resolveOwnTag (tags it uses beyond its objects'), the musical-time events.
//   A class that passes musical-time events on to its children sets forwardsMusicalTime.
// - Before writing into another class, bring that class's time up to this one's: a child's
//   updateTime(getTime()), or the parent's through getPatcher().
// Everything else has the family's default: parameters forwarded to the children by index ("bogus"
// and 0 beyond them), getPreset into "__sps"/<child name>, no messages, no state, and so on. The top
// level constructs the base with first data-ref index 0 and overrides what is its own (its
// parameters through getNumOwnParameters and the parameter operations, state, messages, transport).
//
// All operations run on the engine's thread, one at a time; nothing here locks, and nothing in
// process or message handling allocates once the class has been prepared.
class GeneratedPatcher : public PatcherInterfaceImpl
{
public:
    // Modules number their own data references from here, after the top level's.
    static constexpr DataRefIndex firstModuleDataRefIndex = 19;
    // The most signal ports (audio plus extra) a class may have.
    static constexpr Index maxSignalPorts = 8;

    // The top level numbers its own data references from 0, modules from 19.
    explicit GeneratedPatcher(const PatcherShape& shape, DataRefIndex firstOwnDataRefIndex = firstModuleDataRefIndex);
    ~GeneratedPatcher() override;

    GeneratedPatcher(const GeneratedPatcher&) = delete;
    GeneratedPatcher& operator=(const GeneratedPatcher&) = delete;

    const char* getObjectName() const { return shape.name; }

    // Takes time as the class's current time and derives the sample offset inside the current block:
    // the distance from the engine's time in samples, halves rounded away from zero, clamped to
    // [0, block size − 1]. Every event handler runs it first; a parent runs a child's before writing
    // into the child, a child its parent's before writing into the parent.
    void updateTime(MillisecondTime time);

    MillisecondTime getTime() const { return currentTime; }
    int64_t getSampleOffset() const { return sampleOffset; }
    Index getVectorSize() const { return currentBlockSize; }
    float getInvSampleRate() const { return invSampleRate; }
    int64_t getProcessedSamples() const { return processedSamples; }
    int32_t getParameterOffset() const { return parameterOffset; }
    void setParameterOffset(int32_t offset) { parameterOffset = offset; }

    // The parent patcher, null for the top level; the top level of the tree this class belongs to.
    GeneratedPatcher* getPatcher() const;
    GeneratedPatcher& getTopLevel();
    const std::vector<GeneratedPatcher*>& getChildren() const { return children; }

    // A clock event for this class itself, at its current time plus delay.
    void scheduleOwnClock(ClockId clockId, MillisecondTime delay);
    void scheduleOwnClockWithValue(ClockId clockId, MillisecondTime delay, ParameterValue value);

    // The routines the top level runs on its modules at start-up, once all classes exist.
    // Object set-up: formats, modes and initial contents, announced ("setup", "listout").
    virtual void setupObjects() {}
    // Storage for the data refs at their requested sizes (fresh storage cleared, the engine told of
    // each one that changed), views of the top level's refs bound; then the children.
    virtual void allocateDataRefs();
    // The load-time clocks: the children's first, then the class's own load-time objects in object
    // order, at the class's time brought up to the engine's.
    virtual void scheduleLoadClocks();

    // ParameterInterface: the children's parameters, numbered one after the other after the class's own.
    ParameterIndex getNumParameters() override;
    const char* getParameterName(ParameterIndex index) override;
    const char* getParameterId(ParameterIndex index) override;
    void getParameterInfo(ParameterIndex index, ParameterInfo* info) override;
    ParameterValue getParameterValue(ParameterIndex index) override;
    void setParameterValue(ParameterIndex index, ParameterValue value, MillisecondTime time) override;
    ParameterValue convertToNormalizedParameterValue(ParameterIndex index, ParameterValue value) override;
    ParameterValue convertFromNormalizedParameterValue(ParameterIndex index, ParameterValue normalizedValue) override;
    ParameterValue constrainParameterValue(ParameterIndex index, ParameterValue value) override;

    // BaseInterface and ProcessInterface.
    void initialize() override { createChildren(); }
    Index getNumMidiInputPorts() override { return 0; }
    Index getNumMidiOutputPorts() override { return 0; }
    Index getNumInputChannels() override { return shape.inputs; }
    Index getNumOutputChannels() override { return shape.outputs; }
    void prepareToProcess(float sampleRate, Index maxBlockSize, bool force) override;
    void process(const SampleValue* const* inputs, Index numInputs, SampleValue* const* outputs, Index numOutputs,
                 Index sampleFrames) override;

    // PatcherInterface.
    void getPreset(PatcherStateInterface& state) override;
    void setPreset(MillisecondTime, PatcherStateInterface&) override {}
    DataRefIndex getNumDataRefs() override;
    DataRef* getDataRef(DataRefIndex index) override;
    Index getNumExtraSignalInputs() override { return shape.extraInputs; }
    Index getNumExtraSignalOutputs() override { return shape.extraOutputs; }
    // Null when neither the class nor its children know the hash; "" at the top level.
    const char* resolveTag(MessageTag tag) override;
    Index getNumMessages() override { return 0; }
    Index getBlockSize() override { return maxBlockSize; }
    float getSampleRate() override { return sampleRate; }
    void sendParameter(ParameterIndex index, bool ignoreValue) override;

    // PatcherEventTarget.
    void processMidiEvent(MillisecondTime, int32_t, const uint8_t*, int32_t) override {}
    void processClockEvent(MillisecondTime time, ClockId clockId, bool hasValue, ParameterValue value) override;
    void processOutletEvent(EngineLink* sender, OutletIndex index, ParameterValue value, MillisecondTime time) override;
    void processOutletValueNow(EngineLink*, OutletIndex, ParameterValue) override {}
    void processDataViewUpdate(DataRefIndex index, MillisecondTime time) override;
    void processNumMessage(MessageTag tag, MessageTag objectId, MillisecondTime time, float value) override;
    void processListMessage(MessageTag tag, MessageTag objectId, MillisecondTime time, const list& payload) override;
    void processBangMessage(MessageTag tag, MessageTag objectId, MillisecondTime time) override;
    // Nothing by default; a class with forwardsMusicalTime set updates its time and passes them on.
    void processTempoEvent(MillisecondTime time, float tempo) override;
    void processTransportEvent(MillisecondTime time, int32_t state) override;
    void processBeatTimeEvent(MillisecondTime time, float beatTime) override;
    void processTimeSignatureEvent(MillisecondTime time, int32_t numerator, int32_t denominator) override;
    void processBBUEvent(MillisecondTime time, float bars, float beats, float units) override;

    // Members register themselves on construction (see MemberRegistry).
    void registerObject(PatchObject& object);
    void registerSignalBuffer(SignalBuffer& buffer);
    // Returns the index of the class's next own data reference.
    DataRefIndex registerOwnedDataRef(DataViewSlot& slot);
    void registerDataView(DataViewSlot& slot);

protected:
    // Creates the class's children in member order (createChild), from initialize.
    virtual void createChildren() {}
    // Creates a child: engine and parent links, its initialize, and its parameter offset (the class's
    // own parameters plus those of the children created before it).
    template <typename Child>
    Child* createChild();
    // The same for a child made elsewhere (a factory's); the class owns it from now on.
    template <typename Child>
    Child* adoptChild(Child* child);

    // One block: every port of the shape is valid, n samples, the class's time brought up to the engine's.
    virtual void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) = 0;
    // The rate-dependent set-up of the class's signal objects (interface objects do their own).
    virtual void prepareSignalObjects(bool /*changed*/) {}
    // The class's reaction to its own clock IDs, after the objects with that clock ID reacted.
    virtual void onClock(ClockId, bool /*hasValue*/, ParameterValue /*value*/) {}
    // The text of a tag that the class uses beyond those of its objects.
    virtual const char* resolveOwnTag(MessageTag) { return nullptr; }
    // The top level's own parameters come first in its numbering; modules have none.
    virtual ParameterIndex getNumOwnParameters() { return 0; }
    // Destroys the children in member order (the destructor does it too, for classes that need their
    // children gone before their own members).
    void destroyChildren();
    SampleValue* getZeroBuffer() const { return zeroBuffer.get(); }
    SampleValue* getDummyBuffer() const { return dummyBuffer.get(); }
    bool areSignalsAllocated() const { return signalsAllocated; }

    // "TapeDelayOG" and "Warbler": tempo, transport, beat-time, time-signature and bar/beat/unit
    // events update the time and go on to the children.
    bool forwardsMusicalTime = false;

private:
    struct ChildParameter
    {
        GeneratedPatcher* child = nullptr;
        ParameterIndex index = 0;
    };
    ChildParameter findChildParameter(ParameterIndex index);
    MillisecondTime engineTime();
    // A message of one kind: unless neither an object takes that kind nor a child exists, the time
    // is brought up, the objects of that kind with the message's object ID receive it, then every
    // child gets it.
    template <typename Receive, typename Forward>
    void dispatchMessage(uint32_t kind, MessageTag objectId, MillisecondTime time, Receive&& receive,
                         Forward&& forward);
    // A musical-time event: for a class with forwardsMusicalTime, the time brought up, then every child.
    template <typename Forward>
    void forwardMusicalTime(MillisecondTime time, Forward&& forward);

    const PatcherShape shape;
    std::vector<GeneratedPatcher*> children;

    MemberRegistry<PatchObject> objects;
    // The objects with a clock ID, in object order: a clock event visits only these instead of every
    // object of the class.
    std::vector<PatchObject*> clockedObjects;
    MemberRegistry<SignalBuffer> signalBuffers;
    MemberRegistry<DataViewSlot> dataViews;
    uint32_t objectMessageKinds = 0;
    const DataRefIndex firstOwnDataRefIndex;
    DataRefIndex numOwnedDataRefs = 0;

    int32_t parameterOffset = 0;
    MillisecondTime currentTime = 0;
    int64_t sampleOffset = 0;
    int64_t processedSamples = 0;
    Index currentBlockSize = 0;
    Index maxBlockSize = 0;
    size_t allocatedFrames = 0;
    float sampleRate = 44100.0f;
    float invSampleRate = 1.0f / 44100.0f;
    bool signalsAllocated = false;

    // Read in place of a missing input; written in place of a missing output.
    SignalBuffer zeroBuffer{*this};
    SignalBuffer dummyBuffer{*this};
};

template <typename Child>
Child* GeneratedPatcher::createChild()
{
    return adoptChild(new Child());
}

template <typename Child>
Child* GeneratedPatcher::adoptChild(Child* child)
{
    ParameterIndex offset = getNumOwnParameters();
    for (GeneratedPatcher* earlier : children)
        offset += earlier->getNumParameters();
    children.push_back(child);
    child->setEngineAndParent(getEngine(), this);
    child->initialize();
    child->setParameterOffset(static_cast<int32_t>(offset));
    return child;
}

} // namespace PRT
