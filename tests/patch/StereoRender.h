#pragma once

#include "tests/patch/PatchEngine.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace PRT::test
{

// What a run of blocks produced, both channels one after the other in time.
struct StereoSignal
{
    std::vector<float> left;
    std::vector<float> right;
};

// Runs the engine for at least the given number of samples, in blocks of its prepared size, with
// each input channel given per sample by a function of the sample's index from the start of the
// run, and collects the outputs.
template <typename LeftInput, typename RightInput>
StereoSignal renderSignals(PatchEngine& patch, size_t samples, LeftInput&& leftInput, RightInput&& rightInput)
{
    const SampleValue* inputs[] = {patch.left.data(), patch.right.data()};
    SampleValue* outputs[] = {patch.outLeft.data(), patch.outRight.data()};
    const auto blockSize = static_cast<Index>(patch.left.size());

    StereoSignal rendered;
    rendered.left.reserve(samples + blockSize);
    rendered.right.reserve(samples + blockSize);
    while (rendered.left.size() < samples)
    {
        const size_t start = rendered.left.size();
        for (Index i = 0; i < blockSize; ++i)
        {
            patch.left[i] = leftInput(start + i);
            patch.right[i] = rightInput(start + i);
        }
        patch.engine.process(inputs, 2, outputs, 2, blockSize, nullptr, nullptr);
        rendered.left.insert(rendered.left.end(), patch.outLeft.begin(), patch.outLeft.end());
        rendered.right.insert(rendered.right.end(), patch.outRight.begin(), patch.outRight.end());
    }
    return rendered;
}

// The same with each input channel held at a constant.
inline StereoSignal renderSamples(PatchEngine& patch, size_t samples, float leftInput = 0.0f, float rightInput = 0.0f)
{
    return renderSignals(
        patch, samples, [leftInput](size_t) { return leftInput; }, [rightInput](size_t) { return rightInput; });
}

} // namespace PRT::test
