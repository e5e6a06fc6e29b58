#pragma once

#include "runtime/ParameterInterface.h"
#include "runtime/Types.h"

namespace PRT
{

// Initialisation and the port and channel counts.
class BaseInterface : public ParameterInterface
{
public:
    virtual void initialize() = 0;
    virtual Index getNumMidiInputPorts() = 0;
    virtual Index getNumMidiOutputPorts() = 0;
    virtual Index getNumInputChannels() = 0;
    virtual Index getNumOutputChannels() = 0;
};

// Prepare and process: a block is an array of channel pointers of sampleFrames samples each.
class ProcessInterface : public BaseInterface
{
public:
    virtual void prepareToProcess(float sampleRate, Index maxBlockSize, bool force) = 0;
    virtual void process(const SampleValue* const* inputs, Index numInputs, SampleValue* const* outputs,
                         Index numOutputs, Index sampleFrames) = 0;
};

} // namespace PRT
