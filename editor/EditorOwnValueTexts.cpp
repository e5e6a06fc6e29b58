#include "editor/EditorOwnValueTexts.h"

namespace Quillmore
{
juce::String mixValueText(double value, bool sendReturnMode)
{
    const auto x = static_cast<float>(value);
    const int decimals = x < 10.0f ? 2 : (x < 100.0f ? 1 : 0);
    // With no decimals the plain form, so that the top of the range reads "100".
    const auto number = decimals > 0 ? juce::String(x, decimals) : juce::String(x);
    return number + (sendReturnMode ? " %" : " % wet");
}

juce::String springSizeValueText(double value)
{
    return juce::String(value, 2) + "\"";
}
} // namespace Quillmore
