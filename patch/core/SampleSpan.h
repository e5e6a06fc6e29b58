#pragma once

#include <cstddef>

namespace PRT::dsp
{

// Sample memory that a signal object works over without owning it: a module binds it to the
// storage of its data reference and rebinds it whenever that storage is replaced.
template <typename Sample>
struct BasicSampleSpan
{
    Sample* data = nullptr;
    std::size_t size = 0;

    bool empty() const { return data == nullptr || size == 0; }
};

// 64-bit samples (the cosine table); delay lines, which are only ever written floats, hold floats.
using SampleSpan = BasicSampleSpan<double>;
using FloatSampleSpan = BasicSampleSpan<float>;

} // namespace PRT::dsp
