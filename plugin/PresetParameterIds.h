#pragma once

#include <array>
#include <string_view>

namespace Quillmore
{
// The host parameters that presets carry, in preset order. Presets never touch the bypass, the tape
// stop switch, the tempo input or the three values the patch reports back.
inline constexpr std::array<const char*, 42> kPresetParameterIds {
    "Saturate",        "Output",        "Input",          "HighPass",           "HighPassQ",
    "EchoFilterLFOAmount", "EchoFilterLFOSpeed", "EchoFilterFreq", "EchoFilterQ", "SpringMix",
    "EchoTime",        "NoiseFreq",     "NoiseAmnt",      "NoiseDuckThresh",    "NoiseDuckTime",
    "NoiseGateTime",   "EchoMix",       "EchoFdbck",      "SpringDecay",        "StDrift",
    "Flutter",         "WowRate",       "Wow",            "MstrWarble",         "Blips",
    "Instability",     "SpringSize",    "SpringHighPass", "Degrade",            "HighRolloff",
    "SpringAB",        "EchoStOffset",  "SendRetMode",    "EchoSend",           "SpringSend",
    "EchoToSpring",    "EchoSyncOn",    "EchoSyncDiv",    "Order",              "TapeStopInertia",
    "HeadsOn",         "SpaceOn",
};

inline bool isPresetParameterId(const char* id)
{
    for (const char* known : kPresetParameterIds)
        if (std::string_view(known) == id)
            return true;
    return false;
}
} // namespace Quillmore
