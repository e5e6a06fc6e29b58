#include "patch/core/SignalScope.h"

#include "patch/core/GeneratedLists.h"
#include "patch/core/GeneratedPatcher.h"
#include "patch/core/MessageTags.h"

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
}

void SignalScope::prepare(bool changed)
{
    if (isSetUp && !changed)
        return;
    mode = peakMode;
    sendList(tags::setup, makeScopeSetupList(owner.getSampleRate(), mode));
    countdown = static_cast<float>(samplingInterval);
    isSetUp = true;
}

void SignalScope::process(const SampleValue* input, Index n)
{
    for (Index i = 0; i < n; ++i)
    {
        const float sample = input[i];
        if (std::fabs(sample) > std::fabs(peak))
            peak = sample;
        countdown -= 1.0f;
        if (countdown > 0.0f)
            continue;
        countdown = static_cast<float>(samplingInterval);
        values.push(mode == peakMode ? peak : sample);
        peak = 0.0f;
        if (values.size() >= valuesPerReport)
        {
            sendList(tags::monitor, values);
            values.clear();
        }
    }
}

} // namespace PRT
