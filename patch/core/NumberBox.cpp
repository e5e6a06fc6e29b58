#include "patch/core/NumberBox.h"

#include "patch/core/MessageTags.h"

#include <cmath>

namespace PRT
{
namespace
{
constexpr const HashedText* numberBoxTags[] = {&tags::setup, &tags::valin, &tags::valout, &tags::format};
}

NumberBox::NumberBox(GeneratedPatcher& owner, HashedText path)
    : PatchObject(owner, path, NumberMessages, makeTagSet(numberBoxTags))
{
}

void NumberBox::setRange(float rangeLow, float rangeHigh)
{
    clamps = true;
    low = rangeLow;
    high = rangeHigh;
}

void NumberBox::setUp(int64_t setupFormat)
{
    format = setupFormat;
    sendNumber(tags::setup, 1.0f);
}

void NumberBox::setNumberValue(float newValue)
{
    if (clamps)
        newValue = newValue < low ? low : (newValue > high ? high : newValue);
    if (format != floatFormat)
        newValue = std::trunc(newValue);
    value = newValue;
    sendNumber(tags::valout, value);
    if (onValue)
        onValue(value);
}

void NumberBox::setFormat(float newFormat)
{
    // A NaN takes the lower bound.
    const float clamped = newFormat > 6.0f ? 6.0f : (newFormat >= 0.0f ? newFormat : 0.0f);
    format = static_cast<int64_t>(clamped);
}

void NumberBox::receiveNumber(MessageTag tag, float number)
{
    if (tag == tags::valin.hash)
        setNumberValue(number);
    else if (tag == tags::format.hash)
        setFormat(number);
}

} // namespace PRT
