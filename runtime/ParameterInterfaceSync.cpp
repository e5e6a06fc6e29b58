#include "runtime/ParameterInterfaceSync.h"

#include "runtime/EngineCore.h"
#include "runtime/EventHandler.h"

#include <cmath>
#include <utility>

namespace PRT
{

ParameterInterfaceSync::ParameterInterfaceSync(EngineCore& owner, EventHandler* eventHandler)
    : EngineParameterInterface(owner), handler(eventHandler)
{
    engine->registerInterface(this);
    if (handler != nullptr)
        handler->linkInterface(this);
    refreshParameterValues();
}

ParameterInterfaceSync::~ParameterInterfaceSync()
{
    if (active)
        engine->unregisterInterface(this);
}

ParameterValue ParameterInterfaceSync::getParameterValue(ParameterIndex index)
{
    if (active)
        return engine->getParameterValue(index);
    return index < shadows.size() ? shadows[index] : 0;
}

void ParameterInterfaceSync::setParameterValue(ParameterIndex index, ParameterValue value, MillisecondTime time)
{
    scheduleEvent(ParameterEvent{index, time, value, this, nullptr});
}

void ParameterInterfaceSync::scheduleEvent(EventVariant event)
{
    if (active)
        scheduleNow(std::move(event));
}

MillisecondTime ParameterInterfaceSync::scheduleNow(EventVariant event)
{
    const MillisecondTime now = engine->getCurrentTime();
    if (event.getTime() < now)
        event.setTime(now);
    const MillisecondTime time = event.getTime();

    const PresetEvent* preset = event.get<PresetEvent>();
    if (preset != nullptr && preset->kind == PresetEvent::Get)
    {
        if (preset->callback)
            preset->callback(engine->getPreset());
    }
    else
    {
        engine->scheduleEvent(std::move(event));
    }
    return time;
}

void ParameterInterfaceSync::refreshParameterValues()
{
    if (!active)
        return;
    const ParameterIndex count = engine->getNumParameters();
    shadows.resize(count);
    for (ParameterIndex index = 0; index < count; ++index)
        shadows[index] = engine->getParameterValue(index);
}

void ParameterInterfaceSync::notifyParameterValueChanged(const ParameterEvent& cause, ParameterIndex index,
                                                         ParameterValue value)
{
    const bool sameValue = cause.value == value || (std::isnan(cause.value) && std::isnan(value));
    const bool ownUnalteredChange = cause.source == this && cause.index == index && !std::isnan(cause.time) &&
                                    sameValue && cause.target == nullptr && index < shadows.size() &&
                                    shadows[index] == value;
    if (ownUnalteredChange)
        return;
    queueHandlerEvent(ParameterEvent{index, cause.time, value, cause.source != nullptr ? cause.source : this, nullptr});
}

void ParameterInterfaceSync::queueHandlerEvent(EventVariant&& event)
{
    if (handler == nullptr)
        return;
    if (const ParameterEvent* parameter = event.get<ParameterEvent>())
        if (parameter->index < shadows.size())
            shadows[parameter->index] = parameter->value;
    deliverToHandler(*handler, event);
}

bool ParameterInterfaceSync::takesMessage(MessageTag tag)
{
    return handler != nullptr && handler->takesMessage(tag);
}

bool ParameterInterfaceSync::deactivate()
{
    return std::exchange(active, false);
}

} // namespace PRT
