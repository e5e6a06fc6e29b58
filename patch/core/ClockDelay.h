#pragma once

#include "patch/core/PatchObject.h"

#include <functional>

namespace PRT
{

// A delay object: each trigger schedules its clock for the owning class at the class's time plus the
// delay, and the clock runs the delay's connections. A trigger while one is pending adds another;
// none is cancelled.
class ClockDelay : public PatchObject
{
public:
    ClockDelay(GeneratedPatcher& owner, ClockId clockId, MillisecondTime delayMs)
        : PatchObject(owner, HashedText(), NoMessages, TagSet(), clockId), delay(delayMs)
    {
    }

    void trigger() { scheduleOwnClock(delay); }

    // What the delay drives when its time has come.
    std::function<void()> onFire;

    void receiveClock(bool, ParameterValue) override
    {
        if (onFire)
            onFire();
    }

private:
    const MillisecondTime delay;
};

} // namespace PRT
