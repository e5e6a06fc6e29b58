#pragma once

#include "editor/SquareUtilityBase.h"

namespace UtilityButtons
{
// The tape stop ("TapeStop"): a stop symbol under "STOP", on a pink square while the tape is stopped.
// A mouse-down toggles it.
class StopButton : public SquareUtilityBase
{
public:
    static constexpr juce::uint32 stoppedColour = 0xffff327a;

    StopButton() = default;

    void mouseDown(const juce::MouseEvent& e) override;
    void paint(juce::Graphics& g) override;

    juce::RangedAudioParameter* parameter = nullptr;
};
} // namespace UtilityButtons
