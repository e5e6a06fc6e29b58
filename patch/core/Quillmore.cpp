#include "patch/core/Quillmore.h"

#include <algorithm>

namespace PRT
{

Quillmore::Quillmore() : GeneratedPatcher({"", 2, 2}, 0) {}

void Quillmore::processBlock(const SampleValue* const*, SampleValue* const* outputs, Index n)
{
    // Silent until the modules are created and routed.
    std::fill_n(outputs[0], n, SampleValue(0));
    std::fill_n(outputs[1], n, SampleValue(0));
}

} // namespace PRT
