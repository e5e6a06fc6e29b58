#include "patch/core/Button.h"

#include "patch/core/MessageTags.h"

namespace PRT
{
namespace
{
constexpr const HashedText* buttonTags[] = {&tags::bangin, &tags::bangout};
}

Button::Button(GeneratedPatcher& owner, HashedText path)
    : PatchObject(owner, path, BangMessages, makeTagSet(buttonTags))
{
}

void Button::bangButton()
{
    sendBang(tags::bangout);
    if (onBang)
        onBang();
}

void Button::receiveBang(MessageTag tag)
{
    if (tag == tags::bangin.hash)
        bangButton();
}

} // namespace PRT
