#pragma once

#include "runtime/PatcherFactory.h"
#include "runtime/PatcherPtr.h"
#include "runtime/ProbingInterface.h"
#include "runtime/ProcessInterface.h"

#include <memory>

namespace PRT
{

class Engine;
class EventHandler;
class ParameterEventInterface;

// The plug-in processor's one handle on the runtime: owns the engine with the installed patcher and
// an asynchronous parameter interface of its own. Parameter descriptions come from the patcher;
// values are set and read through the own interface (constrained, shadowed, queued as events for the
// next block), so setters and getters may be called from any thread.
class CoreObject : public BaseInterface, public ProbingInterface
{
public:
    // With the generated patch's factory (see PatcherFactory.h).
    CoreObject() : CoreObject(&createPatcher) {}
    // Installs what the factory makes; without a factory, or when it makes nothing, the null
    // patcher stays: silence and no parameters.
    explicit CoreObject(PatcherFactoryFunction factory);
    ~CoreObject() override;

    CoreObject(const CoreObject&) = delete;
    CoreObject& operator=(const CoreObject&) = delete;

    ParameterIndex getNumParameters() override;
    const char* getParameterName(ParameterIndex index) override;
    const char* getParameterId(ParameterIndex index) override;
    void getParameterInfo(ParameterIndex index, ParameterInfo* info) override;
    // The last value set here or reported by the patch.
    ParameterValue getParameterValue(ParameterIndex index) override;
    void setParameterValue(ParameterIndex index, ParameterValue value, MillisecondTime time) override;
    void setParameterValueNormalized(ParameterIndex index, ParameterValue normalizedValue,
                                     MillisecondTime time) override;
    ParameterValue convertToNormalizedParameterValue(ParameterIndex index, ParameterValue value) override;
    ParameterValue convertFromNormalizedParameterValue(ParameterIndex index, ParameterValue normalizedValue) override;
    ParameterValue constrainParameterValue(ParameterIndex index, ParameterValue value) override;

    void initialize() override {}
    Index getNumMidiInputPorts() override;
    Index getNumMidiOutputPorts() override;
    Index getNumInputChannels() override;
    Index getNumOutputChannels() override;

    void* getProbe() override;

    // False when the swap gave up (the offered patcher is destroyed) or no patcher was given.
    bool setPatcher(PatcherPtr patcher);
    bool prepareToProcess(float sampleRate, Index maxBlockSize);
    void process(const SampleValue* const* inputs, Index numInputs, SampleValue* const* outputs, Index numOutputs,
                 Index sampleFrames);
    std::unique_ptr<ParameterEventInterface> createParameterInterface(int32_t type, EventHandler* handler);
    // The text of a message tag of the installed patcher.
    const char* resolveTag(MessageTag tag);

private:
    std::unique_ptr<Engine> engine;
    std::unique_ptr<ParameterEventInterface> ownInterface;
};

} // namespace PRT
