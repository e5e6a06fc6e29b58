// A small external module for the loader tests: two parameters ("gain" and "offset"), two input and
// two output channels, a process that writes input × gain + offset, and a log of every call an
// instance receives. Built twice: complete, and with QUILLMORE_TEST_EXTERNAL_PARTIAL without
// getNumOutputChannels and processMidiEvent, for the fall-backs of single missing symbols.
#include "runtime/ExternalEntryPoints.h"

#include "tests/runtime/CallLog.h"

#include <string>
#include <type_traits>

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace
{
struct Instance
{
    float parameters[2] = {1.0f, 0.0f};
    void* loader = nullptr;
    std::string calls;

    template <typename... Arguments>
    void record(const char* operation, const Arguments&... arguments)
    {
        calls += PRT::test::callLine(operation, arguments...) + "\n";
    }
};

int liveInstances = 0;

Instance& of(void* handle)
{
    return *static_cast<Instance*>(handle);
}

const char* const parameterNames[] = {"Gain", "Offset"};
const char* const parameterIds[] = {"gain", "offset"};
} // namespace

EXPORT void createExternal(void** result)
{
    *result = new Instance();
    ++liveInstances;
}

EXPORT void deleteExternal(void* handle)
{
    delete static_cast<Instance*>(handle);
    --liveInstances;
}

EXPORT void initialize(void* handle, PRT::ExternalLoader* loader)
{
    of(handle).loader = loader;
    of(handle).record("initialize");
}

EXPORT uint32_t getNumMidiInputPorts(void* handle)
{
    of(handle).record("getNumMidiInputPorts");
    return 1;
}

EXPORT uint32_t getNumMidiOutputPorts(void* handle)
{
    of(handle).record("getNumMidiOutputPorts");
    return 3;
}

EXPORT uint32_t getNumParameters(void* handle)
{
    of(handle).record("getNumParameters");
    return 2;
}

EXPORT const char* getParameterName(void* handle, uint32_t index)
{
    of(handle).record("getParameterName", index);
    return index < 2 ? parameterNames[index] : "";
}

EXPORT const char* getParameterId(void* handle, uint32_t index)
{
    of(handle).record("getParameterId", index);
    return index < 2 ? parameterIds[index] : "";
}

EXPORT void getParameterInfo(void* handle, uint32_t index, PRT::ParameterInfo* info)
{
    of(handle).record("getParameterInfo", index);
    if (index < 2)
    {
        info->minimum = -4.0f;
        info->maximum = 4.0f;
        info->hostVisible = true;
    }
}

EXPORT float getParameterValue(void* handle, uint32_t index)
{
    of(handle).record("getParameterValue", index);
    return index < 2 ? of(handle).parameters[index] : 0.0f;
}

EXPORT void setParameterValue(void* handle, uint32_t index, float value, double time)
{
    of(handle).record("setParameterValue", index, value, time);
    if (index < 2)
        of(handle).parameters[index] = value;
}

EXPORT float convertToNormalizedParameterValue(void* handle, uint32_t index, float value)
{
    of(handle).record("convertToNormalizedParameterValue", index, value);
    return (value + 4.0f) / 8.0f;
}

EXPORT float convertFromNormalizedParameterValue(void* handle, uint32_t index, float value)
{
    of(handle).record("convertFromNormalizedParameterValue", index, value);
    return value * 8.0f - 4.0f;
}

EXPORT float constrainParameterValue(void* handle, uint32_t index, float value)
{
    of(handle).record("constrainParameterValue", index, value);
    return value < -4.0f ? -4.0f : (value > 4.0f ? 4.0f : value);
}

EXPORT void prepareToProcess(void* handle, double sampleRate, uint32_t maxBlockSize, bool force)
{
    of(handle).record("prepareToProcess", sampleRate, maxBlockSize, force);
}

EXPORT void process(void* handle, const float* const* inputs, uint32_t numInputs, float* const* outputs,
                    uint32_t numOutputs, uint32_t sampleFrames)
{
    Instance& instance = of(handle);
    instance.record("process", numInputs, numOutputs, sampleFrames);
    for (uint32_t channel = 0; channel < numOutputs && channel < numInputs; ++channel)
        for (uint32_t i = 0; i < sampleFrames; ++i)
            outputs[channel][i] = inputs[channel][i] * instance.parameters[0] + instance.parameters[1];
}

EXPORT uint32_t getNumInputChannels(void* handle)
{
    of(handle).record("getNumInputChannels");
    return 2;
}

#ifndef QUILLMORE_TEST_EXTERNAL_PARTIAL
EXPORT uint32_t getNumOutputChannels(void* handle)
{
    of(handle).record("getNumOutputChannels");
    return 2;
}

EXPORT void processMidiEvent(void* handle, double time, int32_t port, const uint8_t* data, int32_t length)
{
    of(handle).record("processMidiEvent", time, port, PRT::test::commaJoined(data, length), length);
}
#endif

EXPORT void processClockEvent(void* handle, double time, uint64_t clockId, bool hasValue, float value)
{
    of(handle).record("processClockEvent", time, clockId, hasValue, value);
}

// Inspection for the tests.
EXPORT int testExternalLiveInstances()
{
    return liveInstances;
}

EXPORT const char* testExternalCalls(void* handle)
{
    return of(handle).calls.c_str();
}

EXPORT void testExternalClearCalls(void* handle)
{
    of(handle).calls.clear();
}

EXPORT void* testExternalLoader(void* handle)
{
    return of(handle).loader;
}

// The exports must have the signatures the loader calls them through.
static_assert(std::is_same_v<decltype(&createExternal), PRT::ExternalEntryPoint::CreateExternal>);
static_assert(std::is_same_v<decltype(&deleteExternal), PRT::ExternalEntryPoint::DeleteExternal>);
static_assert(std::is_same_v<decltype(&initialize), PRT::ExternalEntryPoint::Initialize>);
static_assert(std::is_same_v<decltype(&getNumMidiInputPorts), PRT::ExternalEntryPoint::Count>);
static_assert(std::is_same_v<decltype(&getNumParameters), PRT::ExternalEntryPoint::GetNumParameters>);
static_assert(std::is_same_v<decltype(&getParameterName), PRT::ExternalEntryPoint::GetParameterText>);
static_assert(std::is_same_v<decltype(&getParameterInfo), PRT::ExternalEntryPoint::GetParameterInfo>);
static_assert(std::is_same_v<decltype(&getParameterValue), PRT::ExternalEntryPoint::GetParameterValue>);
static_assert(std::is_same_v<decltype(&setParameterValue), PRT::ExternalEntryPoint::SetParameterValue>);
static_assert(std::is_same_v<decltype(&constrainParameterValue), PRT::ExternalEntryPoint::MapParameterValue>);
static_assert(std::is_same_v<decltype(&prepareToProcess), PRT::ExternalEntryPoint::PrepareToProcess>);
static_assert(std::is_same_v<decltype(&process), PRT::ExternalEntryPoint::Process>);
static_assert(std::is_same_v<decltype(&processClockEvent), PRT::ExternalEntryPoint::ProcessClockEvent>);
