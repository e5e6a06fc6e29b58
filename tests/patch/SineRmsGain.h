#pragma once

#include "tests/patch/PatchEngine.h"

#include <cmath>
#include <cstddef>

namespace PRT::test
{

struct RmsGains
{
    double left = 0.0;
    double right = 0.0;
};

// Renders `total` samples, in blocks of the patch's size, of a sine at hz of amplitude 0.5 on the
// left input and on the right (inverted there if rightInverted), and returns the RMS of each output
// over the left input's RMS, measured from the first block that starts at or after `settle`. The
// sine's phase counts on from clock, which advances by the samples rendered.
inline RmsGains measureRmsGains(PatchEngine& patch, double hz, double sampleRate, size_t settle, size_t total,
                                bool rightInverted, size_t& clock)
{
    const Index n = static_cast<Index>(patch.left.size());
    double inEnergy = 0, leftEnergy = 0, rightEnergy = 0;
    const SampleValue* inputs[] = {patch.left.data(), patch.right.data()};
    SampleValue* outputs[] = {patch.outLeft.data(), patch.outRight.data()};
    for (size_t done = 0; done < total; done += n)
    {
        for (Index i = 0; i < n; ++i)
        {
            const auto x = static_cast<float>(0.5 * std::sin(2.0 * M_PI * hz * static_cast<double>(clock + i) / sampleRate));
            patch.left[i] = x;
            patch.right[i] = rightInverted ? -x : x;
        }
        clock += n;
        patch.engine.process(inputs, 2, outputs, 2, n, nullptr, nullptr);
        if (done < settle)
            continue;
        for (Index i = 0; i < n; ++i)
        {
            inEnergy += double(patch.left[i]) * patch.left[i];
            leftEnergy += double(patch.outLeft[i]) * patch.outLeft[i];
            rightEnergy += double(patch.outRight[i]) * patch.outRight[i];
        }
    }
    return {std::sqrt(leftEnergy / inEnergy), std::sqrt(rightEnergy / inEnergy)};
}

} // namespace PRT::test
