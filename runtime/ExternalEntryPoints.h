#pragma once

#include "runtime/ParameterInfo.h"
#include "runtime/Types.h"

namespace PRT
{

class ExternalLoader;

// The C entry points of an external module, exported under the names of the runtime operations they
// serve. Each takes the instance handle that createExternal delivered in place of the object; the
// other arguments are those of the runtime operation, except that initialize also receives the
// loader (for the host entry points) and prepareToProcess a 64-bit sample rate.
using ExternalHandle = void*;

namespace ExternalEntryPoint
{
using CreateExternal = void (*)(ExternalHandle* result);
using DeleteExternal = void (*)(ExternalHandle handle);
using Initialize = void (*)(ExternalHandle handle, ExternalLoader* loader);
using Count = Index (*)(ExternalHandle handle);
using GetNumParameters = ParameterIndex (*)(ExternalHandle handle);
using GetParameterText = const char* (*)(ExternalHandle handle, ParameterIndex index);
using GetParameterInfo = void (*)(ExternalHandle handle, ParameterIndex index, ParameterInfo* info);
using GetParameterValue = ParameterValue (*)(ExternalHandle handle, ParameterIndex index);
using SetParameterValue = void (*)(ExternalHandle handle, ParameterIndex index, ParameterValue value,
                                   MillisecondTime time);
using MapParameterValue = ParameterValue (*)(ExternalHandle handle, ParameterIndex index, ParameterValue value);
using PrepareToProcess = void (*)(ExternalHandle handle, double sampleRate, Index maxBlockSize, bool force);
using Process = void (*)(ExternalHandle handle, const SampleValue* const* inputs, Index numInputs,
                         SampleValue* const* outputs, Index numOutputs, Index sampleFrames);
using ProcessMidiEvent = void (*)(ExternalHandle handle, MillisecondTime time, int32_t port, const uint8_t* data,
                                  int32_t length);
using ProcessClockEvent = void (*)(ExternalHandle handle, MillisecondTime time, ClockId clockId, bool hasValue,
                                   ParameterValue value);
} // namespace ExternalEntryPoint

} // namespace PRT
