#include "patch/core/HeldNoise.h"

namespace PRT::dsp
{

void HeldNoise::take(std::uint32_t i)
{
    advanceRandomState(noise_.state(), i - drawn_);
    held_ = noise_.next();
    drawn_ = i + 1;
}

} // namespace PRT::dsp
