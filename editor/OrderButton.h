#pragma once

#include "editor/ToggleSquareBase.h"

namespace UtilityButtons
{
// The signal-flow order ("Order"): the section that comes first, an arrow, the one that follows
// ("HEADS" before "SPACE" below 0.5). A mouse-down swaps them.
class OrderButton : public ToggleSquareBase
{
public:
    OrderButton() = default;

    void paint(juce::Graphics& g) override;
    std::vector<Caption> getCaptions() const override;
    juce::Rectangle<float> getSymbolBounds() const override;

private:
    juce::Path arrow() const;
};
} // namespace UtilityButtons
