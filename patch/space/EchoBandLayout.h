#pragma once

#include <cstdint>

namespace PRT::dsp
{

// Where the echo spectrum's 256 bands lie among the bins of the 4096-point transform: equal-width
// groups of the bins from 20 Hz up to 9000 Hz.
struct EchoBandLayout
{
    static constexpr int32_t bandCount = 256;
    // The transform's last bin below its mirror image: bins above it repeat lower ones.
    static constexpr int32_t nyquistBin = 2048;

    int32_t lowBin = 0;      // the first bin at or above 20 Hz
    int32_t highBin = 0;     // the last bin at or below 9000 Hz (at most the Nyquist bin)
    int32_t binSpan = 1;     // highBin − lowBin + 1
    // The bins the band sweep reads, one after the other. Above 144 kHz the span holds fewer bins
    // than there are bands, and bands of no bins would stall the sweep; the sweep then reads one bin
    // per band instead, some bins twice, so that the 256 bands still cover 20 to 9000 Hz.
    int32_t sweepLength = bandCount;

    // The bin that step s (0 .. sweepLength − 1) of the sweep reads.
    int32_t sweepBin(int32_t step) const
    {
        if (sweepLength <= binSpan)
            return lowBin + step;
        return lowBin + static_cast<int32_t>(static_cast<int64_t>(step) * binSpan / sweepLength);
    }
};

// The layout at sampleRate; a rate that is not a positive finite number gives the layout of bin 0.
EchoBandLayout computeEchoBandLayout(float sampleRate);

// The first bin of band x when binCount bins from lowBin are split into bandCount bands:
// floor(lowBin + x·binCount/bandCount), the product and the quotient in single precision; lowBin
// itself for a band count of 0.
double echoBandStart(float lowBin, float binCount, float bandCount, float x);

} // namespace PRT::dsp
