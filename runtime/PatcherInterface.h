#pragma once

#include "runtime/EngineLink.h"
#include "runtime/PatcherEventTarget.h"
#include "runtime/PatcherPtr.h"
#include "runtime/ProbingInterface.h"
#include "runtime/ProcessInterface.h"
#include "runtime/Types.h"

namespace PRT
{

class DataRef;
class PatcherStateInterface;

// A message port of a patcher.
struct MessageInfo
{
    const char* tag = "";
    int32_t kind = 2;
};

// The interface the top-level patcher and every generated module implement. Patchers are owned
// uniquely (PatcherPtr) and disposed of through destroy().
class PatcherInterface : public ProcessInterface,
                         public PatcherEventTarget,
                         public EngineLink,
                         public ProbingInterface
{
public:
    ~PatcherInterface() override = default;

    virtual void destroy() = 0;

    // Lets an outgoing patcher hand state to its successor during a swap.
    virtual void extractState(PatcherStateInterface& state) = 0;
    // The engine's set-up entry for a newly installed patcher.
    virtual void initializeWithState(PatcherStateInterface& state) = 0;
    virtual void getPreset(PatcherStateInterface& state) = 0;
    virtual void setPreset(MillisecondTime time, PatcherStateInterface& state) = 0;

    virtual DataRefIndex getNumDataRefs() = 0;
    virtual DataRef* getDataRef(DataRefIndex index) = 0;

    virtual Index getNumExtraSignalInputs() = 0;
    virtual Index getNumExtraSignalOutputs() = 0;

    // The text of a tag hash the patcher knows.
    virtual const char* resolveTag(MessageTag tag) = 0;
    virtual Index getNumMessages() = 0;
    virtual MessageInfo getMessageInfo(Index index) = 0;

    virtual Index getBlockSize() = 0;
    virtual float getSampleRate() = 0;
    // False: any block length up to the block size is accepted.
    virtual bool hasFixedBlockSize() = 0;

    // Tells the engine that a parameter changed.
    virtual void sendParameter(ParameterIndex index, bool ignoreValue) = 0;
    virtual ParameterValue getParameterValueForward(PatcherInterface* patcher, ParameterIndex index) = 0;
    virtual void setParameterValueForward(PatcherInterface* patcher, ParameterIndex index, ParameterValue value,
                                          MillisecondTime time) = 0;
};

} // namespace PRT
