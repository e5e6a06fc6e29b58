#pragma once

#include "patch/core/PatchObject.h"

#include <functional>

namespace PRT
{

// A toggle ("NoiseGate/toggle_obj-41"): 1 for any value that is not 0 (a NaN included), else 0.
// Takes "valin", reports "valout".
class Toggle : public PatchObject
{
public:
    Toggle(GeneratedPatcher& owner, HashedText path);

    void setToggleValue(float value);
    float getValue() const { return value; }

    // What the toggle drives, with 0 or 1.
    std::function<void(float)> onValue;

    void receiveNumber(MessageTag tag, float number) override;

private:
    float value = 0.0f;
};

} // namespace PRT
