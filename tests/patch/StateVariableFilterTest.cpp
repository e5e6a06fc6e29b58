// The state-variable filter against the designer's low-pass, band-pass and high-pass, and redesigned
// while noise plays through it.
#include "patch/core/BiquadDesigner.h"
#include "patch/core/BiquadState.h"
#include "patch/core/FilterMode.h"
#include "patch/core/StateVariableFilter.h"

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

using Response = StateVariableOutput;

const char* nameOf(Response response)
{
    return response == Response::LowPass ? "low-pass" : response == Response::BandPass ? "band-pass" : "high-pass";
}

float modeOf(Response response)
{
    return static_cast<float>(response == Response::LowPass ? LowPass : response == Response::BandPass ? BandPass : HighPass);
}

// One filter of each output, played through the one the row asks for.
struct AnyFilter
{
    StateVariableFilter<Response::LowPass> lowPass;
    StateVariableFilter<Response::BandPass> bandPass;
    StateVariableFilter<Response::HighPass> highPass;
    Response response;

    explicit AnyFilter(Response r) : response(r) {}
    void design(float w0, float q)
    {
        lowPass.design(w0, q);
        bandPass.design(w0, q);
        highPass.design(w0, q);
    }
    float process(float x)
    {
        return response == Response::LowPass ? lowPass.process(x)
               : response == Response::BandPass ? bandPass.process(x)
                                                 : highPass.process(x);
    }
};

// The designer's section at the same angle and q, in double precision throughout.
struct ReferenceSection
{
    double b0 = 0.0, b1 = 0.0, b2 = 0.0, a1, a2;
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
    ReferenceSection(Response response, float w0, float q)
    {
        const double c = std::cos(double(w0)), alpha = std::sin(double(w0)) / (2.0 * double(q)), r = 1.0 / (1.0 + alpha);
        switch (response)
        {
        case Response::LowPass: b0 = b2 = (1.0 - c) / 2.0 * r, b1 = (1.0 - c) * r; break;
        case Response::BandPass: b0 = alpha * r, b1 = 0.0, b2 = -alpha * r; break;
        case Response::HighPass: b0 = b2 = (1.0 + c) / 2.0 * r, b1 = -(1.0 + c) * r; break;
        }
        a1 = -2.0 * c * r;
        a2 = (1.0 - alpha) * r;
    }
    double process(double x)
    {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};
} // namespace

// Played steadily each output is the designer's response: within the last bits of the signal of a
// double-precision reference, across the range, at the clamp to half the rate and at a few hertz
// (where the single-precision direct-form section strays further).
TEST(StateVariableFilter, SteadilyGivesTheDesignersResponses)
{
    struct Row
    {
        Response response;
        float sampleRate, frequency, q;
    };
    const Row rows[] = {
        { Response::LowPass, 44100.0f, 1.0f, 0.5f },       { Response::LowPass, 44100.0f, 1000.0f, 0.5f },
        { Response::LowPass, 44100.0f, 10000.0f, 0.5f },   { Response::LowPass, 44100.0f, 21708.0f, 0.5f },
        { Response::LowPass, 44100.0f, 22050.0f, 0.5f },   { Response::LowPass, 48000.0f, 24000.0f, 0.5f },
        { Response::LowPass, 96000.0f, 21708.0f, 0.707f }, { Response::LowPass, 192000.0f, 5.0f, 2.0f },
        { Response::LowPass, 48000.0f, 3000.0f, 0.1f },
        // The input filter's range: 20 Hz to 15 kHz, q 0.1 to 2.
        { Response::HighPass, 44100.0f, 20.0f, 0.1f },     { Response::HighPass, 44100.0f, 20.0f, 2.0f },
        { Response::HighPass, 44100.0f, 1000.0f, 0.8f },   { Response::HighPass, 44100.0f, 15000.0f, 2.0f },
        { Response::HighPass, 22050.0f, 11025.0f, 0.1f },  { Response::HighPass, 192000.0f, 20.0f, 2.0f },
        { Response::HighPass, 192000.0f, 1.0f, 0.1f },     { Response::HighPass, 192000.0f, 15000.0f, 0.1f },
        // The echo filter's: its sweep reaches from 1 Hz to 18 kHz, q 0.01 to 2.
        { Response::BandPass, 44100.0f, 1.0f, 2.0f },      { Response::BandPass, 44100.0f, 20.0f, 0.01f },
        { Response::BandPass, 44100.0f, 600.0f, 0.25f },   { Response::BandPass, 44100.0f, 9000.0f, 2.0f },
        { Response::BandPass, 44100.0f, 18000.0f, 0.01f }, { Response::BandPass, 192000.0f, 1.0f, 0.01f },
        { Response::BandPass, 192000.0f, 1.0f, 2.0f },     { Response::BandPass, 192000.0f, 18000.0f, 2.0f } };
    for (const Row& row : rows)
    {
        BiquadDesigner designer;
        designer.prepare(row.sampleRate);
        const float w0 = designer.designAngle(row.frequency);
        ReferenceSection reference(row.response, w0, row.q);
        AnyFilter filter(row.response);
        filter.design(w0, row.q);
        const BiquadCoefficients c = designer.computeFilterCoefficients(row.frequency, row.q, 1.0f, modeOf(row.response));
        BiquadState direct;
        Noise noise;
        double difference = 0.0, directDifference = 0.0;
        for (int i = 0; i < static_cast<int>(row.sampleRate); ++i)
        {
            const float x = noise();
            const double y = reference.process(x);
            difference = std::max(difference, std::fabs(filter.process(x) - y));
            directDifference = std::max(directDifference, std::fabs(direct.process(x, c) - y));
        }
        EXPECT_LT(difference, 1e-5) << nameOf(row.response) << ", " << row.sampleRate << " Hz rate, " << row.frequency
                                    << " Hz, q " << row.q;
        EXPECT_LE(difference, directDifference + 1e-6)
            << nameOf(row.response) << ", " << row.sampleRate << " Hz rate, " << row.frequency << " Hz, q " << row.q;
    }
}

// A redesign while it plays carries the signal over: the cut-off jumping between far below and just
// under half the rate, or the q between its ends, every 512 samples, leaves at most a step of the
// signal's size that dies out, under four times the noise's peak (2.9 times at most). The direct-form
// section read its old outputs under the new poles and rang: the low-pass at 13 to 300 times the
// noise's peak, or without bound; the high-pass and band-pass at 7 to 1200 times where the jump went
// down to a few hertz or up in q at a low cut-off, their poles next to their zeros at z = 1. Carrying
// the band-pass signal over unscaled, as the low-pass alone could, rang at 56 times when q fell.
TEST(StateVariableFilter, RedesignsWhilePlayingAddNoRing)
{
    struct Setting
    {
        float frequency, q;
    };
    struct Row
    {
        Response response;
        float sampleRate;
        Setting a, b;
    };
    const Row rows[] = {
        { Response::LowPass, 44100.0f, { 10000.0f, 0.5f }, { 22050.0f, 0.5f } },
        { Response::LowPass, 44100.0f, { 5000.0f, 0.5f }, { 21708.0f, 0.5f } },
        { Response::LowPass, 48000.0f, { 1.0f, 0.5f }, { 24000.0f, 0.5f } },
        { Response::LowPass, 96000.0f, { 2000.0f, 0.5f }, { 47000.0f, 0.5f } },
        { Response::HighPass, 44100.0f, { 15000.0f, 2.0f }, { 20.0f, 2.0f } },
        { Response::HighPass, 44100.0f, { 15000.0f, 0.1f }, { 20.0f, 2.0f } },
        { Response::HighPass, 44100.0f, { 20.0f, 0.1f }, { 20.0f, 2.0f } },
        { Response::HighPass, 192000.0f, { 15000.0f, 2.0f }, { 20.0f, 2.0f } },
        { Response::HighPass, 192000.0f, { 20.0f, 0.1f }, { 20.0f, 2.0f } },
        { Response::BandPass, 44100.0f, { 18000.0f, 2.0f }, { 1.0f, 2.0f } },
        { Response::BandPass, 44100.0f, { 9000.0f, 0.01f }, { 20.0f, 2.0f } },
        { Response::BandPass, 44100.0f, { 9000.0f, 2.0f }, { 9000.0f, 0.01f } },
        { Response::BandPass, 192000.0f, { 18000.0f, 0.01f }, { 1.0f, 2.0f } },
        { Response::BandPass, 192000.0f, { 20.0f, 0.01f }, { 20.0f, 2.0f } } };
    for (const Row& row : rows)
    {
        BiquadDesigner designer;
        designer.prepare(row.sampleRate);
        AnyFilter filter(row.response);
        Noise noise;
        float peak = 0.0f;
        for (int block = 0; block < 200; ++block)
        {
            const Setting& s = block % 2 == 0 ? row.a : row.b;
            filter.design(designer.designAngle(s.frequency), s.q);
            for (int i = 0; i < 512; ++i)
            {
                const float y = filter.process(noise());
                peak = std::isfinite(y) ? std::max(peak, std::fabs(y)) : INFINITY;
            }
        }
        EXPECT_LT(peak, 2.0f) << nameOf(row.response) << ", " << row.sampleRate << " Hz rate, " << row.a.frequency
                              << " Hz q " << row.a.q << " to " << row.b.frequency << " Hz q " << row.b.q;
    }
}

// Hostile q: the updater floors it at 1e-9, and an infinite one leaves no damping; steady or jumping
// between them, every output stays finite.
TEST(StateVariableFilter, ExtremeQStaysFinite)
{
    struct Row
    {
        float a, b;
    };
    const Row rows[] = { { BiquadDesigner::kMinimumQ, BiquadDesigner::kMinimumQ }, { 1e9f, 1e9f }, { INFINITY, INFINITY },
                         { BiquadDesigner::kMinimumQ, INFINITY },                  { BiquadDesigner::kMinimumQ, 2.0f } };
    for (const Response response : { Response::LowPass, Response::BandPass, Response::HighPass })
        for (const Row& row : rows)
        {
            BiquadDesigner designer;
            designer.prepare(44100.0f);
            AnyFilter filter(response);
            Noise noise;
            bool finite = true;
            for (int block = 0; block < 100; ++block)
            {
                filter.design(designer.designAngle(block % 2 == 0 ? 100.0f : 22050.0f), block % 2 == 0 ? row.a : row.b);
                for (int i = 0; i < 512; ++i)
                    finite = finite && std::isfinite(filter.process(noise()));
            }
            EXPECT_TRUE(finite) << nameOf(response) << ", q " << row.a << " and " << row.b;
        }
}
