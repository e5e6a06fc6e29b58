#pragma once

#include "patch/core/PatchObject.h"

#include <functional>

namespace PRT
{

// A number box ("NoiseGen/number_obj-46"): holds a value in its display format; format 6 keeps
// fractions, any other format truncates toward zero. Takes "valin" and "format"; reports "valout"
// and, at set-up, "setup".
class NumberBox : public PatchObject
{
public:
    static constexpr int64_t floatFormat = 6;

    NumberBox(GeneratedPatcher& owner, HashedText path);

    // A box that clamps, clamps before it stores.
    void setRange(float low, float high);
    // Set-up: the box's format, then "setup" with 1.
    void setUp(int64_t setupFormat);
    // The value a box holds before anything sets it: stored silently, driving nothing.
    void setInitialValue(float initial) { value = initial; }

    // Clamp (where the box has a range), truncate unless the format is 6, store, report "valout",
    // then drive what the box is connected to.
    void setNumberValue(float value);
    // "format": the integer part of value clamped to 0..6.
    void setFormat(float value);

    float getValue() const { return value; }
    int64_t getFormat() const { return format; }

    // What the box drives, with the value it stored.
    std::function<void(float)> onValue;

    void receiveNumber(MessageTag tag, float number) override;

private:
    float value = 0.0f;
    int64_t format = 0;
    bool clamps = false;
    float low = 0.0f;
    float high = 0.0f;
};

} // namespace PRT
