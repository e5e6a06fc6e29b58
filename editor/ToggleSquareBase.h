#pragma once

#include "editor/SquareUtilityBase.h"

namespace UtilityButtons
{
// A utility button that switches its 0..1 parameter on mouse-down (not on release), telling the host
// without a change gesture: HEADS, SPACE, ORDER and STOP.
class ToggleSquareBase : public SquareUtilityBase
{
public:
    void mouseDown(const juce::MouseEvent& e) override;

    // The parameter reads as on from 0.5; without a parameter, as off.
    bool isOn() const;

    // Set by the editor; null when the parameter state has no such parameter (clicks then do nothing).
    juce::RangedAudioParameter* parameter = nullptr;
};
} // namespace UtilityButtons
