#pragma once

#include "runtime/Types.h"

namespace PRT
{

class GeneratedPatcher;

// Turns a gate signal into two clock events for its class: the rising clock on the first non-zero
// (or NaN) sample after a stretch of zeros, the falling clock on the first zero after that, each
// stamped with the time of its sample. Starts low.
class EdgeDetector
{
public:
    EdgeDetector(GeneratedPatcher& owner, ClockId rising, ClockId falling);

    // Sample i of the current block of the owner.
    void next(float gate, Index i)
    {
        if (!high_)
        {
            if (gate != 0.0f)
                schedule(risingClock_, i, true);
        }
        else if (gate == 0.0f)
        {
            schedule(fallingClock_, i, false);
        }
    }

    bool isHigh() const { return high_; }

private:
    void schedule(ClockId clock, Index i, bool nowHigh);

    GeneratedPatcher& owner_;
    const ClockId risingClock_;
    const ClockId fallingClock_;
    bool high_ = false;
};

} // namespace PRT
