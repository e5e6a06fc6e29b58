#pragma once

#include "runtime/EngineParameterInterface.h"

#include <vector>

namespace PRT
{

class EventHandler;

// A parameter interface without queues: events go straight into the engine's schedule and reported
// values straight to the handler. Safe only on the thread that runs the engine. Registers itself with
// the engine for its lifetime; once deactivated (its engine destroyed) it never touches the engine
// again.
class ParameterInterfaceSync : public EngineParameterInterface<EngineCore>
{
public:
    ParameterInterfaceSync(EngineCore& engine, EventHandler* handler);
    ~ParameterInterfaceSync() override;

    ParameterInterfaceSync(const ParameterInterfaceSync&) = delete;
    ParameterInterfaceSync& operator=(const ParameterInterfaceSync&) = delete;

    // Asks the patcher.
    ParameterValue getParameterValue(ParameterIndex index) override;
    void setParameterValue(ParameterIndex index, ParameterValue value, MillisecondTime time) override;

    // Joins the schedule, never earlier than now; a preset request is answered at once.
    void scheduleEvent(EventVariant event) override;
    void setScheduleCallback(ScheduleCallback) override {}
    void drainEvents() override {}

    void refreshParameterValues() override;
    // Passes the change to the handler at once, unless it is this interface's own change coming back
    // unaltered.
    void notifyParameterValueChanged(const ParameterEvent& cause, ParameterIndex index, ParameterValue value) override;
    void pullEvents(EventList&, MillisecondTime) override {}
    void flushParameterNotifications(MillisecondTime) override {}
    void queueHandlerEvent(EventVariant&& event) override;
    bool takesMessage(MessageTag tag) override;
    void notifyHandler() override {}
    bool isActive() override { return active; }
    bool deactivate() override;
    void requestRemoval() override {}

protected:
    // The time the event is scheduled for: its own, raised to now.
    MillisecondTime scheduleNow(EventVariant event);

    EventHandler* handler;
    std::vector<ParameterValue> shadows;
    bool active = true;
};

} // namespace PRT
