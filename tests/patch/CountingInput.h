#pragma once

#include "tests/patch/PatchEngine.h"

namespace PRT::test
{

// A delay fed an input that counts up by one a sample gives back the count it read: the input minus
// the output is the delay, in samples, that each sample was read at.

// One block of the patch's block size, both inputs counting on from counter.
inline void processCountingBlock(PatchEngine& patch, double& counter)
{
    const Index n = static_cast<Index>(patch.left.size());
    for (Index i = 0; i < n; ++i)
        patch.left[i] = patch.right[i] = static_cast<float>(counter++);
    const SampleValue* inputs[] = {patch.left.data(), patch.right.data()};
    SampleValue* outputs[] = {patch.outLeft.data(), patch.outRight.data()};
    patch.engine.process(inputs, 2, outputs, 2, n, nullptr, nullptr);
}

// The delay sample i of the last block was read at, on each side.
inline double leftDelayRead(const PatchEngine& patch, Index i)
{
    return static_cast<double>(patch.left[i]) - patch.outLeft[i];
}
inline double rightDelayRead(const PatchEngine& patch, Index i)
{
    return static_cast<double>(patch.right[i]) - patch.outRight[i];
}

} // namespace PRT::test
