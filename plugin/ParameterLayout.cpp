#include "plugin/ParameterLayout.h"

#include "plugin/GainRange.h"
#include "plugin/ParameterTextParsers.h"
#include "plugin/ParameterValueTexts.h"
#include "plugin/SwitchParameter.h"
#include "plugin/TextReadingParameter.h"

#include <array>

namespace Quillmore
{
namespace
{
using ValueText = juce::String (*)(float);
using TextValue = TextReading (*)(const juce::String&);

// Marks "Input" and "Output", whose range is makeInputOutputGainRange. No linear range has skew 0.
constexpr float gainRange = 0.0f;

struct FloatParameterRow
{
    int versionHint;
    const char* id;
    const char* name;
    float start, end, interval, skew; // interval and skew are gainRange for the gain parameters
    float defaultValue;
    const char* label;    // nullptr: no label set
    ValueText valueText;  // nullptr: the framework's number text
    // Every float parameter reads typed text through one of ours: the framework's parser turns
    // "nan" into a NaN value, ignores units such as kHz and s, and reads any text it cannot read as
    // 0. nullptr: steppedTextToValue, for the parameters with whole steps (the switches among them).
    TextValue textValue;
    bool automatable;
};

constexpr bool automatable = true;
constexpr bool reportedValue = false;

// In creation order.
// clang-format off
const std::array<FloatParameterRow, 47> floatRows {{
    {  1, "Output",              "Output",              0,     200,   gainRange, gainRange, 100,    " dB",   gainValueToText,       gainTextToValue,         automatable },
    {  2, "Input",               "Input",               0,     200,   gainRange, gainRange, 100,    " dB",   gainValueToText,       gainTextToValue,         automatable },
    {  3, "Saturate",            "Saturate",            0,     100,   0.1f,      1.0f,      0,      " %",    percentValueText,      percentTextToValue,      automatable },
    {  4, "HighPass",            "HighPass",            20,    15000, 0.1f,      0.25f,     20,     " Hz",   frequencyValueText,    frequencyTextToValue,    automatable },
    {  5, "HighPassQ",           "HighPassQ",           0.1f,  2,     0.01f,     1.0f,      0.8f,   nullptr, nullptr,               plainNumberTextToValue,  automatable },
    {  6, "EchoFilterLFOAmount", "EchoFilterLFOAmount", 0,     100,   0.01f,     0.7f,      0,      " %",    percentValueText,      percentTextToValue,      automatable },
    {  7, "EchoFilterLFOSpeed",  "EchoFilterLFOSpeed",  0.01f, 20,    0.0001f,   0.28f,     0.019f, " Hz",   frequencyValueText,    frequencyTextToValue,    automatable },
    {  8, "EchoFilterFreq",      "EchoFilterFreq",      20,    9000,  0.1f,      0.33f,     600,    " Hz",   frequencyValueText,    frequencyTextToValue,    automatable },
    {  9, "EchoFilterQ",         "EchoFilterQ",         0.01f, 2,     0.001f,    0.5f,      0.25f,  nullptr, nullptr,               plainNumberTextToValue,  automatable },
    { 10, "SpringMix",           "SpringMix",           0,     100,   0.01f,     1.0f,      0,      " %",    percentValueText,      percentTextToValue,      automatable },
    { 11, "EchoTime",            "EchoTime",            1,     5000,  1.0f,      0.3f,      250,    " ms",   timeValueText,         timeTextToValue,         automatable },
    { 12, "NoiseFreq",           "NoiseFreq",           1,     20000, 1.0f,      0.8f,      15000,  " Hz",   frequencyValueText,    frequencyTextToValue,    automatable },
    { 13, "NoiseAmnt",           "NoiseAmnt",           0,     100,   0.1f,      0.6f,      0,      " %",    percentValueText,      percentTextToValue,      automatable },
    { 14, "NoiseDuckThresh",     "NoiseDuckThresh",     -100,  0,     0.1f,      5.0f,      -5,     " dB",   decibelValueText,      decibelTextToValue,      automatable },
    { 15, "NoiseDuckTime",       "NoiseDuckTime",       5,     1000,  1.0f,      0.5f,      100,    " ms",   timeValueText,         timeTextToValue,         automatable },
    { 16, "NoiseGateTime",       "NoiseGateTime",       30,    30000, 1.0f,      0.4f,      1000,   " ms",   gateTimeValueText,     gateTimeTextToValue,     automatable },
    { 17, "EchoMix",             "EchoMix",             0,     100,   0.1f,      1.0f,      0,      " %",    percentValueText,      percentTextToValue,      automatable },
    { 18, "EchoFdbck",           "EchoFdbck",           0,     120,   0.1f,      1.3f,      80,     " %",    percentValueText,      percentTextToValue,      automatable },
    { 19, "SpringDecay",         "SpringDecay",         0,     100,   0.01f,     0.9f,      70,     " %",    percentValueText,      percentTextToValue,      automatable },
    { 20, "StDrift",             "StDrift",             0,     100,   0.1f,      1.0f,      0,      " %",    percentValueText,      percentTextToValue,      automatable },
    { 21, "Flutter",             "Flutter",             0,     100,   0.1f,      0.65f,     0,      " %",    percentValueText,      percentTextToValue,      automatable },
    { 22, "WowRate",             "WowRate",             0.01f, 5,     0.001f,    0.65f,     1.2f,   " Hz",   frequencyValueText,    frequencyTextToValue,    automatable },
    { 23, "Wow",                 "Wow",                 0,     100,   0.1f,      1.0f,      0,      " %",    percentValueText,      percentTextToValue,      automatable },
    { 24, "MstrWarble",          "MstrWarble",          0,     100,   0.1f,      1.0f,      0,      " %",    percentValueText,      percentTextToValue,      automatable },
    { 25, "Blips",               "Blips",               0,     100,   0.1f,      1.0f,      0,      " %",    percentValueText,      percentTextToValue,      automatable },
    { 26, "Instability",         "Instability",         0,     100,   0.1f,      0.85f,     0,      " %",    percentValueText,      percentTextToValue,      automatable },
    { 27, "SpringSize",          "SpringSize",          4,     12,    0.1f,      1.0f,      8,      nullptr, nullptr,               plainNumberTextToValue,  automatable },
    { 28, "SpringHighPass",      "SpringHighPass",      30,    1500,  1.0f,      0.6f,      50,     " Hz",   frequencyValueText,    frequencyTextToValue,    automatable },
    { 29, "Degrade",             "Degrade",             0,     100,   0.1f,      1.0f,      0,      " %",    percentValueText,      percentTextToValue,      automatable },
    { 30, "HighRolloff",         "HighRolloff",         20,    18000, 1.0f,      0.6f,      18000,  " Hz",   frequencyValueText,    frequencyTextToValue,    automatable },
    { 31, "SpringAB",            "SpringAB",            0,     100,   0.1f,      1.0f,      50,     " %",    springBlendValueText,  springBlendTextToValue,  automatable },
    { 32, "EchoStOffset",        "EchoStOffset",        -1,    1,     0.01f,     1.0f,      0,      " %",    stereoOffsetValueText, stereoOffsetTextToValue, automatable },
    { 33, "EchoSyncOn",          "EchoSyncOn",          0,     1,     1.0f,      1.0f,      0,      "",      tempoSyncValueText,    nullptr,                 automatable },
    { 34, "EchoSyncDiv",         "EchoSyncDiv",         0,     15,    1.0f,      1.0f,      7,      "",      syncDivisionValueText, nullptr,                 automatable },
    { 35, "SendRetMode",         "SendRetMode",         0,     1,     1.0f,      1.0f,      0,      "",      mixModeValueText,      nullptr,                 automatable },
    { 36, "EchoSend",            "EchoSend",            0,     100,   0.01f,     1.0f,      0,      "",      percentValueText,      percentTextToValue,      automatable },
    { 37, "SpringSend",          "SpringSend",          0,     100,   0.01f,     1.0f,      0,      "",      percentValueText,      percentTextToValue,      automatable },
    { 38, "EchoToSpring",        "Echo>Springs",        0,     100,   0.01f,     1.0f,      0,      "",      percentValueText,      percentTextToValue,      automatable },
    { 39, "hostTempo",           "hostTempo",           0,     1028,  0.001f,    1.0f,      120,    nullptr, nullptr,               plainNumberTextToValue,  reportedValue },
    { 40, "Order",               "Order",               0,     1,     1.0f,      1.0f,      1,      "",      nullptr,               nullptr,                 automatable },
    { 41, "TapeStop",            "TapeStop",            0,     1,     1.0f,      1.0f,      0,      "",      nullptr,               nullptr,                 automatable },
    { 42, "TapeStopInertia",     "TapeStopInertia",     500,   3000,  1.0f,      1.0f,      1500,   " ms",   timeValueText,         timeTextToValue,         automatable },
    { 43, "HeadsOn",             "HeadsOn",             0,     1,     1.0f,      1.0f,      1,      "",      headsSwitchValueText,  nullptr,                 automatable },
    { 44, "SpaceOn",             "SpaceOn",             0,     1,     1.0f,      1.0f,      1,      "",      spaceSwitchValueText,  nullptr,                 automatable },
    { 45, "WarbleR",             "WarbleR",             0,     1,     0.001f,    1.0f,      0,      nullptr, nullptr,               plainNumberTextToValue,  reportedValue },
    { 46, "WarbleL",             "WarbleL",             0,     1,     0.001f,    1.0f,      0,      nullptr, nullptr,               plainNumberTextToValue,  reportedValue },
    { 47, "EchoFiltMeter",       "EchoFiltMeter",       20,    20000, 0.0f,      1.0f,      1234,   nullptr, nullptr,               plainNumberTextToValue,  reportedValue },
}};
// clang-format on

juce::NormalisableRange<float> rangeOf(const FloatParameterRow& row)
{
    if (row.skew == gainRange)
        return makeInputOutputGainRange();
    return { row.start, row.end, row.interval, row.skew, false };
}

std::unique_ptr<juce::AudioParameterFloat> makeFloatParameter(const FloatParameterRow& row)
{
    auto attributes = juce::AudioParameterFloatAttributes().withAutomatable(row.automatable);
    if (row.label != nullptr)
        attributes = attributes.withLabel(row.label);
    if (const auto valueText = row.valueText)
        attributes = attributes.withStringFromValueFunction([valueText](float value, int) { return valueText(value); });

    TextReadingParameter::Reader reader = row.textValue;
    if (reader == nullptr)
    {
        const auto valueText = row.valueText;
        const int first = static_cast<int>(row.start);
        const int last = static_cast<int>(row.end);
        reader = [valueText, first, last](const juce::String& text) { return steppedTextToValue(text, valueText, first, last); };
    }

    return std::make_unique<TextReadingParameter>(juce::ParameterID(row.id, row.versionHint), row.name, rangeOf(row),
                                                  row.defaultValue, attributes, std::move(reader));
}
} // namespace

juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout()
{
    juce::AudioProcessorValueTreeState::ParameterLayout layout;
    for (const auto& row : floatRows)
        layout.add(makeFloatParameter(row));

    layout.add(std::make_unique<SwitchParameter>(juce::ParameterID("TrueBypass", 48), "TrueBypass", false,
                                                 juce::AudioParameterBoolAttributes().withAutomatable(true)));
    return layout;
}
} // namespace Quillmore
