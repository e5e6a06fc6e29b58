#include "runtime/ParameterInterfaceTrigger.h"

#include "runtime/EngineCore.h"

#include <utility>

namespace PRT
{

void ParameterInterfaceTrigger::scheduleEvent(EventVariant event)
{
    if (!active)
        return;
    const MillisecondTime time = scheduleNow(std::move(event));
    if (engine->isDelivering())
        return;
    engine->beginProcessDataRefs();
    engine->dispatchEventsUntil(time);
    engine->endProcessDataRefs();
}

void ParameterInterfaceTrigger::setScheduleCallback(ScheduleCallback callback)
{
    if (active)
        engine->setScheduleCallback(std::move(callback));
}

} // namespace PRT
