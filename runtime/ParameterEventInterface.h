#pragma once

#include "runtime/EventVariant.h"
#include "runtime/ParameterInterface.h"

#include <functional>

namespace PRT
{

// A parameter interface that also takes events.
class ParameterEventInterface : public ParameterInterface
{
public:
    using ScheduleCallback = std::function<void(MillisecondTime time)>;

    // Takes the event over.
    virtual void scheduleEvent(EventVariant event) = 0;
    virtual void setScheduleCallback(ScheduleCallback callback) = 0;
    // Delivers the events queued for the handler.
    virtual void drainEvents() = 0;
};

} // namespace PRT
