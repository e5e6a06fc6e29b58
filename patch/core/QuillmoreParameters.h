#pragma once

#include "runtime/ParameterInfo.h"
#include "runtime/Types.h"

#include <array>

namespace PRT
{

inline constexpr ParameterIndex numQuillmoreParameters = 48;

// The top level's parameters by index; the name and the ID of each are its enumerator's text.
namespace params
{
enum Index : ParameterIndex
{
    TrueBypass,
    Saturate,
    Output,
    HighPass,
    HighPassQ,
    Input,
    EchoFdbck,
    EchoStOffset,
    EchoFilterQ,
    EchoFilterFreq,
    EchoFilterLFOSpeed,
    EchoFilterLFOAmount,
    EchoTime,
    EchoMix,
    SpringAB,
    SpringHighPass,
    SpringDecay,
    SpringSize,
    SpringMix,
    NoiseFreq,
    NoiseAmnt,
    NoiseDuckTime,
    NoiseGateTime,
    NoiseDuckThresh,
    Instability,
    StDrift,
    Flutter,
    WowRate,
    Wow,
    MstrWarble,
    Blips,
    Degrade,
    HighRolloff,
    hostTempo,
    EchoSyncOn,
    EchoSyncDiv,
    EchoFiltMeter,
    SendRetMode,
    WarbleR,
    WarbleL,
    TapeStopInertia,
    TapeStop,
    EchoSend,
    SpringSend,
    EchoToSpring,
    Order,
    HeadsOn,
    SpaceOn
};
} // namespace params

// One row of the top level's parameter table.
struct QuillmoreParameter
{
    const char* id;
    float minimum;
    float maximum;
    float initial;
    int32_t stepCount; // 0: continuous; stepped parameters are rounded when constrained
    const char* const* enumTexts;
    // The four parameters with decimal minimums normalise in double precision.
    bool normalizesInDouble;
};

extern const std::array<QuillmoreParameter, numQuillmoreParameters> quillmoreParameters;

// Clamped to the row's range; the stepped parameters rounded (halves away from zero). A NaN stays NaN.
ParameterValue constrainQuillmoreParameter(ParameterIndex index, ParameterValue value);
// The value on 0..1 (below the minimum: 0); the stepped ones on their steps.
ParameterValue quillmoreParameterToNormalized(ParameterIndex index, ParameterValue value);
// A 0..1 value (clamped first) on the row's range.
ParameterValue quillmoreParameterFromNormalized(ParameterIndex index, ParameterValue normalized);
// The record the runtime describes the parameter with.
void describeQuillmoreParameter(ParameterIndex index, ParameterInfo& info);

} // namespace PRT
