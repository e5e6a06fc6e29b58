#pragma once

#include "runtime/EngineLink.h"
#include "runtime/EventTarget.h"
#include "runtime/ExternalBase.h"
#include "runtime/ExternalEntryPoints.h"
#include "runtime/ProcessInterface.h"

#include <memory>

namespace PRT
{

class ExternalModule;

// An external module instance presented as a runtime processing object: each operation calls the
// module's entry point of the same name with the instance handle. The engine link stays empty unless
// the owner sets it; the host entry points act on the engine through it.
class ExternalLoader : public ExternalBase, public ProcessInterface, public EngineLink, public EventTarget
{
public:
    // Shares the module made for name (creating it from name and folder for the first loader of that
    // name) and creates an instance of the external.
    ExternalLoader(const char* name, const char* folder);
    // Deletes the instance; the module stays shared.
    ~ExternalLoader() override;

    ExternalLoader(const ExternalLoader&) = delete;
    ExternalLoader& operator=(const ExternalLoader&) = delete;

    ParameterIndex getNumParameters() override;
    const char* getParameterName(ParameterIndex index) override;
    const char* getParameterId(ParameterIndex index) override;
    void getParameterInfo(ParameterIndex index, ParameterInfo* info) override;
    ParameterValue getParameterValue(ParameterIndex index) override;
    void setParameterValue(ParameterIndex index, ParameterValue value, MillisecondTime time) override;
    ParameterValue convertToNormalizedParameterValue(ParameterIndex index, ParameterValue value) override;
    ParameterValue convertFromNormalizedParameterValue(ParameterIndex index, ParameterValue normalizedValue) override;
    ParameterValue constrainParameterValue(ParameterIndex index, ParameterValue value) override;

    // Passes the loader itself along, for the external's calls to the host entry points.
    void initialize() override;
    Index getNumMidiInputPorts() override;
    Index getNumMidiOutputPorts() override;
    Index getNumInputChannels() override;
    Index getNumOutputChannels() override;

    void prepareToProcess(float sampleRate, Index maxBlockSize, bool force) override;
    void process(const SampleValue* const* inputs, Index numInputs, SampleValue* const* outputs, Index numOutputs,
                 Index sampleFrames) override;

    void processMidiEvent(MillisecondTime time, int32_t port, const uint8_t* data, int32_t length) override;
    void processClockEvent(MillisecondTime time, ClockId clockId, bool hasValue, ParameterValue value) override;

    const std::shared_ptr<ExternalModule>& getModule() const { return module; }
    ExternalHandle getHandle() const { return handle; }

private:
    std::shared_ptr<ExternalModule> module;
    ExternalHandle handle = nullptr;
};

// The factory published as "ExternalLoaderFactory": a new loader for the external name in folder,
// owned by the caller. The first argument is not used.
ExternalLoader* createExternalLoader(void* unused, const char* name, const char* folder);

} // namespace PRT
