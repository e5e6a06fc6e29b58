#pragma once

#include "patch/core/BiquadCoefficients.h"
#include "patch/core/BiquadDesigner.h"

#include <cmath>
#include <cstdint>

namespace PRT::dsp
{

// What one sample asks of a filter; the updater decides whether it designs anew.
struct FilterSettings
{
    float frequency;
    float q;
    float gain; // 1 for a module without a gain input
    std::int64_t mode;
};

// Per-filter bookkeeping in front of the designer: clamps the frequency to [1 Hz, sr/2] every
// sample and, once per update interval (the prepared block size, so at block starts), redesigns
// when the frequency, q, gain or mode changed. Between checks it hands out the held coefficients.
class FilterCoefficientUpdater
{
public:
    void prepare(float sampleRate, std::uint32_t blockSize, std::int64_t mode)
    {
        designer_.prepare(sampleRate);
        halfSampleRate_ = static_cast<double>(sampleRate) * 0.5;
        updateInterval_ = static_cast<float>(blockSize);
        updateCounter_ = 0.0f;
        held_ = {};
        lastFrequency_ = lastQ_ = lastGain_ = -1.0f;
        lastMode_ = mode;
        forceUpdate_ = true;
    }

    // gain is 1 for a module without a gain input.
    const BiquadCoefficients& next(float frequency, float q, float gain, std::int64_t mode)
    {
        if (redesignDue(frequency, q, gain, mode))
            held_ = designer_.computeFilterCoefficients(lastFrequency_, lastQ_, lastGain_, static_cast<float>(mode));
        return held_;
    }

    // The bookkeeping of next() alone, for a filter that designs itself: true at a check whose
    // inputs differ from the last design's (or the first after prepare); lastFrequency() and lastQ()
    // then hold the clamped inputs to design from.
    bool redesignDue(float frequency, float q, float gain, std::int64_t mode)
    {
        // max(1, f) written so that NaN designs at 1 Hz.
        const float f = static_cast<double>(frequency) > halfSampleRate_ ? static_cast<float>(halfSampleRate_)
                        : frequency > 1.0f                                ? frequency
                                                                          : 1.0f;
        updateCounter_ -= 1.0f;
        if (updateCounter_ > 0.0f)
            return false;

        const float qq = q > BiquadDesigner::kMinimumQ ? q : BiquadDesigner::kMinimumQ;
        const float g = gain > 0.0f ? gain : 0.0f;
        updateCounter_ = updateInterval_;
        if (!(forceUpdate_ || f != lastFrequency_ || qq != lastQ_ || g != lastGain_ || mode != lastMode_))
            return false;
        lastFrequency_ = f;
        lastQ_ = qq;
        lastGain_ = g;
        lastMode_ = mode;
        forceUpdate_ = false;
        return true;
    }
    float lastFrequency() const { return lastFrequency_; }
    float lastQ() const { return lastQ_; }
    float lastGain() const { return lastGain_; }

    // How many of the coming samples are not checks: the held coefficients serve them unchanged, so
    // a module may run them as one stretch and skip() the updater past them.
    std::uint32_t samplesBeforeCheck() const
    {
        return updateCounter_ > 1.0f ? static_cast<std::uint32_t>(std::ceil(updateCounter_) - 1.0f) : 0u;
    }
    void skip(std::uint32_t samples) { updateCounter_ -= static_cast<float>(samples); }

    const BiquadCoefficients& coefficients() const { return held_; }
    BiquadDesigner& designer() { return designer_; }

private:
    BiquadDesigner designer_;
    double halfSampleRate_ = 22050.0;
    float updateInterval_ = 0.0f;
    float updateCounter_ = 0.0f;
    float lastFrequency_ = -1.0f;
    float lastQ_ = -1.0f;
    float lastGain_ = -1.0f;
    std::int64_t lastMode_ = 0;
    bool forceUpdate_ = true;
    BiquadCoefficients held_;
};

// Runs a block of n samples past the updater's checks: check(i) at each sample the updater checks
// (it asks the updater whether to design, and designs), then run(begin, end) on each stretch of
// samples that one design serves: the checked sample alone, or the samples up to the next check.
template <typename Check, typename Run>
void runBetweenChecks(FilterCoefficientUpdater& updater, std::uint32_t n, Check&& check, Run&& run)
{
    std::uint32_t i = 0;
    while (i < n)
    {
        if (updater.samplesBeforeCheck() == 0)
        {
            check(i);
            run(i, i + 1);
            ++i;
            continue;
        }
        const std::uint32_t stretch = n - i < updater.samplesBeforeCheck() ? n - i : updater.samplesBeforeCheck();
        run(i, i + stretch);
        updater.skip(stretch);
        i += stretch;
    }
}

// Runs a block of n samples through filters that one updater designs: design(i) is called at each
// sample the updater checks (it calls the updater's next and returns the coefficients), and
// filter(begin, end, coefficients) runs each stretch of samples in between, on the held ones.
template <typename Design, typename Filter>
void runInCoefficientStretches(FilterCoefficientUpdater& updater, std::uint32_t n, Design&& design, Filter&& filter)
{
    BiquadCoefficients held = updater.coefficients();
    runBetweenChecks(
        updater, n, [&](std::uint32_t i) { held = design(i); },
        [&](std::uint32_t begin, std::uint32_t end) {
            // A copy, so that the coefficients stay in registers while the outputs are written.
            const BiquadCoefficients c = held;
            filter(begin, end, c);
        });
}

} // namespace PRT::dsp
