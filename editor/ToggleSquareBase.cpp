#include "editor/ToggleSquareBase.h"

namespace UtilityButtons
{
void ToggleSquareBase::mouseDown(const juce::MouseEvent& e)
{
    SquareUtilityBase::mouseDown(e);
    if (parameter != nullptr)
        parameter->setValueNotifyingHost(isOn() ? 0.0f : 1.0f);
}

bool ToggleSquareBase::isOn() const
{
    return parameter != nullptr && parameter->getValue() >= 0.5f;
}
} // namespace UtilityButtons
