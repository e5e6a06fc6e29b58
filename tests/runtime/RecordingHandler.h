#pragma once

#include "runtime/EventHandler.h"
#include "runtime/ParameterEventInterface.h"

#include <vector>

namespace PRT::test
{

// A handler that drains its interface as soon as it hears of events (as the plug-in's handlers do)
// and keeps what reaches it.
class RecordingHandler : public EventHandler
{
public:
    void eventsAvailable() override
    {
        ++notifications;
        if (getLinkedInterface() != nullptr)
            getLinkedInterface()->drainEvents();
    }

    void handleParameterEvent(const ParameterEvent& event) override { parameters.push_back(event); }
    void handleMessageEvent(const MessageEvent& event) override { messages.push_back(event); }
    void handlePresetEvent(const PresetEvent& event) override { presets.push_back(event.kind); }
    void handleStartupEvent(const StartupEvent& event) override { startups.push_back(event.kind); }
    void handleTempoEvent(const TempoEvent& event) override { tempos.push_back(event.tempo); }

    void clear()
    {
        parameters.clear();
        messages.clear();
        presets.clear();
        startups.clear();
        tempos.clear();
        notifications = 0;
    }

    std::vector<ParameterEvent> parameters;
    std::vector<MessageEvent> messages;
    std::vector<int32_t> presets;
    std::vector<int32_t> startups;
    std::vector<float> tempos;
    int notifications = 0;
};

} // namespace PRT::test
