#include "runtime/ExternalHostEntryPoints.h"

#include "runtime/EngineInterface.h"
#include "runtime/ExternalLoader.h"
#include "runtime/Logger.h"
#include "runtime/Platform.h"

#include <cstring>

namespace PRT
{
namespace
{
EngineInterface* engineOf(ExternalLoader* loader)
{
    return loader != nullptr ? loader->getEngine() : nullptr;
}

EventTarget* clockTarget(ExternalLoader* loader)
{
    return loader;
}

struct HostEntryPoint
{
    const char* name;
    void* address;
};

template <typename Function>
void* addressOf(Function function)
{
    return reinterpret_cast<void*>(function);
}

const HostEntryPoint hostEntryPoints[] = {
    {"getInterfaceVersion", addressOf(&ExternalHost::getInterfaceVersion)},
    {"getPlatformInterface", addressOf(&ExternalHost::getPlatformInterface)},
    {"consoleLog", addressOf(&ExternalHost::consoleLog)},
    {"scheduleClockEvent", addressOf(&ExternalHost::scheduleClockEvent)},
    {"scheduleClockEventWithValue", addressOf(&ExternalHost::scheduleClockEventWithValue)},
    {"flushClockEvents", addressOf(&ExternalHost::flushClockEvents)},
    {"flushClockEventsWithValue", addressOf(&ExternalHost::flushClockEventsWithValue)},
    {"sendMidiEvent", addressOf(&ExternalHost::sendMidiEvent)},
    {"sendMidiEventList", addressOf(&ExternalHost::sendMidiEventList)},
    {"sendOutlet", addressOf(&ExternalHost::sendOutlet)},
    {"getCurrentTime", addressOf(&ExternalHost::getCurrentTime)},
};
} // namespace

namespace ExternalHost
{
void getInterfaceVersion(int32_t* major, int32_t* minor)
{
    if (major != nullptr)
        *major = 1;
    if (minor != nullptr)
        *minor = 0;
}

void getPlatformInterface(PlatformInterface** platform)
{
    if (platform != nullptr)
        *platform = getPlatform();
}

void consoleLog(int32_t level, const char* text)
{
    (*consoleLoggerSlot())->log(level, text);
}

void scheduleClockEvent(ExternalLoader* loader, ClockId clockId, MillisecondTime time)
{
    if (EngineInterface* engine = engineOf(loader))
        engine->scheduleClockEvent(clockTarget(loader), clockId, time);
}

void scheduleClockEventWithValue(ExternalLoader* loader, ClockId clockId, MillisecondTime time, float value)
{
    if (EngineInterface* engine = engineOf(loader))
        engine->scheduleClockEventWithValue(clockTarget(loader), clockId, time, value);
}

void flushClockEvents(ExternalLoader* loader, ClockId clockId, bool execute)
{
    if (EngineInterface* engine = engineOf(loader))
        engine->flushClockEvents(clockTarget(loader), clockId, execute);
}

void flushClockEventsWithValue(ExternalLoader* loader, ClockId clockId, float value, bool execute)
{
    if (EngineInterface* engine = engineOf(loader))
        engine->flushClockEventsWithValue(clockTarget(loader), clockId, value, execute);
}

void sendMidiEvent(ExternalLoader* loader, int32_t port, uint8_t byte0, uint8_t byte1, uint8_t byte2,
                   MillisecondTime time)
{
    if (EngineInterface* engine = engineOf(loader))
        engine->sendMidiEvent(port, byte0, byte1, byte2, time);
}

void sendMidiEventList(ExternalLoader* loader, int32_t port, const list* bytes, MillisecondTime time)
{
    EngineInterface* engine = engineOf(loader);
    if (engine != nullptr && bytes != nullptr)
        engine->sendMidiEventList(port, *bytes, time);
}

void sendOutlet(ExternalLoader* loader, void*, OutletIndex index, ParameterValue value)
{
    if (EngineInterface* engine = engineOf(loader))
        engine->sendOutlet(loader, index, value, 0);
}

MillisecondTime getCurrentTime(ExternalLoader* loader)
{
    EngineInterface* engine = engineOf(loader);
    return engine != nullptr ? engine->getCurrentTime() : 0;
}
} // namespace ExternalHost

void* findExternalHostEntryPoint(const char* name)
{
    if (name == nullptr)
        return nullptr;
    for (const HostEntryPoint& entry : hostEntryPoints)
        if (std::strcmp(entry.name, name) == 0)
            return entry.address;
    return nullptr;
}

} // namespace PRT
