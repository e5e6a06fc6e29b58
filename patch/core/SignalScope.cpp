#include "patch/core/SignalScope.h"

#include "patch/core/FourLanes.h"
#include "patch/core/GeneratedLists.h"
#include "patch/core/GeneratedPatcher.h"
#include "patch/core/MessageTags.h"

#include <algorithm>
#include <cmath>

namespace PRT
{
namespace
{
constexpr const HashedText* scopeTags[] = {&tags::setup, &tags::monitor};
constexpr int64_t peakMode = 1;
// The largest and the smallest of n samples, each at least 0 / at most 0; NaN never counts. Four
// lanes at a time.
struct Extremes
{
    float highest = 0.0f;
    float lowest = 0.0f;
};

Extremes extremesOf(const SampleValue* x, Index n)
{
    using Lanes = lanes::FourFloats;
    Lanes high = {0.0f, 0.0f, 0.0f, 0.0f};
    Lanes low = high;
    Index k = 0;
    for (; k + 4 <= n; k += 4)
    {
        const Lanes v = lanes::load(x + k, Lanes{});
        high = v > high ? v : high;
        low = v < low ? v : low;
    }
    Extremes e;
    for (int j = 0; j < 4; ++j)
    {
        e.highest = high[j] > e.highest ? high[j] : e.highest;
        e.lowest = low[j] < e.lowest ? low[j] : e.lowest;
    }
    for (; k < n; ++k)
    {
        e.highest = x[k] > e.highest ? x[k] : e.highest;
        e.lowest = x[k] < e.lowest ? x[k] : e.lowest;
    }
    return e;
}
} // namespace

SignalScope::SignalScope(GeneratedPatcher& owner, HashedText path, int64_t interval)
    : PatchObject(owner, path, NoMessages, makeTagSet(scopeTags)), samplingInterval(interval)
{
    values.reserve(valuesPerReport);
    setupValues.reserve(10);
}

void SignalScope::prepare(bool changed)
{
    if (isSetUp && !changed)
        return;
    mode = peakMode;
    assignScopeSetupList(setupValues, owner.getSampleRate(), mode);
    sendList(tags::setup, setupValues);
    countdown = static_cast<float>(samplingInterval);
    isSetUp = true;
}

void SignalScope::process(const SampleValue* input, Index n)
{
    // While nobody takes the reports the scan is skipped and the scope starts afresh, so that the
    // first report after someone listens holds only what came since.
    if (!isTaken(tags::monitor))
    {
        values.clear();
        peak = 0.0f;
        countdown = static_cast<float>(samplingInterval);
        return;
    }

    // A sampling interval's stretch at a time: its largest magnitude first (a loop the compiler
    // vectorises), and only when that beats the running peak, the first sample that reaches it.
    Index i = 0;
    while (i < n)
    {
        const float due = countdown > 1.0f ? countdown : 1.0f;
        const Index stretch = due < static_cast<float>(n - i) ? static_cast<Index>(due) : n - i;
        const SampleValue* x = input + i;
        // The stretch's largest magnitude and its sign from its extremes; only when a sample and its
        // negation tie for it does the first of them decide, found by a scan.
        const Extremes e = extremesOf(x, stretch);
        const float largest = e.highest > -e.lowest ? e.highest : -e.lowest;
        if (largest > std::fabs(peak))
        {
            if (e.highest != -e.lowest)
                peak = e.highest > -e.lowest ? e.highest : e.lowest;
            else
                for (Index k = 0; k < stretch; ++k)
                    if (std::fabs(x[k]) == largest)
                    {
                        peak = x[k];
                        break;
                    }
        }
        i += stretch;
        countdown -= static_cast<float>(stretch);
        if (countdown > 0.0f)
            continue;
        countdown = static_cast<float>(samplingInterval);
        values.push(mode == peakMode ? peak : x[stretch - 1]);
        peak = 0.0f;
        if (values.size() >= valuesPerReport)
        {
            sendList(tags::monitor, values);
            values.clear();
        }
    }
}

} // namespace PRT
