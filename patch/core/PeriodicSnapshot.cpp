#include "patch/core/PeriodicSnapshot.h"

#include "patch/core/GeneratedPatcher.h"

#include <cmath>

namespace PRT
{

PeriodicSnapshot::PeriodicSnapshot(GeneratedPatcher& owner, ClockId clockId, float intervalMs)
    : owner_(owner), clockId_(clockId), intervalMs_(intervalMs)
{
}

void PeriodicSnapshot::process(const SampleValue* input, Index n)
{
    if (!(intervalMs_ > 0.0f))
        return;
    const double sampleRate = owner_.getSampleRate();
    const double step = sampleRate * static_cast<double>(intervalMs_) * 0.001;
    const MillisecondTime blockEnd = static_cast<double>(n) * 1000.0 / sampleRate;
    // Straight from one due sample to the next; at most one snapshot per sample.
    Index i = 0;
    while (i < n)
    {
        const double due = nextDue_ - static_cast<double>(count_);
        if (due > static_cast<double>(i))
        {
            if (!(due < static_cast<double>(n)))
                break;
            i = static_cast<Index>(std::ceil(due));
            if (i >= n)
                break;
        }
        owner_.scheduleOwnClockWithValue(clockId_, blockEnd, input[i]);
        nextDue_ += step;
        ++i;
    }
    count_ += static_cast<int64_t>(n);
}

} // namespace PRT
