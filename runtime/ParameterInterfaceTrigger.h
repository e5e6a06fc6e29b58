#pragma once

#include "runtime/ParameterInterfaceSync.h"

namespace PRT
{

// A synchronous interface whose events take effect at once: outside a delivery, scheduling an event
// makes the engine deliver everything due up to its time. Hands the schedule callback to the engine.
class ParameterInterfaceTrigger : public ParameterInterfaceSync
{
public:
    using ParameterInterfaceSync::ParameterInterfaceSync;

    void scheduleEvent(EventVariant event) override;
    void setScheduleCallback(ScheduleCallback callback) override;
};

} // namespace PRT
