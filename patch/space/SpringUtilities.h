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

protected:
    void processBlock(const SampleValue* const*, SampleValue* const*, Index) override {}

private:
    Quillmore& topLevel();
};

} // namespace PRT
