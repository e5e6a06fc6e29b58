#include "patch/space/FramePowerSpectrum.h"

#include <cmath>

namespace PRT::dsp
{
namespace
{
constexpr double twoPi = 6.283185307179586;

// sqrt(re² + im²) squared: the power as the magnitude's square.
inline float powerOf(float r, float i)
{
    const float sum = r * r + i * i;
    const float magnitude = sum > 0.0f ? std::sqrt(sum) : 0.0f;
    return magnitude * magnitude;
}
} // namespace

FramePowerSpectrum::FramePowerSpectrum()
{
    for (size_t n = 0; n < half; ++n)
    {
        size_t reversed = 0;
        for (unsigned bit = 0; bit < halfBits; ++bit)
            reversed |= ((n >> bit) & 1u) << (halfBits - 1 - bit);
        bitReversed[n] = static_cast<uint16_t>(reversed);
    }
    for (size_t h = 1; h < half; h *= 2)
        for (size_t j = 0; j < h; ++j)
        {
            const double angle = twoPi * static_cast<double>(j) / static_cast<double>(2 * h);
            stageCos[h - 1 + j] = static_cast<float>(std::cos(angle));
            stageSin[h - 1 + j] = static_cast<float>(std::sin(angle));
        }
    for (size_t k = 0; k <= half; ++k)
    {
        const double angle = twoPi * static_cast<double>(k) / static_cast<double>(frameSize);
        splitCos[k] = static_cast<float>(std::cos(angle));
        splitSin[k] = static_cast<float>(std::sin(angle));
    }
}

void FramePowerSpectrum::transformHalf()
{
    float* const r = re.data();
    float* const i = im.data();

    // Spans 2 and 4 together: their twiddles are 1 and −i.
    for (size_t s = 0; s < half; s += 4)
    {
        const float ar = r[s] + r[s + 1], ai = i[s] + i[s + 1];
        const float br = r[s] - r[s + 1], bi = i[s] - i[s + 1];
        const float cr = r[s + 2] + r[s + 3], ci = i[s + 2] + i[s + 3];
        const float dr = r[s + 2] - r[s + 3], di = i[s + 2] - i[s + 3];
        r[s] = ar + cr;
        i[s] = ai + ci;
        r[s + 2] = ar - cr;
        i[s + 2] = ai - ci;
        // (dr, di) times −i is (di, −dr).
        r[s + 1] = br + di;
        i[s + 1] = bi - dr;
        r[s + 3] = br - di;
        i[s + 3] = bi + dr;
    }

    for (size_t h = 4; h < half; h *= 2)
    {
        const float* const c = stageCos.data() + h - 1;
        const float* const sn = stageSin.data() + h - 1;
        for (size_t s = 0; s < half; s += 2 * h)
        {
            float* const r1 = r + s;
            float* const i1 = i + s;
            float* const r2 = r1 + h;
            float* const i2 = i1 + h;
            for (size_t j = 0; j < h; ++j)
            {
                const float tr = r2[j] * c[j] + i2[j] * sn[j];
                const float ti = i2[j] * c[j] - r2[j] * sn[j];
                r2[j] = r1[j] - tr;
                i2[j] = i1[j] - ti;
                r1[j] = r1[j] + tr;
                i1[j] = i1[j] + ti;
            }
        }
    }
}

void FramePowerSpectrum::compute(const float* frame, float* power)
{
    // z[n] = x[2n] + i·x[2n+1], in bit-reversed order.
    for (size_t n = 0; n < half; ++n)
    {
        const size_t from = 2 * static_cast<size_t>(bitReversed[n]);
        re[n] = frame[from];
        im[n] = frame[from + 1];
    }
    transformHalf();

    // X[k] = E[k] + e^(−2πik/4096)·O[k], with E and O the transforms of the even and odd samples:
    // E[k] = (Z[k] + conj Z[2048−k])/2, O[k] = (Z[k] − conj Z[2048−k])/(2i).
    power[0] = powerOf(re[0] + im[0], 0.0f);
    power[half] = powerOf(re[0] - im[0], 0.0f);
    for (size_t k = 1; k < half; ++k)
    {
        const size_t m = half - k;
        const float er = 0.5f * (re[k] + re[m]);
        const float ei = 0.5f * (im[k] - im[m]);
        const float orr = 0.5f * (im[k] + im[m]);
        const float oi = -0.5f * (re[k] - re[m]);
        const float c = splitCos[k];
        const float sn = splitSin[k];
        const float xr = er + (c * orr + sn * oi);
        const float xi = ei + (c * oi - sn * orr);
        const float p = powerOf(xr, xi);
        power[k] = p;
        power[frameSize - k] = p;
    }
}

} // namespace PRT::dsp
