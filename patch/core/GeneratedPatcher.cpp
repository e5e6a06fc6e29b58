#include "patch/core/GeneratedPatcher.h"

#include "patch/core/DataViewSlot.h"
#include "patch/core/GeneratedMath.h"
#include "patch/core/PatchObject.h"
#include "runtime/EngineInterface.h"

#include <algorithm>

namespace PRT
{
namespace
{
constexpr const char* unknownParameter = "bogus";

// r is a whole number (or NaN); offsets lie in [0, block size − 1], 0 for an empty block.
int64_t clampedSampleOffset(float r, Index blockSize)
{
    if (!(r > 0.0f))
        return 0;
    if (r >= static_cast<float>(blockSize))
        return blockSize == 0 ? 0 : static_cast<int64_t>(blockSize) - 1;
    return static_cast<int64_t>(r);
}
} // namespace

GeneratedPatcher::GeneratedPatcher(const PatcherShape& patcherShape, DataRefIndex firstDataRefIndex)
    : shape(patcherShape), firstOwnDataRefIndex(firstDataRefIndex)
{
}

GeneratedPatcher::~GeneratedPatcher()
{
    destroyChildren();
}

void GeneratedPatcher::destroyChildren()
{
    for (GeneratedPatcher* child : children)
        child->destroy();
    children.clear();
}

MillisecondTime GeneratedPatcher::engineTime()
{
    EngineInterface* engine = getEngine();
    return engine != nullptr ? engine->getCurrentTime() : 0.0;
}

void GeneratedPatcher::updateTime(MillisecondTime time)
{
    currentTime = time;
    const MillisecondTime now = engineTime();
    // At the engine's time (every block's start) the offset is 0, as the rounding below would make it.
    if (time == now)
    {
        sampleOffset = 0;
        return;
    }
    const float samplesFromNow = static_cast<float>((time - now) * sampleRate * 0.001);
    sampleOffset = clampedSampleOffset(roundToNearest(samplesFromNow), currentBlockSize);
}

GeneratedPatcher* GeneratedPatcher::getPatcher() const
{
    return dynamic_cast<GeneratedPatcher*>(getParentLink());
}

GeneratedPatcher& GeneratedPatcher::getTopLevel()
{
    GeneratedPatcher* top = this;
    while (GeneratedPatcher* parent = top->getPatcher())
        top = parent;
    return *top;
}

void GeneratedPatcher::scheduleOwnClock(ClockId clockId, MillisecondTime delay)
{
    if (EngineInterface* engine = getEngine())
        engine->scheduleClockEvent(this, clockId, currentTime + delay);
}

void GeneratedPatcher::scheduleOwnClockWithValue(ClockId clockId, MillisecondTime delay, ParameterValue value)
{
    if (EngineInterface* engine = getEngine())
        engine->scheduleClockEventWithValue(this, clockId, currentTime + delay, value);
}

void GeneratedPatcher::allocateDataRefs()
{
    dataViews.forEach([](DataViewSlot& slot) { slot.allocate(); });
    for (GeneratedPatcher* child : children)
        child->allocateDataRefs();
}

void GeneratedPatcher::scheduleLoadClocks()
{
    for (GeneratedPatcher* child : children)
        child->scheduleLoadClocks();
    updateTime(engineTime());
    objects.forEach([](PatchObject& object) { object.scheduleAtLoad(); });
}

GeneratedPatcher::ChildParameter GeneratedPatcher::findChildParameter(ParameterIndex index)
{
    const ParameterIndex own = getNumOwnParameters();
    if (index < own)
        return {};
    ParameterIndex local = index - own;
    for (GeneratedPatcher* child : children)
    {
        const ParameterIndex count = child->getNumParameters();
        if (local < count)
            return {child, local};
        local -= count;
    }
    return {};
}

ParameterIndex GeneratedPatcher::getNumParameters()
{
    ParameterIndex count = getNumOwnParameters();
    for (GeneratedPatcher* child : children)
        count += child->getNumParameters();
    return count;
}

const char* GeneratedPatcher::getParameterName(ParameterIndex index)
{
    const ChildParameter found = findChildParameter(index);
    return found.child != nullptr ? found.child->getParameterName(found.index) : unknownParameter;
}

const char* GeneratedPatcher::getParameterId(ParameterIndex index)
{
    const ChildParameter found = findChildParameter(index);
    return found.child != nullptr ? found.child->getParameterId(found.index) : unknownParameter;
}

void GeneratedPatcher::getParameterInfo(ParameterIndex index, ParameterInfo* info)
{
    const ChildParameter found = findChildParameter(index);
    if (found.child != nullptr)
        found.child->getParameterInfo(found.index, info);
}

ParameterValue GeneratedPatcher::getParameterValue(ParameterIndex index)
{
    const ChildParameter found = findChildParameter(index);
    return found.child != nullptr ? found.child->getParameterValue(found.index) : 0.0f;
}

void GeneratedPatcher::setParameterValue(ParameterIndex index, ParameterValue value, MillisecondTime time)
{
    if (children.empty())
        return;
    updateTime(time);
    const ChildParameter found = findChildParameter(index);
    if (found.child != nullptr)
        found.child->setParameterValue(found.index, value, time);
}

ParameterValue GeneratedPatcher::convertToNormalizedParameterValue(ParameterIndex index, ParameterValue value)
{
    const ChildParameter found = findChildParameter(index);
    return found.child != nullptr ? found.child->convertToNormalizedParameterValue(found.index, value) : value;
}

ParameterValue GeneratedPatcher::convertFromNormalizedParameterValue(ParameterIndex index,
                                                                     ParameterValue normalizedValue)
{
    // A NaN stays NaN.
    const ParameterValue clamped =
        normalizedValue < 0.0f ? 0.0f : (normalizedValue > 1.0f ? 1.0f : normalizedValue);
    const ChildParameter found = findChildParameter(index);
    return found.child != nullptr ? found.child->convertFromNormalizedParameterValue(found.index, clamped) : clamped;
}

ParameterValue GeneratedPatcher::constrainParameterValue(ParameterIndex index, ParameterValue value)
{
    const ChildParameter found = findChildParameter(index);
    return found.child != nullptr ? found.child->constrainParameterValue(found.index, value) : value;
}

void GeneratedPatcher::prepareToProcess(float newSampleRate, Index newMaxBlockSize, bool force)
{
    if (maxBlockSize < newMaxBlockSize || !signalsAllocated)
    {
        signalBuffers.forEach([&](SignalBuffer& buffer) { buffer.resize(maxBlockSize, newMaxBlockSize); });
        allocatedFrames = newMaxBlockSize;
        signalsAllocated = true;
    }

    const bool rateChanged = !(newSampleRate == sampleRate);
    const bool sizeChanged = newMaxBlockSize != maxBlockSize;
    const bool changed = rateChanged || sizeChanged || force;
    if (rateChanged || sizeChanged)
    {
        currentBlockSize = maxBlockSize = newMaxBlockSize;
        sampleRate = newSampleRate;
        invSampleRate = 1.0f / newSampleRate;
    }

    objects.forEach([changed](PatchObject& object) { object.prepare(changed); });
    prepareSignalObjects(changed);

    for (GeneratedPatcher* child : children)
        child->prepareToProcess(newSampleRate, newMaxBlockSize, force);
}

void GeneratedPatcher::process(const SampleValue* const* inputs, Index numInputs, SampleValue* const* outputs,
                               Index numOutputs, Index sampleFrames)
{
    currentBlockSize = sampleFrames;
    updateTime(engineTime());

    // A block longer than the buffers were prepared for would overrun them: silence instead.
    if (sampleFrames > allocatedFrames)
    {
        for (Index channel = 0; channel < numOutputs; ++channel)
            if (outputs != nullptr && outputs[channel] != nullptr)
                std::fill(outputs[channel], outputs[channel] + sampleFrames, SampleValue(0));
        return;
    }

    const SampleValue* ins[maxSignalPorts];
    SampleValue* outs[maxSignalPorts];
    const Index inputPorts = std::min(shape.inputs + shape.extraInputs, maxSignalPorts);
    const Index outputPorts = std::min(shape.outputs + shape.extraOutputs, maxSignalPorts);
    for (Index i = 0; i < inputPorts; ++i)
        ins[i] = i < numInputs && inputs != nullptr && inputs[i] != nullptr ? inputs[i] : zeroBuffer.get();
    for (Index i = 0; i < outputPorts; ++i)
        outs[i] = i < numOutputs && outputs != nullptr && outputs[i] != nullptr ? outputs[i] : dummyBuffer.get();

    processBlock(ins, outs, sampleFrames);
    processedSamples += currentBlockSize;
}

void GeneratedPatcher::getPreset(PatcherStateInterface& state)
{
    if (children.empty())
        return;
    PatcherStateInterface& subStates = state.getSubState("__sps");
    for (GeneratedPatcher* child : children)
        child->getPreset(subStates.getSubState(child->getObjectName()));
}

DataRefIndex GeneratedPatcher::getNumDataRefs()
{
    return numOwnedDataRefs;
}

DataRef* GeneratedPatcher::getDataRef(DataRefIndex index)
{
    DataRef* found = nullptr;
    dataViews.forEach([&](DataViewSlot& slot) {
        if (found == nullptr && slot.getIndex() == index)
            found = slot.getOwnedDataRef();
    });
    return found;
}

const char* GeneratedPatcher::resolveTag(MessageTag tag)
{
    const char* text = nullptr;
    objects.forEach([&](const PatchObject& object) {
        if (text == nullptr)
            text = object.resolveKindTag(tag);
    });
    if (text == nullptr)
        text = resolveOwnTag(tag);
    objects.forEach([&](const PatchObject& object) {
        if (text == nullptr)
            text = object.resolvePath(tag);
    });
    for (GeneratedPatcher* child : children)
        if (text == nullptr)
            text = child->resolveTag(tag);
    if (text == nullptr && getParentLink() == nullptr)
        return "";
    return text;
}

void GeneratedPatcher::sendParameter(ParameterIndex index, bool ignoreValue)
{
    if (GeneratedPatcher* parent = getPatcher())
        parent->sendParameter(index + static_cast<ParameterIndex>(parameterOffset), ignoreValue);
}

void GeneratedPatcher::processClockEvent(MillisecondTime time, ClockId clockId, bool hasValue, ParameterValue value)
{
    updateTime(time);
    for (PatchObject* object : clockedObjects)
        if (object->getClockId() == clockId)
            object->receiveClock(hasValue, value);
    onClock(clockId, hasValue, value);
}

void GeneratedPatcher::processOutletEvent(EngineLink* sender, OutletIndex index, ParameterValue value,
                                          MillisecondTime time)
{
    updateTime(time);
    processOutletValueNow(sender, index, value);
}

void GeneratedPatcher::processDataViewUpdate(DataRefIndex index, MillisecondTime time)
{
    if (!dataViews.empty())
    {
        updateTime(time);
        dataViews.forEach([index](DataViewSlot& slot) {
            if (slot.getIndex() == index)
                slot.rebuildView();
        });
    }
    for (GeneratedPatcher* child : children)
        child->processDataViewUpdate(index, time);
}

void GeneratedPatcher::registerObject(PatchObject& object)
{
    objects.add(object);
    if (object.getClockId() != PatchObject::noClock)
        clockedObjects.push_back(&object);
    objectMessageKinds |= object.getReceivedKinds();
}

void GeneratedPatcher::registerSignalBuffer(SignalBuffer& buffer)
{
    signalBuffers.add(buffer);
}

void GeneratedPatcher::registerDataView(DataViewSlot& slot)
{
    dataViews.add(slot);
}

DataRefIndex GeneratedPatcher::registerOwnedDataRef(DataViewSlot& slot)
{
    dataViews.add(slot);
    return firstOwnDataRefIndex + numOwnedDataRefs++;
}

template <typename Receive, typename Forward>
void GeneratedPatcher::dispatchMessage(uint32_t kind, MessageTag objectId, MillisecondTime time,
                                       Receive&& receive, Forward&& forward)
{
    // A class with no object for this kind of message and no children does not even update its time.
    if ((objectMessageKinds & kind) == 0 && children.empty())
        return;
    updateTime(time);
    objects.forEach([&](PatchObject& object) {
        if ((object.getReceivedKinds() & kind) != 0 && object.getId() == objectId)
            receive(object);
    });
    for (GeneratedPatcher* child : children)
        forward(*child);
}

void GeneratedPatcher::processNumMessage(MessageTag tag, MessageTag objectId, MillisecondTime time, float value)
{
    dispatchMessage(
        NumberMessages, objectId, time, [&](PatchObject& object) { object.receiveNumber(tag, value); },
        [&](GeneratedPatcher& child) { child.processNumMessage(tag, objectId, time, value); });
}

void GeneratedPatcher::processListMessage(MessageTag tag, MessageTag objectId, MillisecondTime time,
                                          const list& payload)
{
    dispatchMessage(
        ListMessages, objectId, time, [&](PatchObject& object) { object.receiveList(tag, payload); },
        [&](GeneratedPatcher& child) { child.processListMessage(tag, objectId, time, payload); });
}

void GeneratedPatcher::processBangMessage(MessageTag tag, MessageTag objectId, MillisecondTime time)
{
    dispatchMessage(
        BangMessages, objectId, time, [&](PatchObject& object) { object.receiveBang(tag); },
        [&](GeneratedPatcher& child) { child.processBangMessage(tag, objectId, time); });
}

template <typename Forward>
void GeneratedPatcher::forwardMusicalTime(MillisecondTime time, Forward&& forward)
{
    if (!forwardsMusicalTime)
        return;
    updateTime(time);
    for (GeneratedPatcher* child : children)
        forward(*child);
}

void GeneratedPatcher::processTempoEvent(MillisecondTime time, float tempo)
{
    forwardMusicalTime(time, [&](GeneratedPatcher& child) { child.processTempoEvent(time, tempo); });
}

void GeneratedPatcher::processTransportEvent(MillisecondTime time, int32_t state)
{
    forwardMusicalTime(time, [&](GeneratedPatcher& child) { child.processTransportEvent(time, state); });
}

void GeneratedPatcher::processBeatTimeEvent(MillisecondTime time, float beatTime)
{
    forwardMusicalTime(time, [&](GeneratedPatcher& child) { child.processBeatTimeEvent(time, beatTime); });
}

void GeneratedPatcher::processTimeSignatureEvent(MillisecondTime time, int32_t numerator, int32_t denominator)
{
    forwardMusicalTime(time, [&](GeneratedPatcher& child) {
        child.processTimeSignatureEvent(time, numerator, denominator);
    });
}

void GeneratedPatcher::processBBUEvent(MillisecondTime time, float bars, float beats, float units)
{
    forwardMusicalTime(time, [&](GeneratedPatcher& child) { child.processBBUEvent(time, bars, beats, units); });
}

} // namespace PRT
