#pragma once

#include "runtime/PatcherInterface.h"
#include "runtime/PatcherState.h"

namespace PRT
{

// The default bodies every patcher shares.
class PatcherInterfaceImpl : public PatcherInterface
{
public:
    void destroy() override { delete this; }

    // No patcher here hands state to its successor.
    void extractState(PatcherStateInterface&) override {}
    void initializeWithState(PatcherStateInterface&) override { initialize(); }

    MessageInfo getMessageInfo(Index) override { return {}; }
    bool hasFixedBlockSize() override { return false; }

    ParameterValue getParameterValueForward(PatcherInterface*, ParameterIndex index) override
    {
        return getParameterValue(index);
    }

    void setParameterValueForward(PatcherInterface*, ParameterIndex index, ParameterValue value,
                                  MillisecondTime time) override
    {
        setParameterValue(index, value, time);
    }

    void processNormalizedParameterEvent(ParameterIndex index, ParameterValue normalizedValue,
                                         MillisecondTime time) override
    {
        setParameterValueNormalized(index, normalizedValue, time);
    }

    void processParameterEvent(ParameterIndex index, ParameterValue value, MillisecondTime time) override
    {
        setParameterValue(index, value, time);
    }

    void processParameterBangEvent(ParameterIndex index, MillisecondTime time) override
    {
        setParameterValue(index, getParameterValue(index), time);
    }

    void* getProbe() override { return nullptr; }
};

} // namespace PRT
