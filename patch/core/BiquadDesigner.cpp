#include "patch/core/BiquadDesigner.h"

#include "patch/core/FilterMode.h"
#include "patch/core/GeneratedMath.h"

#include <cmath>

namespace PRT::dsp
{
namespace
{
struct Design
{
    double b0, b1, b2, a1, a2;
};

bool isFinite(const BiquadCoefficients& c)
{
    return std::isfinite(c.b0) && std::isfinite(c.b1) && std::isfinite(c.b2) && std::isfinite(c.a1) && std::isfinite(c.a2);
}

// Near 0 Hz and near half the rate a section's poles lie closer to the unit circle than single
// precision resolves (1 + a1 + a2 is about w0² / 2: 1e-9 for 5 Hz at 192 kHz), and the rounded
// coefficients may put a pole on or just outside it: a band-pass swept to its lowest frequency then
// grows without bound within milliseconds. The denominator is moved by the fewest steps of a1 (and
// a2 below 1) that bring both real-axis ends of the stability triangle strictly inside; a stable
// design is left exactly as it is.
void keepPolesInside(BiquadCoefficients& c)
{
    if (!(c.a2 < 1.0f))
        c.a2 = std::nextafter(1.0f, 0.0f);
    for (int step = 0; step < 64 && !(1.0 + static_cast<double>(c.a1) + static_cast<double>(c.a2) > 0.0); ++step)
        c.a1 = std::nextafter(c.a1, 4.0f);
    for (int step = 0; step < 64 && !(1.0 - static_cast<double>(c.a1) + static_cast<double>(c.a2) > 0.0); ++step)
        c.a1 = std::nextafter(c.a1, -4.0f);
}

Design shelf(bool high, double A, double c, double Bs)
{
    // The high shelf is the low shelf with the sign of every cos w0 term flipped and b1, a1 negated.
    const double sign = high ? -1.0 : 1.0;
    const double cs = sign * c;
    const double r = 1.0 / ((A + 1.0) + (A - 1.0) * cs + Bs);
    return {A * ((A + 1.0) - (A - 1.0) * cs + Bs) * r,
            sign * 2.0 * A * ((A - 1.0) - (A + 1.0) * cs) * r,
            A * ((A + 1.0) - (A - 1.0) * cs - Bs) * r,
            sign * -2.0 * ((A - 1.0) + (A + 1.0) * cs) * r,
            ((A + 1.0) + (A - 1.0) * cs - Bs) * r};
}
// Within a hair of half the sample rate the poles sit so close to z = −1 that a1, rounded to float,
// can reach 1 + a2 and put one outside the unit circle: a low-pass clamped to half the rate then
// blows up. Designs there move to 0.002 rad below it (a few Hz: 7 Hz at 44.1 kHz), where the
// stability margin (about 4e-6) is many float steps wide; the response is that of half the rate.
float awayFromHalfTheRate(float w0)
{
    constexpr float pi = 3.14159265f;
    constexpr float margin = 0.002f;
    return std::fabs(w0 - pi) < margin ? pi - margin : w0;
}
} // namespace

float BiquadDesigner::designAngle(float frequency) const
{
    return awayFromHalfTheRate(frequency * radiansPerHz_);
}

BiquadCoefficients BiquadDesigner::computeFilterCoefficients(float frequency, float q, float gain, float mode)
{
    if (!(mode > -1.0f && mode < 16.0f))
        return last_;
    const auto m = static_cast<int>(mode);
    if (m == PassThrough)
        return last_ = {1.0f, 0.0f, 0.0f, 0.0f, 0.0f};

    const float g = gain > 0.0f ? gain : 0.0f;
    const float qq = q > kMinimumQ ? q : kMinimumQ;
    const float w0 = designAngle(frequency);
    const double c = std::cos(w0);
    // |sin w0|: the float 2π lies above π, so a design at exactly half the sample rate lands just past
    // π where the sine turns negative; a negative alpha would put the poles outside the unit circle
    // (and make 1 + alpha vanish for some q). The magnitude designs the mirrored frequency just below
    // half the rate instead, which is the same response there.
    const double s = std::fabs(std::sin(w0));
    const double invQ = 1.0f / qq;
    const double alpha = s * 0.5 * invQ;
    const double r = 1.0 / (1.0 + alpha);
    const double a1 = -2.0 * c * r;
    const double a2 = (1.0 - alpha) * r;
    // g / (1 + alpha), written without 1/g so that a gain of 0 gives 0 rather than inf × 0.
    const double scaledGain = static_cast<double>(g) * r;

    Design d{};
    switch (m)
    {
    case LowPass: d = {(1.0 - c) / 2.0 * r, (1.0 - c) * r, (1.0 - c) / 2.0 * r, a1, a2}; break;
    case HighPass: d = {(1.0 + c) / 2.0 * r, -(1.0 + c) * r, (1.0 + c) / 2.0 * r, a1, a2}; break;
    case BandPass: d = {alpha * r, 0.0, -alpha * r, a1, a2}; break;
    case Notch: d = {r, -2.0 * c * r, r, a1, a2}; break;
    case Peak:
    {
        const double A = safeSqrt(g);
        // At A = 0 the formulas give the same polynomial above and below the line (H = 1) with
        // poles on the unit circle; the exact pass-through avoids ringing on rounding errors.
        if (A == 0.0)
        {
            d = {1.0, 0.0, 0.0, 0.0, 0.0};
            break;
        }
        const double invA = 1.0f / static_cast<float>(A);
        const double rp = 1.0 / (1.0 + alpha * invA);
        d = {(1.0 + alpha * A) * rp, -2.0 * c * rp, (1.0 - alpha * A) * rp, -2.0 * c * rp, (1.0 - alpha * invA) * rp};
        break;
    }
    case LowShelf:
    case HighShelf:
    {
        const double A = safeSqrt(g);
        // Every numerator term carries A: at gain 0 the response is silence, and its denominator
        // can vanish at the band edges, so give the silent section directly.
        if (A == 0.0)
        {
            d = {0.0, 0.0, 0.0, 0.0, 0.0};
            break;
        }
        const double B = safeSqrt(static_cast<float>((A * A + 1.0) * invQ - (A - 1.0) * (A - 1.0)));
        d = shelf(m == HighShelf, A, c, B * s);
        break;
    }
    case BandPassPeakQ: d = {alpha * qq * r, 0.0, -alpha * qq * r, a1, a2}; break;
    case AllPass: d = {(1.0 - alpha) * r, -2.0 * c * r, 1.0, a1, a2}; break;
    case LowPassWithGain: d = {(1.0 - c) / 2.0 * scaledGain, (1.0 - c) * scaledGain, (1.0 - c) / 2.0 * scaledGain, a1, a2}; break;
    case HighPassWithGain: d = {(1.0 + c) / 2.0 * scaledGain, -(1.0 + c) * scaledGain, (1.0 + c) / 2.0 * scaledGain, a1, a2}; break;
    case BandPassWithGain: d = {alpha * g * r, 0.0, -alpha * g * r, a1, a2}; break;
    case NotchWithGain: d = {scaledGain, -2.0 * c * scaledGain, scaledGain, a1, a2}; break;
    case BandPassPeakQWithGain: d = {alpha * g * qq * r, 0.0, -alpha * g * qq * r, a1, a2}; break;
    case AllPassWithGain: d = {(1.0 - alpha) * scaledGain, -2.0 * c * scaledGain, g, a1, a2}; break;
    default: return last_;
    }

    BiquadCoefficients design{static_cast<float>(d.b0), static_cast<float>(d.b1), static_cast<float>(d.b2),
                              static_cast<float>(d.a1), static_cast<float>(d.a2)};
    if (!isFinite(design))
        return last_;
    keepPolesInside(design);
    return last_ = design;
}

} // namespace PRT::dsp
