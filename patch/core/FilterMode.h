#pragma once

#include <cstdint>

namespace PRT::dsp
{

// The designs of BiquadDesigner. Modules keep their mode as a 64-bit integer member; any value
// outside 0..15 keeps the previous design.
enum FilterMode : std::int64_t
{
    LowPass = 0,
    HighPass = 1,
    BandPass = 2,              // 0 dB peak
    Notch = 3,
    Peak = 4,
    LowShelf = 5,              // q is the shelf slope
    HighShelf = 6,             // q is the shelf slope
    BandPassPeakQ = 7,         // peak gain q
    AllPass = 8,
    LowPassWithGain = 9,
    HighPassWithGain = 10,
    BandPassWithGain = 11,
    NotchWithGain = 12,
    BandPassPeakQWithGain = 13,
    AllPassWithGain = 14,
    PassThrough = 15,
};

} // namespace PRT::dsp
