#pragma once

#include "patch/core/Quillmore.h"
#include "patch/core/SignalBuffer.h"

namespace PRT
{

// "DelToSprings": the echo sent on into the springs, at the echo-to-springs gain.
class Quillmore::PRTSubpatcher_52 : public GeneratedPatcher
{
public:
    PRTSubpatcher_52() : GeneratedPatcher({"DelToSprings", 2, 3}) {}

    // The echo-to-springs gain g of the top level (0..100).
    virtual void setGainInput(float g)
    {
        gainInput = g;
        gain = g * gainFactor;
    }

    float gainFactor = 0.01f;
    float gainInput = 0.0f;
    float gain = 0.0f;

protected:
    // Stand-in until the send is built: nothing goes to the springs.
    void processBlock(const SampleValue* const*, SampleValue* const* outputs, Index n) override
    {
        for (int output = 0; output < 3; ++output)
            fillSignalRange(outputs[output], n, 0.0f, 0);
    }
};

} // namespace PRT
