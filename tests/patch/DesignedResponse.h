#pragma once

#include "tests/patch/ReferenceDesign.h"
#include "tests/patch/SineGain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace PRT::test
{

// A settled filter module against the designer's response at its setting (hz0, q, mode): a unit sine
// at each probe frequency, played for two seconds and measured over the last (a whole number of
// periods, the onset long gone), comes out of each channel within 0.05 dB of the design wherever that
// is above -60 dB. setting names the case in a failure.
inline void expectDesignedResponse(PatchEngine& patch, float rate, float hz0, float q, std::int64_t mode,
                                   std::initializer_list<double> probes, const std::string& setting)
{
    for (const double hz : probes)
    {
        const double expected = designedGain(rate, hz0, q, 1.0f, mode, hz);
        if (expected < 1e-3)
            continue;
        const SineGains gains = measureSineGains(patch, hz, rate, 2 * static_cast<size_t>(rate));
        EXPECT_NEAR(20.0 * std::log10(gains.left / expected), 0.0, 0.05) << setting << ", " << hz << " Hz";
        EXPECT_NEAR(20.0 * std::log10(gains.right / expected), 0.0, 0.05) << setting << ", " << hz << " Hz";
    }
}

} // namespace PRT::test
