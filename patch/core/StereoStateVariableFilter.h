#pragma once

#include "patch/core/FilterCoefficientUpdater.h"
#include "patch/core/StateVariableFilter.h"
#include "patch/core/StereoSections.h"

#include <cstdint>

namespace PRT::dsp
{

// A left and a right state-variable section on the designs of one updater, for a module that filters
// both channels alike and moves its cut-off or q while it plays: the updater decides when to redesign
// as for a direct-form section, and a redesign carries the signal over instead of ringing. A high-pass
// output is scaled by the gain, as the designer's HighPassWithGain; the other outputs take no gain.
template <StateVariableOutput output>
class StereoStateVariableFilter : public StereoSections<StateVariableFilter<output>>
{
    using Base = StereoSections<StateVariableFilter<output>>;
    using Base::left_;
    using Base::right_;
    using Base::updater_;

public:
    // settingsAt(i) gives sample i's settings; it is asked only at the samples the updater checks.
    template <typename SettingsAt>
    void process(const float* inLeft, const float* inRight, float* outLeft, float* outRight, std::uint32_t n,
                 SettingsAt&& settingsAt)
    {
        // The filters in locals, so that they stay in registers while the outputs are written.
        StateVariableFilter<output> l = left_;
        StateVariableFilter<output> r = right_;
        runBetweenChecks(
            updater_, n,
            [&](std::uint32_t i) {
                const FilterSettings s = settingsAt(i);
                if (!updater_.redesignDue(s.frequency, s.q, s.gain, s.mode))
                    return;
                const StateVariableDesign d =
                    StateVariableDesign::of(updater_.designer().designAngle(updater_.lastFrequency()), updater_.lastQ());
                l.design(d);
                r.design(d);
            },
            [&](std::uint32_t begin, std::uint32_t end) {
                if constexpr (output == StateVariableOutput::HighPass)
                {
                    const float gain = updater_.lastGain();
                    for (std::uint32_t i = begin; i < end; ++i)
                    {
                        outLeft[i] = gain * l.process(inLeft[i]);
                        outRight[i] = gain * r.process(inRight[i]);
                    }
                }
                else
                {
                    for (std::uint32_t i = begin; i < end; ++i)
                    {
                        outLeft[i] = l.process(inLeft[i]);
                        outRight[i] = r.process(inRight[i]);
                    }
                }
            });
        left_ = l;
        right_ = r;
    }

    // The settings of the last design, after the updater's clamps (−1 before the first).
    float designedFrequency() const { return updater_.lastFrequency(); }
    float designedQ() const { return updater_.lastQ(); }
};

} // namespace PRT::dsp
