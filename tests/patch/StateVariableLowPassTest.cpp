#include "patch/core/BiquadDesigner.h"
#include "patch/core/BiquadState.h"
#include "patch/core/FilterMode.h"
#include "patch/core/StateVariableLowPass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

using namespace PRT::dsp;

namespace
{
// Uniform noise in [-0.5, 0.5).
struct Noise
{
    std::uint32_t seed = 1;
    float operator()()
    {
        seed = seed * 1664525u + 1013904223u;
        return 0.5f * (static_cast<float>(seed >> 8) / 8388608.0f - 1.0f);
    }
};


// The designer's low-pass at the same angle and q, in double precision throughout.
struct ReferenceLowPass
{
    double b0, b1, a1, a2;
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
    ReferenceLowPass(float w0, float q)
    {
        const double c = std::cos(double(w0)), alpha = std::sin(double(w0)) / (2.0 * double(q)), r = 1.0 / (1.0 + alpha);
        b0 = (1.0 - c) / 2.0 * r;
        b1 = (1.0 - c) * r;
        a1 = -2.0 * c * r;
        a2 = (1.0 - alpha) * r;
    }
    double process(double x)
    {
        const double y = b0 * (x + x2) + b1 * x1 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};
} // namespace

// Played steadily it is the designer's low-pass: within the last bits of the signal of a double-
// precision reference, across the range, at the clamp to half the rate and at a few hertz (where the
// single-precision direct-form section strays further).
TEST(StateVariableLowPass, SteadilyGivesTheDesignersLowPass)
{
    struct Row
    {
        float sampleRate, frequency, q;
    };
    const Row rows[] = { { 44100.0f, 1.0f, 0.5f },      { 44100.0f, 1000.0f, 0.5f },   { 44100.0f, 10000.0f, 0.5f },
                         { 44100.0f, 21708.0f, 0.5f },  { 44100.0f, 22050.0f, 0.5f },  { 48000.0f, 24000.0f, 0.5f },
                         { 96000.0f, 21708.0f, 0.707f }, { 192000.0f, 5.0f, 2.0f },     { 48000.0f, 3000.0f, 0.1f } };
    for (const Row& row : rows)
    {
        BiquadDesigner designer;
        designer.prepare(row.sampleRate);
        const float w0 = designer.designAngle(row.frequency);
        ReferenceLowPass reference(w0, row.q);
        StateVariableLowPass lowPass;
        lowPass.design(w0, row.q);
        const BiquadCoefficients c = designer.computeFilterCoefficients(row.frequency, row.q, 1.0f, float(LowPass));
        BiquadState direct;
        Noise noise;
        double difference = 0.0, directDifference = 0.0;
        for (int i = 0; i < static_cast<int>(row.sampleRate); ++i)
        {
            const float x = noise();
            const double y = reference.process(x);
            difference = std::max(difference, std::fabs(lowPass.process(x) - y));
            directDifference = std::max(directDifference, std::fabs(direct.process(x, c) - y));
        }
        EXPECT_LT(difference, 1e-5) << row.sampleRate << " Hz rate, " << row.frequency << " Hz, q " << row.q;
        EXPECT_LE(difference, directDifference + 1e-6) << row.sampleRate << " Hz rate, " << row.frequency << " Hz, q " << row.q;
    }
}

// A redesign while it plays carries the signal over: jumps of the cut-off between far below and just
// under half the rate, either way, every 512 samples, leave at most a step of the signal's size that
// dies out at half the rate, under four times the noise's peak. The direct-form section read its old
// outputs under the new poles and rang at 13 to 300 times the noise's peak, or grew without bound.
TEST(StateVariableLowPass, CutOffJumpsAddNoRing)
{
    struct Row
    {
        float sampleRate, low, high;
    };
    const Row rows[] = { { 44100.0f, 10000.0f, 22050.0f }, { 44100.0f, 5000.0f, 21708.0f }, { 48000.0f, 1.0f, 24000.0f },
                         { 96000.0f, 2000.0f, 47000.0f } };
    for (const Row& row : rows)
    {
        BiquadDesigner designer;
        designer.prepare(row.sampleRate);
        StateVariableLowPass lowPass;
        Noise noise;
        float peak = 0.0f;
        for (int block = 0; block < 200; ++block)
        {
            lowPass.design(designer.designAngle(block % 2 == 0 ? row.low : row.high), 0.5f);
            for (int i = 0; i < 512; ++i)
            {
                const float y = lowPass.process(noise());
                peak = std::isfinite(y) ? std::max(peak, std::fabs(y)) : INFINITY;
            }
        }
        EXPECT_LT(peak, 2.0f) << row.sampleRate << " Hz rate, " << row.low << " to " << row.high << " Hz";
    }
}

// Hostile q: the updater floors it at 1e-9, and an infinite one leaves no damping; both stay finite.
TEST(StateVariableLowPass, ExtremeQStaysFinite)
{
    for (const float q : { BiquadDesigner::kMinimumQ, 1e9f, INFINITY })
    {
        BiquadDesigner designer;
        designer.prepare(44100.0f);
        StateVariableLowPass lowPass;
        Noise noise;
        bool finite = true;
        for (int block = 0; block < 100; ++block)
        {
            lowPass.design(designer.designAngle(block % 2 == 0 ? 100.0f : 22050.0f), q);
            for (int i = 0; i < 512; ++i)
                finite = finite && std::isfinite(lowPass.process(noise()));
        }
        EXPECT_TRUE(finite) << "q " << q;
    }
}
