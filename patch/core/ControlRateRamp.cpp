#include "patch/core/ControlRateRamp.h"

#include "patch/core/GeneratedPatcher.h"
#include "runtime/EngineInterface.h"

namespace PRT
{
namespace
{
// Times and grains below 0 (and NaN) count as 0.
float nonNegative(float x)
{
    return x > 0.0f ? x : 0.0f;
}

// Step times add up the grain from a start time that need not be a whole number of milliseconds, so
// a step meant for a segment's end can miss it by a rounding error. Closer than this (a small part of
// a sample at any rate) is the end.
constexpr MillisecondTime endTolerance = 1e-4;
} // namespace

ControlRateRamp::ControlRateRamp(GeneratedPatcher& owner, ClockId clockId)
    : PatchObject(owner, HashedText(), NoMessages, TagSet(), clockId)
{
    segments.reserve(reservedSegments);
}

void ControlRateRamp::receiveValues(const list& values)
{
    segments.clear();
    switch (values.size())
    {
    case 1:
        outputValue(values[0]);
        cancelTicks();
        startValue = values[0];
        slope = 0.0f;
        endTime = startTime;
        break;
    case 3:
        grain = nonNegative(values[2]);
        startRamp(values[0], nonNegative(values[1]));
        break;
    case 2:
        startRamp(values[0], nonNegative(values[1]));
        break;
    default:
        segments = values;
        nextSegment();
        break;
    }
}

void ControlRateRamp::nextSegment()
{
    if (segments.size() < 2)
    {
        segments.clear();
        endTime = startTime;
        return;
    }
    const float target = segments[0];
    const float time = segments[1];
    segments.removeFront(2);
    startRamp(target, nonNegative(time));
}

void ControlRateRamp::startRamp(float target, MillisecondTime time)
{
    const MillisecondTime now = owner.getTime();
    // Where the running ramp stands now.
    startValue = static_cast<float>(startValue + (now - startTime) * slope);
    startTime = now;
    targetValue = target;
    endTime = startTime + time;
    cancelTicks();
    // A segment of no time ends at once, with its target; its slope is never applied.
    slope = time > 0.0 ? static_cast<float>((target - startValue) / time) : 0.0f;
    scheduleNextTick();
}

void ControlRateRamp::scheduleNextTick()
{
    const MillisecondTime now = owner.getTime();
    const MillisecondTime next = now + grain;
    if (next < endTime - endTolerance && grain != 0.0f)
        scheduleTick(next, static_cast<float>(startValue + slope * (next - startTime)));
    else
        scheduleTick(endTime, targetValue);
}

void ControlRateRamp::scheduleTick(MillisecondTime time, float stepValue)
{
    if (EngineInterface* engine = owner.getEngine())
        engine->scheduleClockEventWithValue(&owner, getClockId(), time, stepValue);
}

void ControlRateRamp::cancelTicks()
{
    if (EngineInterface* engine = owner.getEngine())
        engine->flushClockEvents(&owner, getClockId(), false);
}

void ControlRateRamp::receiveClock(bool, ParameterValue stepValue)
{
    outputValue(stepValue);
    if (stepValue == targetValue && owner.getTime() >= endTime - endTolerance)
    {
        startValue = stepValue;
        slope = 0.0f;
        nextSegment();
    }
    else
    {
        scheduleNextTick();
    }
}

void ControlRateRamp::outputValue(float v)
{
    value = v;
    if (onOutput)
        onOutput(v);
}

} // namespace PRT
