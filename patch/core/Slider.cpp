#include "patch/core/Slider.h"

#include "patch/core/GeneratedMath.h"
#include "patch/core/MessageTags.h"

namespace PRT
{
namespace
{
constexpr const HashedText* sliderTags[] = {&tags::valin, &tags::valout};
}

Slider::Slider(GeneratedPatcher& owner, HashedText path, float low, float high)
    : PatchObject(owner, path, NumberMessages, makeTagSet(sliderTags)), outputLow(low), outputHigh(high)
{
}

void Slider::setSliderValue(float newPosition)
{
    position = newPosition;
    sendNumber(tags::valout, position);
    if (onValue)
        onValue(scaleValue(position, 0.0f, 128.0f, outputLow, outputHigh, 1.0f));
}

void Slider::setSliderFromRange(float value, float low, float high)
{
    const float clamped = value < low ? low : (value > high ? high : value);
    setSliderValue(scaleValue(clamped, low, high, 0.0f, 128.0f, 1.0f));
}

void Slider::receiveNumber(MessageTag tag, float number)
{
    if (tag == tags::valin.hash)
        setSliderValue(number);
}

} // namespace PRT
