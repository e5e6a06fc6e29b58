#pragma once

#include "runtime/Types.h"

#include <cstdint>

namespace PRT
{

class GeneratedPatcher;

// Samples a signal every interval milliseconds of audio, from the first sample on, and hands each
// value to its class as a value clock at the end of the block (the same time for every snapshot of a
// block). The due points are kept in double precision against a 64-bit sample count, so the cadence
// holds over runs of any length; an interval of 0 or less (or NaN) takes no snapshots and stops the
// count.
class PeriodicSnapshot
{
public:
    PeriodicSnapshot(GeneratedPatcher& owner, ClockId clockId, float intervalMs);

    void setInterval(float intervalMs) { intervalMs_ = intervalMs; }
    float interval() const { return intervalMs_; }

    void process(const SampleValue* input, Index n);

    // The running sample count and the next due sample (for a test that skips hours ahead).
    int64_t samplesCounted() const { return count_; }
    double nextDue() const { return nextDue_; }
    void skipTo(int64_t count, double nextDue)
    {
        count_ = count;
        nextDue_ = nextDue;
    }

private:
    GeneratedPatcher& owner_;
    const ClockId clockId_;
    float intervalMs_;
    double nextDue_ = 0.0;
    int64_t count_ = 0;
};

} // namespace PRT
