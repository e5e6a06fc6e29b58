#pragma once

#include "editor/ToggleSquareBase.h"

namespace UtilityButtons
{
// The tape stop ("TapeStop"): a stop symbol under "STOP", on a pink square while the tape is stopped.
// A mouse-down toggles it.
class StopButton : public ToggleSquareBase
{
public:
    static constexpr juce::uint32 stoppedColour = 0xffff327a;

    StopButton() = default;

    void paint(juce::Graphics& g) override;
    std::vector<Caption> getCaptions() const override;
    juce::Rectangle<float> getSymbolBounds() const override;
};
} // namespace UtilityButtons
