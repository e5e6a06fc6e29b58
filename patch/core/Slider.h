#pragma once

#include "patch/core/PatchObject.h"

#include <functional>

namespace PRT
{

// A slider ("DryWetDelay/slider_obj-1"): holds a position 0..128 and drives its connections with the
// position mapped onto its output range (0..1 unless the class gives another). Takes "valin",
// reports "valout" with the position.
class Slider : public PatchObject
{
public:
    Slider(GeneratedPatcher& owner, HashedText path, float outputLow = 0.0f, float outputHigh = 1.0f);

    void setSliderValue(float position);
    // A patch value in [low, high] (clamped) shown as a position: mapped onto 0..128.
    void setSliderFromRange(float value, float low, float high);

    float getPosition() const { return position; }

    // What the slider drives, with the mapped value.
    std::function<void(float)> onValue;

    void receiveNumber(MessageTag tag, float number) override;

private:
    float position = 0.0f;
    float outputLow;
    float outputHigh;
};

} // namespace PRT
