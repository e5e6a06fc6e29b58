#pragma once

#include "patch/core/PatchObject.h"

#include <functional>

namespace PRT
{

// A message-rate line: takes a list and moves its value in steps, one clock event (with its clock ID,
// carrying the step's value) every grain milliseconds, arriving exactly at each segment's end.
// - [x]: jumps to x at once.
// - [x, t]: ramps to x over t ms; [x, t, g] sets the grain to g (for this and later ramps) first.
// - any other length: (target, time) pairs, ramped one after the other; an odd last value is dropped.
// A new list starts from the value the running ramp has reached at that moment. Lists of up to
// reservedSegments values are taken without allocating.
class ControlRateRamp : public PatchObject
{
public:
    static constexpr float defaultGrainMs = 20.0f;
    static constexpr size_t reservedSegments = 16;

    ControlRateRamp(GeneratedPatcher& owner, ClockId clockId);

    void receiveValues(const list& values);

    float getValue() const { return value; }
    float getGrain() const { return grain; }

    // Each value the line outputs, at the owning class's time of that step.
    std::function<void(float)> onOutput;

    void receiveClock(bool hasValue, ParameterValue stepValue) override;

private:
    void outputValue(float v);
    void nextSegment();
    void startRamp(float target, MillisecondTime time);
    void scheduleNextTick();
    void scheduleTick(MillisecondTime time, float stepValue);
    void cancelTicks();

    float value = 0.0f;
    float grain = defaultGrainMs;
    MillisecondTime startTime = 0.0;
    float startValue = 0.0f;
    float targetValue = 0.0f;
    float slope = 0.0f; // per ms
    MillisecondTime endTime = 0.0;
    list segments;
};

} // namespace PRT
