#pragma once

#include "patch/core/GeneratedPatcher.h"

namespace PRT
{

// The generated top-level patcher. Its module classes are nested in it (so that they may reach the
// top level's members) and declared here, in member order; each is defined in a file of its own,
// named after the module's display name, as `class Quillmore::PRTSubpatcher_NN : public
// GeneratedPatcher`, and a module's own modules are declared inside its class the same way
// (`Quillmore::PRTSubpatcher_40::PRTSubpatcher_29`, "NoiseGen/Biquad").
//
// The top level's own members, parameters and block process join this class definition.
class Quillmore : public GeneratedPatcher
{
public:
    class PRTSubpatcher_39; // "OutputAmp"        patch/core/OutputAmp
    class PRTSubpatcher_40; // "NoiseGen"         patch/heads/NoiseGen
    class PRTSubpatcher_41; // "NoiseDucker[1]"   patch/heads/NoiseDuckerLeft
    class PRTSubpatcher_42; // "NoiseGate"        patch/heads/NoiseGate
    class PRTSubpatcher_43; // "SpringUtilities"  patch/space/SpringUtilities
    class PRTSubpatcher_44; // "NoiseDucker"      patch/heads/NoiseDuckerRight
    class PRTSubpatcher_45; // "SpringsHighPass"  patch/space/SpringsHighPass
    class PRTSubpatcher_46; // "DryWetSprings"    patch/space/DryWetSprings
    class PRTSubpatcher_47; // "DryWetDelay"      patch/space/DryWetDelay
    class PRTSubpatcher_48; // "TapeDelayOG"      patch/space/TapeDelay
    class PRTSubpatcher_49; // "SpringsB"         patch/space/SpringsB
    class PRTSubpatcher_50; // "Dropouts"         patch/heads/Dropouts
    class PRTSubpatcher_51; // "InputFilter"      patch/heads/InputFilter
    class PRTSubpatcher_52; // "DelToSprings"     patch/space/DelToSprings
    class PRTSubpatcher_53; // "TapeStopper"      patch/heads/TapeStopper
    class PRTSubpatcher_54; // "Warbler"          patch/heads/Warbler
    class PRTSubpatcher_55; // "Echo"             patch/space/EchoAnalyser
    class PRTSubpatcher_56; // "FixStartupBurp"   patch/core/FixStartupBurp

    Quillmore();

protected:
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;
};

} // namespace PRT
