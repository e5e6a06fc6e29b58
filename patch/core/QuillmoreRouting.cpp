#include "patch/core/QuillmoreModules.h"
#include "runtime/EngineInterface.h"

namespace PRT
{
namespace
{
// A module's time brought up to time before it is written into.
template <typename Module>
Module& at(Module* module, MillisecondTime time)
{
    module->updateTime(time);
    return *module;
}
} // namespace

std::array<NoiseDucker*, 2> Quillmore::duckersRightFirst()
{
    return {noiseDuckerRight, noiseDuckerLeft};
}

void Quillmore::connectObjects()
{
    toggle_obj_173.onValue = [this](float on) { targets.bypassTarget = on; };
    toggle_obj_75.onValue = [this](float on) { targets.orderTarget = on; };
    toggle_obj_149.onValue = [this](float on) { targets.headsOnTarget = on; };
    toggle_obj_158.onValue = [this](float on) { targets.spaceOnTarget = on; };

    // Send/return mode m: the sends are multiplied by m, the insert path by 1 − m.
    toggle_obj_53.onValue = [this](float mode) {
        sendMode = mode;
        button_obj_167.bangButton();
        targets.insertGain = 1.0f - mode;
        number_obj_26.setNumberValue(1.0f - mode);
        at(dryWetSprings, getTime()).number_obj_53.setNumberValue(mode);
        at(dryWetDelay, getTime()).number_obj_38.setNumberValue(mode);
    };
    button_obj_167.onBang = [this] { recomputeModeProducts(); };
    button_obj_208.onBang = [this] { recomputeEchoToSpringGain(); };

    number_obj_73.setRange(0.0f, 100.0f);
    number_obj_73.onValue = [this](float echoSend) {
        echoSendOperand = echoSend * 0.01f;
        targets.echoSendGain = echoSendOperand * sendMode;
    };
    number_obj_22.setRange(0.0f, 100.0f);
    number_obj_22.onValue = [this](float springSend) {
        springSendOperand = springSend * 0.01f;
        targets.springSendGain = springSendOperand * sendMode;
    };
    number_obj_51.setRange(0.0f, 100.0f);
    number_obj_51.onValue = [this](float echoToSpring) {
        echoToSpringOperand = echoToSpring;
        echoToSpringProduct = echoToSpring * sendMode;
        button_obj_208.bangButton();
    };
}

void Quillmore::recomputeModeProducts()
{
    echoToSpringProduct = echoToSpringOperand * sendMode;
    button_obj_208.bangButton();
    targets.springSendGain = springSendOperand * sendMode;
    targets.echoSendGain = echoSendOperand * sendMode;
}

void Quillmore::recomputeEchoToSpringGain()
{
    const float g = echoToSpringProduct * echoMixOperand;
    number_obj_210.setNumberValue(g);
    at(delToSprings, getTime()).setGainInput(g);
}

void Quillmore::setParameterValue(ParameterIndex index, ParameterValue value, MillisecondTime time)
{
    updateTime(time);
    if (index < numQuillmoreParameters)
        applyParameterValue(index, value);
    else
        GeneratedPatcher::setParameterValue(index, value, time);
}

void Quillmore::applyParameterValue(ParameterIndex index, ParameterValue value)
{
    if (index >= numQuillmoreParameters)
        return;
    const ParameterValue constrained = constrainQuillmoreParameter(index, value);
    values[index] = constrained;
    sendParameter(index, false);
    // A NaN differs from everything.
    if (!(constrained == lastNotified[index]))
    {
        if (EngineInterface* engine = getEngine())
            engine->presetTouched();
        lastNotified[index] = constrained;
    }
    routeParameter(index, constrained);
}

void Quillmore::sendParameter(ParameterIndex index, bool ignoreValue)
{
    if (EngineInterface* engine = getEngine())
        engine->notifyParameterValueChanged(index, ignoreValue ? 0.0f : getParameterValue(index), ignoreValue);
}

void Quillmore::routeParameter(ParameterIndex index, ParameterValue v)
{
    const MillisecondTime now = getTime();
    switch (index)
    {
    case params::TrueBypass:
        toggle_obj_173.setToggleValue(v);
        break;
    case params::Saturate:
        at(outputAmp, now).setSaturationInput(v);
        break;
    case params::Output:
        at(outputAmp, now).setOutputLevelInput(v);
        break;
    case params::HighPass:
        at(inputFilter, now).numberTilde_obj_32.setNumberTildeInput(v);
        break;
    case params::HighPassQ:
        at(inputFilter, now).setQInput(v);
        break;
    case params::Input:
        targets.inputGainLeft = targets.inputGainRight = v * 0.01f;
        break;
    case params::EchoFdbck: {
        PRTSubpatcher_48& delay = at(tapeDelay, now);
        at(delay.feedbackAmp, delay.getTime()).number_obj_69.setNumberValue(v);
        break;
    }
    case params::EchoStOffset:
        at(tapeDelay, now).number_obj_132.setNumberValue(v);
        break;
    case params::EchoFilterQ: {
        PRTSubpatcher_48& delay = at(tapeDelay, now);
        at(delay.biquad, delay.getTime()).numberTilde_obj_30.setNumberTildeInput(v);
        break;
    }
    case params::EchoFilterFreq: {
        PRTSubpatcher_48& delay = at(tapeDelay, now);
        at(delay.biquad, delay.getTime()).numberTilde_obj_32.setNumberTildeInput(v);
        break;
    }
    case params::EchoFilterLFOSpeed:
        at(tapeDelay, now).number_obj_68.setNumberValue(v);
        break;
    case params::EchoFilterLFOAmount:
        at(tapeDelay, now).setLfoAmountInput(v);
        break;
    case params::EchoTime:
        at(tapeDelay, now).number_obj_48.setNumberValue(v);
        break;
    case params::EchoMix:
        at(dryWetDelay, now).setMixInput(v);
        echoMixOperand = v * 0.01f;
        recomputeEchoToSpringGain();
        break;
    case params::SpringAB:
        at(dryWetSprings, now).setBlendInput(v);
        break;
    case params::SpringHighPass:
        at(springsHighPass, now).numberTilde_obj_32.setNumberTildeInput(v);
        break;
    case params::SpringDecay:
        at(springsB, now).setDecayInput(v);
        at(springUtilities, now).setDecayInput(v);
        break;
    case params::SpringSize:
        at(springsB, now).setSizeInput(v);
        at(springUtilities, now).setSizeInput(v);
        break;
    case params::SpringMix:
        at(springUtilities, now).number_obj_92.setNumberValue(v);
        break;
    case params::NoiseFreq: {
        PRTSubpatcher_40& hiss = at(noiseGen, now);
        at(hiss.biquad, hiss.getTime()).setFrequencyInput(v);
        break;
    }
    case params::NoiseAmnt:
        at(noiseGen, now).number_obj_46.setNumberValue(v * 0.01f);
        break;
    case params::NoiseDuckTime:
        // The right channel's ducker first.
        for (NoiseDucker* ducker : duckersRightFirst())
        {
            NoiseDucker& container = at(ducker, now);
            at(container.compressor, container.getTime()).setTimeInput(v);
        }
        break;
    case params::NoiseGateTime:
        at(noiseGate, now).setGateTimeInput(v);
        break;
    case params::NoiseDuckThresh:
        for (NoiseDucker* ducker : duckersRightFirst())
        {
            NoiseDucker& container = at(ducker, now);
            at(container.compressor, container.getTime()).flonum.setNumberValue(v);
        }
        break;
    case params::Instability:
        at(warbler, now).setInstabilityInput(v);
        break;
    case params::StDrift:
        at(warbler, now).setDriftInput(v);
        break;
    case params::Flutter:
        at(warbler, now).setFlutterInput(v);
        break;
    case params::WowRate:
        at(warbler, now).number_obj_19.setNumberValue(v);
        break;
    case params::Wow:
        at(warbler, now).setWowInput(v);
        break;
    case params::MstrWarble:
        at(warbler, now).setMasterInput(v);
        break;
    case params::Blips:
        at(warbler, now).setBlipsInput(v);
        break;
    case params::Degrade:
        at(dropouts, now).number_obj_28.setNumberValue(v);
        break;
    case params::HighRolloff:
        at(dropouts, now).setRolloffInput(v);
        break;
    case params::hostTempo:
        at(tapeDelay, now).setHostTempoInput(v);
        break;
    case params::EchoSyncOn:
        at(tapeDelay, now).setSyncOnInput(v);
        break;
    case params::EchoSyncDiv:
        number_obj_57.setNumberValue(v);
        at(tapeDelay, now).number_obj_101.setNumberValue(v);
        break;
    case params::SendRetMode:
        toggle_obj_53.setToggleValue(v);
        break;
    case params::TapeStopInertia:
        at(tapeStopper, now).setInertiaInput(v);
        break;
    case params::TapeStop:
        at(tapeStopper, now).toggle_obj_136.setToggleValue(v);
        break;
    case params::EchoSend:
        number_obj_73.setNumberValue(v);
        break;
    case params::SpringSend:
        number_obj_22.setNumberValue(v);
        break;
    case params::EchoToSpring:
        number_obj_51.setNumberValue(v);
        break;
    case params::Order:
        toggle_obj_75.setToggleValue(v);
        break;
    case params::HeadsOn:
        toggle_obj_149.setToggleValue(v);
        break;
    case params::SpaceOn:
        toggle_obj_158.setToggleValue(v);
        break;
    default: // EchoFiltMeter, WarbleR, WarbleL: reported by the modules, drive nothing
        break;
    }
}

} // namespace PRT
