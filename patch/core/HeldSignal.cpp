#include "patch/core/HeldSignal.h"

#include "patch/core/GeneratedPatcher.h"

#include <algorithm>

namespace PRT
{

HeldSignal::HeldSignal(GeneratedPatcher& owner) : PatchObject(owner, HashedText(), NoMessages, TagSet()), samples(owner)
{
}

void HeldSignal::set(float value)
{
    if (samples.get() != nullptr)
    {
        const int64_t lastSample = static_cast<int64_t>(owner.getVectorSize()) - 1;
        const int64_t end = std::min(owner.getSampleOffset(), lastSample);
        for (int64_t i = filled; i < end; ++i)
            samples[static_cast<size_t>(i)] = lastValue;
        if (end > static_cast<int64_t>(filled))
            filled = static_cast<Index>(end);
    }
    lastValue = value;
}

void HeldSignal::render(SampleValue* output, Index n)
{
    const Index earlier = std::min(filled, n);
    for (Index i = 0; i < earlier; ++i)
        output[i] = samples[i];
    for (Index i = earlier; i < n; ++i)
        output[i] = lastValue;
    filled = 0;
}

void HeldSignal::prepare(bool changed)
{
    if (initialised && !changed)
        return;
    filled = 0;
    initialised = true;
}

} // namespace PRT
