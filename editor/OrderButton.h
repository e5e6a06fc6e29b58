#pragma once

#include "editor/SquareUtilityBase.h"

namespace UtilityButtons
{
// The signal-flow order ("Order"): the section that comes first, an arrow, the one that follows
// ("HEADS" before "SPACE" below 0.5). A mouse-down swaps them.
class OrderButton : public SquareUtilityBase
{
public:
    OrderButton() = default;

    void mouseDown(const juce::MouseEvent& e) override;
    void paint(juce::Graphics& g) override;

    juce::RangedAudioParameter* parameter = nullptr;
};
} // namespace UtilityButtons
