#include "patch/core/SignalScope.h"

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
    Index i = 0;
    while (i < n)
    {
        // The samples up to and including the next sampling point (the countdown is a whole number).
        const float due = countdown > 1.0f ? countdown : 1.0f;
        const Index run = static_cast<Index>(std::min(static_cast<float>(n - i), due));
        float peakMagnitude = std::fabs(peak);
        for (const Index end = i + run; i < end; ++i)
        {
            const float magnitude = std::fabs(input[i]);
            if (magnitude > peakMagnitude)
            {
                peakMagnitude = magnitude;
                peak = input[i];
            }
        }
        countdown -= static_cast<float>(run);
        if (countdown > 0.0f)
            continue;
        countdown = static_cast<float>(samplingInterval);
        values.push(mode == peakMode ? peak : input[i - 1]);
        peak = 0.0f;
        if (values.size() >= valuesPerReport)
        {
            sendList(tags::monitor, values);
            values.clear();
        }
    }
}

} // namespace PRT
