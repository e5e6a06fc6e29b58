#pragma once

#include "runtime/Types.h"

#include <algorithm>

namespace PRT
{

// How much later than one engine block the top level answers, on every path. Its Heads chain works
// on a copy of the previous block, and the warbler's tape reads that copy one sample back even at
// rest; the paths that skip the chain (HeadsOn off, the true bypass) are held back by as much, so that
// every path, and every crossfade between two of them, is equally late.
inline constexpr int patchSamplesLateBeyondBlock = 1;

// A signal one sample later: each block's last sample waits for the next block. The input may be the
// output.
class OneSampleDelay
{
public:
    void process(const SampleValue* input, SampleValue* output, Index n)
    {
        if (n == 0)
            return;
        const SampleValue last = input[n - 1];
        std::copy_backward(input, input + n - 1, output + n);
        output[0] = held;
        held = last;
    }

private:
    SampleValue held = 0.0f;
};

} // namespace PRT
