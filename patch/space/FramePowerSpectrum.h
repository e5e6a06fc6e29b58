#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace PRT::dsp
{

// The power spectrum |X[k]|² of one frame of 4096 real samples, X the unscaled forward transform
// X[k] = Σ x[n]·e^(−2πi·k·n/4096), for every bin 0..4095.
//
// The frame is real, so its transform is found through a 2048-point complex radix-2 transform of the
// even and odd samples taken as real and imaginary parts, and one split pass; the upper bins mirror
// the lower ones. That is less than half the work of a 4096-point complex transform of the frame and
// gives the same bins to within single-precision rounding. Real and imaginary parts are kept apart so
// that the butterflies of each stage run over contiguous twiddles and vectorise.
class FramePowerSpectrum
{
public:
    static constexpr size_t frameSize = 4096;

    FramePowerSpectrum();

    // power[k] = |X[k]|², rounded as sqrt(re² + im²) squared in single precision.
    void compute(const float* frame, float* power);

private:
    static constexpr size_t half = frameSize / 2;
    static constexpr unsigned halfBits = 11;

    void transformHalf();

    std::array<uint16_t, half> bitReversed{};
    // Twiddles of every stage, stage by stage: the stage of span 2h holds cos and sin of 2π·j/(2h)
    // for j = 0..h−1, from index h − 1 on.
    alignas(32) std::array<float, half> stageCos{};
    alignas(32) std::array<float, half> stageSin{};
    // cos and sin of 2π·k/4096 for the split pass, k = 0..2048.
    std::array<float, half + 1> splitCos{};
    std::array<float, half + 1> splitSin{};
    alignas(32) std::array<float, half> re{};
    alignas(32) std::array<float, half> im{};
};

} // namespace PRT::dsp
