#include "patch/core/QuillmoreParameters.h"

#include "patch/core/GeneratedMath.h"
#include "patch/core/Quillmore.h"

namespace PRT
{
namespace
{
// As stored: every text but the last ends in a comma.
constexpr const char* syncOnTexts[] = {"OFF,", "ON"};
constexpr const char* syncDivisionTexts[] = {
    "1/64th,",         "1/32nd,",        "1/16th TRIPLET,", "1/32nd DOTTED,", "1/16th,",        "1/8th TRIPLET,",
    "1/16th DOTTED,",  "1/8th,",         "QUARTER TRIPLET,", "1/8th DOTTED,", "QUARTER,",       "HALF TRIPLET,",
    "QUARTER DOTTED,", "HALF,",          "HALF DOTTED,",    "WHOLE"};

// The 32-bit float nearest to 1/15: the width of one sync division on the normalised scale.
constexpr float divisionStep = 0.06666667f;

// The minimum of a parameter that normalises in double precision, as the decimal constant itself
// rather than its 32-bit rounding.
double decimalMinimum(ParameterIndex index)
{
    switch (index)
    {
    case params::HighPassQ:
        return 0.1;
    case params::EchoFilterLFOSpeed:
        return 0.001;
    default: // EchoFilterQ, WowRate
        return 0.01;
    }
}

// A NaN, which no comparison would catch, becomes the minimum.
float clampTo(float value, float low, float high)
{
    return value > low ? (value < high ? value : high) : low;
}
} // namespace

// clang-format off
const std::array<QuillmoreParameter, numQuillmoreParameters> quillmoreParameters{{
    {"TrueBypass",          0.0f,    1.0f,     1.0f,     0,  nullptr,           false},
    {"Saturate",            0.0f,    100.0f,   0.0f,     0,  nullptr,           false},
    {"Output",              0.0f,    200.0f,   100.0f,   0,  nullptr,           false},
    {"HighPass",            20.0f,   15000.0f, 20.0f,    0,  nullptr,           false},
    {"HighPassQ",           0.1f,    2.0f,     0.8f,     0,  nullptr,           true},
    {"Input",               0.0f,    200.0f,   100.0f,   0,  nullptr,           false},
    {"EchoFdbck",           1.0f,    120.0f,   50.0f,    0,  nullptr,           false},
    {"EchoStOffset",        -1.0f,   1.0f,     0.0f,     0,  nullptr,           false},
    {"EchoFilterQ",         0.01f,   2.0f,     0.25f,    0,  nullptr,           true},
    {"EchoFilterFreq",      20.0f,   9000.0f,  600.0f,   0,  nullptr,           false},
    {"EchoFilterLFOSpeed",  0.001f,  10.0f,    0.01f,    0,  nullptr,           true},
    {"EchoFilterLFOAmount", 0.0f,    100.0f,   0.0f,     0,  nullptr,           false},
    // Starts at 0 below its minimum; the first set clamps it.
    {"EchoTime",            1.0f,    5000.0f,  0.0f,     0,  nullptr,           false},
    {"EchoMix",             0.0f,    100.0f,   0.0f,     0,  nullptr,           false},
    {"SpringAB",            0.0f,    100.0f,   0.0f,     0,  nullptr,           false},
    {"SpringHighPass",      30.0f,   1500.0f,  50.0f,    0,  nullptr,           false},
    {"SpringDecay",         0.0f,    100.0f,   70.0f,    0,  nullptr,           false},
    {"SpringSize",          4.0f,    12.0f,    6.0f,     0,  nullptr,           false},
    {"SpringMix",           0.0f,    100.0f,   0.0f,     0,  nullptr,           false},
    {"NoiseFreq",           1.0f,    20000.0f, 15000.0f, 0,  nullptr,           false},
    {"NoiseAmnt",           0.0f,    100.0f,   0.0f,     0,  nullptr,           false},
    {"NoiseDuckTime",       5.0f,    1000.0f,  150.0f,   0,  nullptr,           false},
    {"NoiseGateTime",       30.0f,   30000.0f, 1000.0f,  0,  nullptr,           false},
    {"NoiseDuckThresh",     -100.0f, 0.0f,     -5.0f,    0,  nullptr,           false},
    {"Instability",         0.0f,    100.0f,   0.0f,     0,  nullptr,           false},
    {"StDrift",             0.0f,    100.0f,   0.0f,     0,  nullptr,           false},
    {"Flutter",             0.0f,    100.0f,   0.0f,     0,  nullptr,           false},
    {"WowRate",             0.01f,   5.0f,     1.2f,     0,  nullptr,           true},
    {"Wow",                 0.0f,    100.0f,   0.0f,     0,  nullptr,           false},
    {"MstrWarble",          0.0f,    100.0f,   0.0f,     0,  nullptr,           false},
    {"Blips",               0.0f,    100.0f,   0.0f,     0,  nullptr,           false},
    {"Degrade",             0.0f,    100.0f,   0.0f,     0,  nullptr,           false},
    {"HighRolloff",         20.0f,   18000.0f, 18000.0f, 0,  nullptr,           false},
    {"hostTempo",           0.0f,    1028.0f,  0.0f,     0,  nullptr,           false},
    {"EchoSyncOn",          0.0f,    1.0f,     0.0f,     2,  syncOnTexts,       false},
    {"EchoSyncDiv",         0.0f,    15.0f,    0.0f,     16, syncDivisionTexts, false},
    {"EchoFiltMeter",       20.0f,   20000.0f, 1234.0f,  0,  nullptr,           false},
    {"SendRetMode",         0.0f,    1.0f,     0.0f,     0,  nullptr,           false},
    {"WarbleR",             0.0f,    1.0f,     0.0f,     0,  nullptr,           false},
    {"WarbleL",             0.0f,    1.0f,     0.0f,     0,  nullptr,           false},
    {"TapeStopInertia",     500.0f,  3000.0f,  1500.0f,  0,  nullptr,           false},
    {"TapeStop",            0.0f,    1.0f,     0.0f,     0,  nullptr,           false},
    {"EchoSend",            0.0f,    100.0f,   0.0f,     0,  nullptr,           false},
    {"SpringSend",          0.0f,    100.0f,   0.0f,     0,  nullptr,           false},
    {"EchoToSpring",        0.0f,    100.0f,   0.0f,     0,  nullptr,           false},
    {"Order",               0.0f,    1.0f,     0.0f,     0,  nullptr,           false},
    {"HeadsOn",             0.0f,    1.0f,     1.0f,     0,  nullptr,           false},
    {"SpaceOn",             0.0f,    1.0f,     1.0f,     0,  nullptr,           false},
}};
// clang-format on

ParameterValue constrainQuillmoreParameter(ParameterIndex index, ParameterValue value)
{
    const QuillmoreParameter& row = quillmoreParameters[index];
    const float clamped = clampTo(value, row.minimum, row.maximum);
    return row.stepCount > 0 ? roundToNearest(clamped) : clamped;
}

ParameterValue quillmoreParameterToNormalized(ParameterIndex index, ParameterValue value)
{
    const QuillmoreParameter& row = quillmoreParameters[index];
    if (index == params::EchoSyncOn)
        return roundToNearest(clampTo(value, 0.0f, 1.0f));
    if (index == params::EchoSyncDiv)
        return roundToNearest((clampTo(value, 0.0f, 15.0f) / 15.0f) / divisionStep) * divisionStep;
    if (value < row.minimum)
        return 0.0f;
    const float limited = value < row.maximum ? value : row.maximum;
    if (row.normalizesInDouble)
    {
        const double minimum = decimalMinimum(index);
        const double span = static_cast<double>(row.maximum) - minimum;
        return static_cast<float>((static_cast<double>(limited) - minimum) / span);
    }
    return (limited - row.minimum) / (row.maximum - row.minimum);
}

ParameterValue quillmoreParameterFromNormalized(ParameterIndex index, ParameterValue normalized)
{
    const QuillmoreParameter& row = quillmoreParameters[index];
    const float n = normalized < 0.0f ? 0.0f : (normalized > 1.0f ? 1.0f : normalized);
    if (index == params::EchoSyncOn)
        return roundToNearest(n);
    if (index == params::EchoSyncDiv)
        return roundToNearest(n / divisionStep) * divisionStep * 15.0f;
    if (row.normalizesInDouble)
    {
        const double minimum = decimalMinimum(index);
        const double span = static_cast<double>(row.maximum) - minimum;
        return static_cast<float>(minimum + static_cast<double>(n) * span);
    }
    return row.minimum + n * (row.maximum - row.minimum);
}

void describeQuillmoreParameter(ParameterIndex index, ParameterInfo& info)
{
    const QuillmoreParameter& row = quillmoreParameters[index];
    info.kind = 0;
    info.direction = 2;
    info.minimum = row.minimum;
    info.maximum = row.maximum;
    info.initial = row.initial;
    info.exponent = 1.0f;
    info.stepCount = row.stepCount;
    info.optionFlags[0] = false;
    info.optionFlags[1] = true;
    info.optionFlags[2] = true;
    info.optionFlags[3] = true;
    info.hostVisible = true;
    if (row.enumTexts != nullptr)
        info.enumTexts = row.enumTexts;
    info.displayName = "";
    info.unit = "";
    info.signalChannel = -1;
}

// The top level's parameter operations: its own 48 first, the modules' after them.

const char* Quillmore::getParameterName(ParameterIndex index)
{
    return index < numQuillmoreParameters ? quillmoreParameters[index].id : GeneratedPatcher::getParameterName(index);
}

const char* Quillmore::getParameterId(ParameterIndex index)
{
    return getParameterName(index);
}

void Quillmore::getParameterInfo(ParameterIndex index, ParameterInfo* info)
{
    if (index >= numQuillmoreParameters)
        GeneratedPatcher::getParameterInfo(index, info);
    else if (info != nullptr)
        describeQuillmoreParameter(index, *info);
}

ParameterValue Quillmore::getParameterValue(ParameterIndex index)
{
    return index < numQuillmoreParameters ? values[index] : GeneratedPatcher::getParameterValue(index);
}

ParameterValue Quillmore::convertToNormalizedParameterValue(ParameterIndex index, ParameterValue value)
{
    return index < numQuillmoreParameters ? quillmoreParameterToNormalized(index, value)
                                          : GeneratedPatcher::convertToNormalizedParameterValue(index, value);
}

ParameterValue Quillmore::convertFromNormalizedParameterValue(ParameterIndex index, ParameterValue normalizedValue)
{
    return index < numQuillmoreParameters
               ? quillmoreParameterFromNormalized(index, normalizedValue)
               : GeneratedPatcher::convertFromNormalizedParameterValue(index, normalizedValue);
}

ParameterValue Quillmore::constrainParameterValue(ParameterIndex index, ParameterValue value)
{
    return index < numQuillmoreParameters ? constrainQuillmoreParameter(index, value)
                                          : GeneratedPatcher::constrainParameterValue(index, value);
}

ParameterIndex Quillmore::getParameterOffset(const GeneratedPatcher* child)
{
    ParameterIndex offset = numQuillmoreParameters;
    for (GeneratedPatcher* module : getChildren())
    {
        if (module == child)
            return offset;
        offset += module->getNumParameters();
    }
    return 0;
}

} // namespace PRT
