#include "patch/core/EdgeDetector.h"

#include "patch/core/GeneratedPatcher.h"

namespace PRT
{

EdgeDetector::EdgeDetector(GeneratedPatcher& owner, ClockId rising, ClockId falling)
    : owner_(owner), risingClock_(rising), fallingClock_(falling)
{
}

void EdgeDetector::schedule(ClockId clock, Index i, bool nowHigh)
{
    const double msPerSample = 1000.0 / static_cast<double>(owner_.getSampleRate());
    owner_.scheduleOwnClock(clock, static_cast<double>(i) * msPerSample);
    high_ = nowHigh;
}

} // namespace PRT
