#pragma once

#include "runtime/ParameterEventInterfaceImpl.h"

#include <algorithm>
#include <string>
#include <vector>

namespace PRT::test
{

// The engine side of a parameter interface, reduced to what the engine core needs: events handed to
// scheduleEvent wait until pullEvents; everything the engine passes on is kept for inspection.
class RecordingInterface : public ParameterEventInterfaceImpl
{
public:
    ParameterIndex getNumParameters() override { return 0; }
    const char* getParameterName(ParameterIndex) override { return ""; }
    const char* getParameterId(ParameterIndex) override { return ""; }
    void getParameterInfo(ParameterIndex, ParameterInfo*) override {}
    ParameterValue getParameterValue(ParameterIndex) override { return 0; }
    void setParameterValue(ParameterIndex index, ParameterValue value, MillisecondTime time) override
    {
        scheduleEvent(ParameterEvent{index, time, value, this, nullptr});
    }
    ParameterValue convertToNormalizedParameterValue(ParameterIndex, ParameterValue value) override { return value; }
    ParameterValue convertFromNormalizedParameterValue(ParameterIndex, ParameterValue value) override
    {
        return value;
    }

    void scheduleEvent(EventVariant event) override { toEngine.push_back(std::move(event)); }
    void setScheduleCallback(ScheduleCallback) override {}
    void drainEvents() override {}

    void refreshParameterValues() override { ++refreshes; }
    void notifyParameterValueChanged(const ParameterEvent& cause, ParameterIndex index, ParameterValue value) override
    {
        merged.push_back({cause, index, value});
    }
    void pullEvents(EventList& events, MillisecondTime now) override
    {
        for (EventVariant& event : toEngine)
        {
            if (now > event.getTime())
                event.setTime(now);
            events.insert(std::move(event));
        }
        toEngine.clear();
    }
    void flushParameterNotifications(MillisecondTime now) override { flushTimes.push_back(now); }
    void queueHandlerEvent(EventVariant&& event) override { handlerEvents.push_back(std::move(event)); }
    bool takesMessage(MessageTag tag) override
    {
        return std::find(declinedTags.begin(), declinedTags.end(), tag) == declinedTags.end();
    }
    void notifyHandler() override { ++handlerNotifications; }
    bool isActive() override { return true; }
    bool deactivate() override { return true; }
    void requestRemoval() override {}

    struct Notification
    {
        ParameterEvent cause;
        ParameterIndex index;
        ParameterValue value;
    };

    std::vector<EventVariant> toEngine;
    std::vector<Notification> merged;
    std::vector<EventVariant> handlerEvents;
    std::vector<MillisecondTime> flushTimes;
    std::vector<MessageTag> declinedTags; // message tags this interface does not take
    int refreshes = 0;
    int handlerNotifications = 0;
};

} // namespace PRT::test
