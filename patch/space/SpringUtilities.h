#pragma once

#include "patch/core/NumberBox.h"
#include "patch/core/Quillmore.h"

namespace PRT
{

// "SpringUtilities": routes SpringDecay and SpringSize into spring model A's controls and SpringMix
// into the springs mixer. It has no signals.
class Quillmore::PRTSubpatcher_43 : public GeneratedPatcher
{
public:
    PRTSubpatcher_43();

    // SpringDecay 0..100: the model's diffusion, decay and damping.
    virtual void setDecayInput(float springDecay);
    // SpringSize 4..12: the model's tank length (in samples) and tap spread.
    virtual void setSizeInput(float springSize);

    void setupObjects() override;

    NumberBox number_obj_57{*this, HashedText("SpringUtilities/number_obj-57")}; // gen01Diffusion
    NumberBox number_obj_4{*this, HashedText("SpringUtilities/number_obj-4")};   // gen01Decay
    NumberBox number_obj_10{*this, HashedText("SpringUtilities/number_obj-10")}; // gen01Damping
    NumberBox number_obj_45{*this, HashedText("SpringUtilities/number_obj-45")}; // gen01Spread
    NumberBox number_obj_92{*this, HashedText("SpringUtilities/number_obj-92")}; // SpringMix

    float decayFactor = 0.01f;
    float mixFactor = 0.01f;
    // The tank length's multiplier: the sample rate, 0 until the first prepare.
    float lengthRate = 0.0f;

protected:
    // A new sample rate reaches the length multiplier, and the tank length is formed again from the
    // last SpringSize, so that the tanks keep their length in seconds at the new rate.
    void prepareSignalObjects(bool changed) override;
    void processBlock(const SampleValue* const*, SampleValue* const*, Index) override {}

private:
    Quillmore& topLevel();
    void writeLength();

    // SpringSize mapped to seconds, kept for a change of rate; negative until a size arrives.
    float lengthSeconds = -1.0f;
};

} // namespace PRT
