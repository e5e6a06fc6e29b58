#include "runtime/CoreObject.h"

#include "runtime/Engine.h"
#include "runtime/PatcherInterface.h"

#include <utility>

namespace PRT
{

CoreObject::CoreObject(PatcherFactoryFunction factory)
    : engine(std::make_unique<Engine>()),
      ownInterface(engine->createParameterInterface(ParameterInterfaceAsyncMultiProducer, nullptr))
{
    engine->setPatcher(PatcherPtr(factory != nullptr ? factory() : nullptr));
}

// The own interface goes first (members are destroyed in reverse order), then the engine.
CoreObject::~CoreObject() = default;

ParameterIndex CoreObject::getNumParameters()
{
    return engine->getNumParameters();
}

const char* CoreObject::getParameterName(ParameterIndex index)
{
    return engine->getParameterName(index);
}

const char* CoreObject::getParameterId(ParameterIndex index)
{
    return engine->getParameterId(index);
}

void CoreObject::getParameterInfo(ParameterIndex index, ParameterInfo* info)
{
    engine->getParameterInfo(index, info);
}

ParameterValue CoreObject::getParameterValue(ParameterIndex index)
{
    return ownInterface->getParameterValue(index);
}

void CoreObject::setParameterValue(ParameterIndex index, ParameterValue value, MillisecondTime time)
{
    ownInterface->setParameterValue(index, value, time);
}

void CoreObject::setParameterValueNormalized(ParameterIndex index, ParameterValue normalizedValue,
                                             MillisecondTime time)
{
    ownInterface->setParameterValueNormalized(index, normalizedValue, time);
}

ParameterValue CoreObject::convertToNormalizedParameterValue(ParameterIndex index, ParameterValue value)
{
    return ownInterface->convertToNormalizedParameterValue(index, value);
}

ParameterValue CoreObject::convertFromNormalizedParameterValue(ParameterIndex index, ParameterValue normalizedValue)
{
    return ownInterface->convertFromNormalizedParameterValue(index, normalizedValue);
}

ParameterValue CoreObject::constrainParameterValue(ParameterIndex index, ParameterValue value)
{
    return ownInterface->constrainParameterValue(index, value);
}

Index CoreObject::getNumMidiInputPorts()
{
    return engine->getCurrentPatcher()->getNumMidiInputPorts();
}

Index CoreObject::getNumMidiOutputPorts()
{
    return engine->getCurrentPatcher()->getNumMidiOutputPorts();
}

Index CoreObject::getNumInputChannels()
{
    return engine->getCurrentPatcher()->getNumInputChannels();
}

Index CoreObject::getNumOutputChannels()
{
    return engine->getCurrentPatcher()->getNumOutputChannels();
}

void* CoreObject::getProbe()
{
    return engine->getProbe();
}

bool CoreObject::setPatcher(PatcherPtr patcher)
{
    return engine->setPatcher(std::move(patcher));
}

bool CoreObject::prepareToProcess(float sampleRate, Index maxBlockSize)
{
    return engine->prepareToProcess(sampleRate, maxBlockSize, false);
}

void CoreObject::process(const SampleValue* const* inputs, Index numInputs, SampleValue* const* outputs,
                         Index numOutputs, Index sampleFrames)
{
    engine->process(inputs, numInputs, outputs, numOutputs, sampleFrames, nullptr, nullptr);
}

std::unique_ptr<ParameterEventInterface> CoreObject::createParameterInterface(int32_t type, EventHandler* handler)
{
    return engine->createParameterInterface(type, handler);
}

const char* CoreObject::resolveTag(MessageTag tag)
{
    return engine->getCurrentPatcher()->resolveTag(tag);
}

} // namespace PRT
