#pragma once

#include "patch/core/BiquadState.h"
#include "patch/core/FilterCoefficientUpdater.h"
#include "patch/core/StereoSections.h"

#include <cstdint>

namespace PRT::dsp
{

// A left and a right second-order section on the coefficients of one updater: the filter of every
// module that filters both channels alike.
class StereoBiquad : public StereoSections<BiquadState>
{
public:
    // settingsAt(i) gives sample i's settings; it is asked only at the samples the updater checks.
    template <typename SettingsAt>
    void process(const float* inLeft, const float* inRight, float* outLeft, float* outRight, std::uint32_t n,
                 SettingsAt&& settingsAt)
    {
        // The states in locals, so that they stay in registers while the outputs are written.
        BiquadState l = left_;
        BiquadState r = right_;
        runInCoefficientStretches(
            updater_, n,
            [&](std::uint32_t i) -> const BiquadCoefficients& {
                const FilterSettings s = settingsAt(i);
                return updater_.next(s.frequency, s.q, s.gain, s.mode);
            },
            [&](std::uint32_t begin, std::uint32_t end, const BiquadCoefficients& c) {
                for (std::uint32_t i = begin; i < end; ++i)
                {
                    outLeft[i] = l.process(inLeft[i], c);
                    outRight[i] = r.process(inRight[i], c);
                }
            });
        left_ = l;
        right_ = r;
    }

    // The coefficients of the last design.
    const BiquadCoefficients& coefficients() const { return updater_.coefficients(); }
};

} // namespace PRT::dsp
