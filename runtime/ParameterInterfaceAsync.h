#pragma once

#include "runtime/ParameterEventInterface.h"

#include <memory>

namespace PRT
{

class ParameterEventInterfaceImpl;

// The caller's handle on an asynchronous parameter interface (created by Engine). The engine shares
// the implementation and keeps using it on the audio thread; destroying the handle asks the engine to
// drop it at its next block.
class ParameterInterfaceAsync final : public ParameterEventInterface
{
public:
    explicit ParameterInterfaceAsync(std::shared_ptr<ParameterEventInterfaceImpl> implementation);
    ~ParameterInterfaceAsync() override;

    ParameterInterfaceAsync(const ParameterInterfaceAsync&) = delete;
    ParameterInterfaceAsync& operator=(const ParameterInterfaceAsync&) = delete;

    ParameterIndex getNumParameters() override;
    const char* getParameterName(ParameterIndex index) override;
    const char* getParameterId(ParameterIndex index) override;
    void getParameterInfo(ParameterIndex index, ParameterInfo* info) override;
    ParameterValue getParameterValue(ParameterIndex index) override;
    void setParameterValue(ParameterIndex index, ParameterValue value, MillisecondTime time) override;
    ParameterValue getParameterNormalized(ParameterIndex index) override;
    void setParameterValueNormalized(ParameterIndex index, ParameterValue normalizedValue,
                                     MillisecondTime time) override;
    ParameterValue convertToNormalizedParameterValue(ParameterIndex index, ParameterValue value) override;
    ParameterValue convertFromNormalizedParameterValue(ParameterIndex index, ParameterValue normalizedValue) override;
    ParameterValue constrainParameterValue(ParameterIndex index, ParameterValue value) override;

    void scheduleEvent(EventVariant event) override;
    void setScheduleCallback(ScheduleCallback) override {}
    void drainEvents() override;

private:
    std::shared_ptr<ParameterEventInterfaceImpl> implementation;
};

} // namespace PRT
