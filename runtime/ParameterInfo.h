#pragma once

#include <cstdint>

namespace PRT
{

// How a patcher describes one parameter. A patcher leaves the record untouched for an index it does
// not have, so callers fill in their own defaults (these) before asking.
struct ParameterInfo
{
    int32_t kind = 0; // 0: number parameter
    int32_t direction = 2;
    float minimum = 0.0f;
    float maximum = 1.0f;
    float initial = 0.0f;
    float exponent = 1.0f; // of the normalised mapping; 1 is linear
    int32_t stepCount = 0; // 0: continuous
    bool optionFlags[4] = {false, false, false, false};
    bool hostVisible = false;
    const char* const* enumTexts = nullptr; // stepCount texts, or none
    const char* displayName = "";
    const char* unit = "";
    int32_t signalChannel = -1; // signal input driving the parameter, -1 for none
};

} // namespace PRT
