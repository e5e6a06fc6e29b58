#include "patch/core/Toggle.h"

#include "patch/core/MessageTags.h"

namespace PRT
{
namespace
{
constexpr const HashedText* toggleTags[] = {&tags::valin, &tags::valout};
}

Toggle::Toggle(GeneratedPatcher& owner, HashedText path)
    : PatchObject(owner, path, NumberMessages, makeTagSet(toggleTags))
{
}

void Toggle::setToggleValue(float newValue)
{
    value = newValue != 0.0f ? 1.0f : 0.0f;
    sendNumber(tags::valout, value);
    if (onValue)
        onValue(value);
}

void Toggle::receiveNumber(MessageTag tag, float number)
{
    if (tag == tags::valin.hash)
        setToggleValue(number);
}

} // namespace PRT
