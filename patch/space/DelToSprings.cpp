#include "patch/space/DelToSprings.h"

#include <cmath>

namespace PRT
{

void Quillmore::PRTSubpatcher_52::processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n)
{
    // A gain that is not finite is not followed: the send holds its level.
    const SampleValue* g = sendGain.render(std::isfinite(gain) ? gain : sendGain.value(), n);
    const SampleValue* eL = inputs[0];
    const SampleValue* eR = inputs[1];
    SampleValue* outL = outputs[0];
    SampleValue* outR = outputs[1];
    SampleValue* sum = outputs[2];
    for (Index i = 0; i < n; ++i)
    {
        const float sendL = g[i] * eL[i];
        const float sendR = g[i] * eR[i];
        outL[i] = sendL;
        outR[i] = sendR;
        sum[i] = sendL + sendR;
    }
}

} // namespace PRT
