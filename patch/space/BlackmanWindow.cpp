#include "patch/space/BlackmanWindow.h"

#include <cmath>

namespace PRT::dsp
{

void fillPeriodicBlackman(float* window, size_t n)
{
    constexpr double twoPi = 6.283185307179586;
    for (size_t p = 0; p < n; ++p)
    {
        double u = static_cast<double>(p) / static_cast<double>(n);
        if (u >= 0.5)
            u = 1.0 - u;
        const float c1 = static_cast<float>(std::cos(twoPi * u));
        const float c2 = static_cast<float>(std::cos(2.0 * twoPi * u));
        window[p] = static_cast<float>(0.42 - 0.5 * static_cast<double>(c1) + 0.08 * static_cast<double>(c2));
    }
}

} // namespace PRT::dsp
