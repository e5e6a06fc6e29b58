#pragma once

#include <cstddef>

namespace PRT::dsp
{

// The periodic Blackman window of length n: w[p] = 0.42 − 0.5·cos(2πu) + 0.08·cos(4πu), u = p/n,
// each cosine evaluated in double precision and rounded to single precision, the sum rounded to
// single precision. The second half mirrors the first (the cosines are taken at 1 − u there).
void fillPeriodicBlackman(float* window, size_t n);

} // namespace PRT::dsp
