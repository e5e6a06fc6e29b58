#pragma once

#include "tests/patch/PatchEngine.h"

#include <algorithm>
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
// each input channel held at a constant, and collects the outputs.
inline StereoSignal renderSamples(PatchEngine& patch, size_t samples, float leftInput = 0.0f, float rightInput = 0.0f)
{
    std::fill(patch.left.begin(), patch.left.end(), leftInput);
    std::fill(patch.right.begin(), patch.right.end(), rightInput);
    const SampleValue* inputs[] = {patch.left.data(), patch.right.data()};
    SampleValue* outputs[] = {patch.outLeft.data(), patch.outRight.data()};
    const auto blockSize = static_cast<Index>(patch.left.size());

    StereoSignal rendered;
    while (rendered.left.size() < samples)
    {
        patch.engine.process(inputs, 2, outputs, 2, blockSize, nullptr, nullptr);
        rendered.left.insert(rendered.left.end(), patch.outLeft.begin(), patch.outLeft.end());
        rendered.right.insert(rendered.right.end(), patch.outRight.begin(), patch.outRight.end());
    }
    return rendered;
}

} // namespace PRT::test
