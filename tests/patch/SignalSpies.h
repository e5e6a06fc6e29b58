#pragma once

#include "patch/core/QuillmoreModules.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

// Modules of the top level replaced by signal stand-ins with a gain of their own, so that a block's
// output tells which modules it went through: each output port carries `gain` times the input port of
// the same number (one sample late when `oneSampleLate`), or `constant[port]` where the module has no
// such input. Each keeps what reached its inputs in the last block and notes its block calls and
// prepares in a shared log. Their parameter entry points stay the modules' own.
namespace PRT::test
{

struct SignalSpyLog
{
    std::vector<std::string> blocks;   // "<module>:<n>" per block call
    std::vector<std::string> prepares; // "<module>:<rate>:<block size>:<force>"
};

// The log the spies of the current test write to (none: they keep quiet).
inline SignalSpyLog* signalSpyLog = nullptr;

template <typename Module>
class SignalSpy : public Module
{
public:
    float gain = 1.0f;
    bool oneSampleLate = false;
    std::array<float, GeneratedPatcher::maxSignalPorts> constant{};
    std::array<std::vector<float>, GeneratedPatcher::maxSignalPorts> seen;

    void prepareToProcess(float sampleRate, Index maxBlockSize, bool force) override
    {
        if (signalSpyLog != nullptr)
            signalSpyLog->prepares.push_back(std::string(this->getObjectName()) + ":" +
                                             std::to_string(static_cast<int>(sampleRate)) + ":" +
                                             std::to_string(maxBlockSize) + ":" + (force ? "1" : "0"));
        Module::prepareToProcess(sampleRate, maxBlockSize, force);
    }

protected:
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override
    {
        if (signalSpyLog != nullptr)
            signalSpyLog->blocks.push_back(std::string(this->getObjectName()) + ":" + std::to_string(n));
        const Index ins = this->getNumInputChannels() + this->getNumExtraSignalInputs();
        const Index outs = this->getNumOutputChannels() + this->getNumExtraSignalOutputs();
        for (Index port = 0; port < ins; ++port)
            seen[port].assign(inputs[port], inputs[port] + n);
        for (Index port = 0; port < outs; ++port)
            for (Index i = 0; i < n; ++i)
            {
                const float in = port >= ins ? 0.0f
                                 : !oneSampleLate ? seen[port][i]
                                 : i == 0 ? lastSeen[port]
                                          : seen[port][i - 1];
                outputs[port][i] = port < ins ? gain * in : constant[port];
            }
        for (Index port = 0; port < ins && n > 0; ++port)
            lastSeen[port] = seen[port][n - 1];
    }

private:
    std::array<float, GeneratedPatcher::maxSignalPorts> lastSeen{};
};

template <typename Module>
SignalSpy<Module>& spyOf(Module* module)
{
    return *static_cast<SignalSpy<Module>*>(module);
}

// The module factory that replaces all eighteen modules.
inline GeneratedPatcher* makeSignalSpy(QuillmoreModule slot)
{
    switch (slot)
    {
    case QuillmoreModule::OutputAmp: return new SignalSpy<Quillmore::PRTSubpatcher_39>();
    case QuillmoreModule::NoiseGen: return new SignalSpy<Quillmore::PRTSubpatcher_40>();
    case QuillmoreModule::NoiseDuckerLeft: return new SignalSpy<Quillmore::PRTSubpatcher_41>();
    case QuillmoreModule::NoiseGate: return new SignalSpy<Quillmore::PRTSubpatcher_42>();
    case QuillmoreModule::SpringUtilities: return new SignalSpy<Quillmore::PRTSubpatcher_43>();
    case QuillmoreModule::NoiseDuckerRight: return new SignalSpy<Quillmore::PRTSubpatcher_44>();
    case QuillmoreModule::SpringsHighPass: return new SignalSpy<Quillmore::PRTSubpatcher_45>();
    case QuillmoreModule::DryWetSprings: return new SignalSpy<Quillmore::PRTSubpatcher_46>();
    case QuillmoreModule::DryWetDelay: return new SignalSpy<Quillmore::PRTSubpatcher_47>();
    case QuillmoreModule::TapeDelay: return new SignalSpy<Quillmore::PRTSubpatcher_48>();
    case QuillmoreModule::SpringsB: return new SignalSpy<Quillmore::PRTSubpatcher_49>();
    case QuillmoreModule::Dropouts: return new SignalSpy<Quillmore::PRTSubpatcher_50>();
    case QuillmoreModule::InputFilter: return new SignalSpy<Quillmore::PRTSubpatcher_51>();
    case QuillmoreModule::DelToSprings: return new SignalSpy<Quillmore::PRTSubpatcher_52>();
    case QuillmoreModule::TapeStopper: return new SignalSpy<Quillmore::PRTSubpatcher_53>();
    case QuillmoreModule::Warbler: return new SignalSpy<Quillmore::PRTSubpatcher_54>();
    case QuillmoreModule::EchoAnalyser: return new SignalSpy<Quillmore::PRTSubpatcher_55>();
    case QuillmoreModule::FixStartupBurp: return new SignalSpy<Quillmore::PRTSubpatcher_56>();
    default: return nullptr;
    }
}

} // namespace PRT::test
