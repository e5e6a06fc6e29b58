#include "runtime/ExternalLoader.h"

#include "runtime/ExternalModule.h"
#include "runtime/ExternalModuleMap.h"

namespace PRT
{

ExternalLoader::ExternalLoader(const char* name, const char* folder)
    : module(externalModuleMap().share(name, folder))
{
    module->createExternal(&handle);
}

// The instance was created for this loader alone, so it goes with it; an external that could not
// create one leaves nothing to delete.
ExternalLoader::~ExternalLoader()
{
    if (handle != nullptr)
        module->deleteExternal(handle);
}

ParameterIndex ExternalLoader::getNumParameters()
{
    return module->getNumParameters(handle);
}

const char* ExternalLoader::getParameterName(ParameterIndex index)
{
    return module->getParameterName(handle, index);
}

const char* ExternalLoader::getParameterId(ParameterIndex index)
{
    return module->getParameterId(handle, index);
}

void ExternalLoader::getParameterInfo(ParameterIndex index, ParameterInfo* info)
{
    module->getParameterInfo(handle, index, info);
}

ParameterValue ExternalLoader::getParameterValue(ParameterIndex index)
{
    return module->getParameterValue(handle, index);
}

void ExternalLoader::setParameterValue(ParameterIndex index, ParameterValue value, MillisecondTime time)
{
    module->setParameterValue(handle, index, value, time);
}

ParameterValue ExternalLoader::convertToNormalizedParameterValue(ParameterIndex index, ParameterValue value)
{
    return module->convertToNormalizedParameterValue(handle, index, value);
}

ParameterValue ExternalLoader::convertFromNormalizedParameterValue(ParameterIndex index,
                                                                   ParameterValue normalizedValue)
{
    return module->convertFromNormalizedParameterValue(handle, index, normalizedValue);
}

ParameterValue ExternalLoader::constrainParameterValue(ParameterIndex index, ParameterValue value)
{
    return module->constrainParameterValue(handle, index, value);
}

void ExternalLoader::initialize()
{
    module->initialize(handle, this);
}

Index ExternalLoader::getNumMidiInputPorts()
{
    return module->getNumMidiInputPorts(handle);
}

Index ExternalLoader::getNumMidiOutputPorts()
{
    return module->getNumMidiOutputPorts(handle);
}

Index ExternalLoader::getNumInputChannels()
{
    return module->getNumInputChannels(handle);
}

Index ExternalLoader::getNumOutputChannels()
{
    return module->getNumOutputChannels(handle);
}

void ExternalLoader::prepareToProcess(float sampleRate, Index maxBlockSize, bool force)
{
    module->prepareToProcess(handle, static_cast<double>(sampleRate), maxBlockSize, force);
}

void ExternalLoader::process(const SampleValue* const* inputs, Index numInputs, SampleValue* const* outputs,
                             Index numOutputs, Index sampleFrames)
{
    module->process(handle, inputs, numInputs, outputs, numOutputs, sampleFrames);
}

void ExternalLoader::processMidiEvent(MillisecondTime time, int32_t port, const uint8_t* data, int32_t length)
{
    module->processMidiEvent(handle, time, port, data, length);
}

void ExternalLoader::processClockEvent(MillisecondTime time, ClockId clockId, bool hasValue, ParameterValue value)
{
    module->processClockEvent(handle, time, clockId, hasValue, value);
}

ExternalLoader* createExternalLoader(void*, const char* name, const char* folder)
{
    return new ExternalLoader(name, folder);
}

} // namespace PRT
