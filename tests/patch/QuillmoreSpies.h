#pragma once

#include "patch/core/QuillmoreModules.h"
#include "runtime/EngineInterface.h"

// Recording subclasses of the top level's modules: each entry point the top level calls reports
// itself through the engine as a number message (tag = hash of "Module.entryPoint", object ID
// spyObjectId, the value, the module's time), in the same stream as the objects' own echoes, and
// then runs the module's own code.
namespace PRT::test
{

inline constexpr HashedText spyObject{"spy"};

template <typename Module>
class Spy : public Module
{
protected:
    void record(const char* call, float value)
    {
        if (EngineInterface* engine = this->getEngine())
            engine->sendNumMessage(hashString(call), spyObject.hash, value, this->getTime());
    }
};

#define QUILLMORE_SPY_ENTRY(Module, name, entry)                                                                      \
    void entry(float value) override                                                                                 \
    {                                                                                                                \
        record(name "." #entry, value);                                                                              \
        Module::entry(value);                                                                                        \
    }

class SpyOutputAmp : public Spy<Quillmore::PRTSubpatcher_39>
{
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_39, "OutputAmp", setSaturationInput)
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_39, "OutputAmp", setOutputLevelInput)
};
class SpyNoiseGenBiquad : public Spy<Quillmore::PRTSubpatcher_40::PRTSubpatcher_29>
{
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_29, "NoiseGen/Biquad", setFrequencyInput)
};
class SpyNoiseGen : public Spy<Quillmore::PRTSubpatcher_40>
{
    void createChildren() override { biquad = createChild<SpyNoiseGenBiquad>(); }
};
class SpyLeftCompressor : public Spy<Quillmore::PRTSubpatcher_41::PRTSubpatcher_30>
{
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_30, "NoiseDucker[1]/compressor", setTimeInput)
};
class SpyNoiseDuckerLeft : public Spy<Quillmore::PRTSubpatcher_41>
{
    void createChildren() override { compressor = createChild<SpyLeftCompressor>(); }
};
class SpyRightCompressor : public Spy<Quillmore::PRTSubpatcher_44::PRTSubpatcher_31>
{
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_31, "NoiseDucker/compressor", setTimeInput)
};
class SpyNoiseDuckerRight : public Spy<Quillmore::PRTSubpatcher_44>
{
    void createChildren() override { compressor = createChild<SpyRightCompressor>(); }
};
class SpyNoiseGate : public Spy<Quillmore::PRTSubpatcher_42>
{
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_42, "NoiseGate", setGateTimeInput)
};
class SpySpringUtilities : public Spy<Quillmore::PRTSubpatcher_43>
{
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_43, "SpringUtilities", setDecayInput)
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_43, "SpringUtilities", setSizeInput)
};
class SpyDryWetSprings : public Spy<Quillmore::PRTSubpatcher_46>
{
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_46, "DryWetSprings", setBlendInput)
};
class SpyDryWetDelay : public Spy<Quillmore::PRTSubpatcher_47>
{
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_47, "DryWetDelay", setMixInput)
};
class SpyTapeDelay : public Spy<Quillmore::PRTSubpatcher_48>
{
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_48, "TapeDelayOG", setLfoAmountInput)
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_48, "TapeDelayOG", setHostTempoInput)
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_48, "TapeDelayOG", setSyncOnInput)
};
class SpySpringsB : public Spy<Quillmore::PRTSubpatcher_49>
{
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_49, "SpringsB", setDecayInput)
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_49, "SpringsB", setSizeInput)
};
class SpyDropouts : public Spy<Quillmore::PRTSubpatcher_50>
{
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_50, "Dropouts", setRolloffInput)
};
class SpyInputFilter : public Spy<Quillmore::PRTSubpatcher_51>
{
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_51, "InputFilter", setQInput)
};
class SpyDelToSprings : public Spy<Quillmore::PRTSubpatcher_52>
{
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_52, "DelToSprings", setGainInput)
};
class SpyTapeStopper : public Spy<Quillmore::PRTSubpatcher_53>
{
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_53, "TapeStopper", setInertiaInput)
};
class SpyWarbler : public Spy<Quillmore::PRTSubpatcher_54>
{
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_54, "Warbler", setInstabilityInput)
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_54, "Warbler", setDriftInput)
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_54, "Warbler", setFlutterInput)
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_54, "Warbler", setWowInput)
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_54, "Warbler", setMasterInput)
    QUILLMORE_SPY_ENTRY(PRTSubpatcher_54, "Warbler", setBlipsInput)
};

#undef QUILLMORE_SPY_ENTRY

// The module factory that swaps in the spies (the modules without entry points of their own stay).
inline GeneratedPatcher* makeSpyModule(QuillmoreModule slot)
{
    switch (slot)
    {
    case QuillmoreModule::OutputAmp: return new SpyOutputAmp();
    case QuillmoreModule::NoiseGen: return new SpyNoiseGen();
    case QuillmoreModule::NoiseDuckerLeft: return new SpyNoiseDuckerLeft();
    case QuillmoreModule::NoiseGate: return new SpyNoiseGate();
    case QuillmoreModule::SpringUtilities: return new SpySpringUtilities();
    case QuillmoreModule::NoiseDuckerRight: return new SpyNoiseDuckerRight();
    case QuillmoreModule::DryWetSprings: return new SpyDryWetSprings();
    case QuillmoreModule::DryWetDelay: return new SpyDryWetDelay();
    case QuillmoreModule::TapeDelay: return new SpyTapeDelay();
    case QuillmoreModule::SpringsB: return new SpySpringsB();
    case QuillmoreModule::Dropouts: return new SpyDropouts();
    case QuillmoreModule::InputFilter: return new SpyInputFilter();
    case QuillmoreModule::DelToSprings: return new SpyDelToSprings();
    case QuillmoreModule::TapeStopper: return new SpyTapeStopper();
    case QuillmoreModule::Warbler: return new SpyWarbler();
    default: return nullptr;
    }
}

} // namespace PRT::test
