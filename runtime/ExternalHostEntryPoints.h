#pragma once

#include "runtime/List.h"
#include "runtime/Types.h"

#include <cstdint>

namespace PRT
{

class ExternalLoader;
class PlatformInterface;

// What the runtime offers an external module in return. The calls that take a loader act on the
// engine of the loader's engine link, with the loader as the clock target; with no engine linked
// they do nothing (getCurrentTime answers 0).
namespace ExternalHost
{
void getInterfaceVersion(int32_t* major, int32_t* minor);
void getPlatformInterface(PlatformInterface** platform);
void consoleLog(int32_t level, const char* text);
void scheduleClockEvent(ExternalLoader* loader, ClockId clockId, MillisecondTime time);
void scheduleClockEventWithValue(ExternalLoader* loader, ClockId clockId, MillisecondTime time, float value);
void flushClockEvents(ExternalLoader* loader, ClockId clockId, bool execute);
void flushClockEventsWithValue(ExternalLoader* loader, ClockId clockId, float value, bool execute);
void sendMidiEvent(ExternalLoader* loader, int32_t port, uint8_t byte0, uint8_t byte1, uint8_t byte2,
                   MillisecondTime time);
void sendMidiEventList(ExternalLoader* loader, int32_t port, const list* bytes, MillisecondTime time);
void sendOutlet(ExternalLoader* loader, void* unused, OutletIndex index, ParameterValue value);
MillisecondTime getCurrentTime(ExternalLoader* loader);
} // namespace ExternalHost

// The host entry points by name, for an external to bind; null for a name that is not among them.
void* findExternalHostEntryPoint(const char* name);

} // namespace PRT
