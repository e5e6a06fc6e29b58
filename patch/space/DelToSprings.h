#pragma once

#include "patch/core/Quillmore.h"
#include "patch/core/SignalBuffer.h"
#include "patch/core/SmoothedSignal.h"

namespace PRT
{

// "DelToSprings": the echo sent on into the springs at the echo-to-springs gain, which the top level
// forms as EchoMix × EchoToSpring × SendRetMode (so nothing is sent in wet/dry mode). The gain
// glides by 0.01 of the distance per sample from 0 at start-up. Its third output, the send summed
// to mono, goes nowhere.
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
    float gain = 0.0f; // the target of the glide

    SmoothedSignal sendGain{*this, 0.01f};

protected:
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;
};

} // namespace PRT
