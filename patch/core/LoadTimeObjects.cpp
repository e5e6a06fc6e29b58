#include "patch/core/LoadTimeObjects.h"

#include "patch/core/MessageTags.h"

namespace PRT
{
namespace
{
constexpr const HashedText* loadTimeTags[] = {&tags::startupbang};
}

LoadTimeObject::LoadTimeObject(GeneratedPatcher& owner, HashedText path, ClockId clockId)
    : PatchObject(owner, path, BangMessages, makeTagSet(loadTimeTags), clockId)
{
}

void LoadTimeObject::scheduleAtLoad()
{
    scheduleOwnClock(0.0);
}

void LoadTimeObject::receiveClock(bool, ParameterValue)
{
    fire();
}

void LoadTimeObject::receiveBang(MessageTag tag)
{
    if (tag == tags::startupbang.hash)
        fire();
}

LoadBang::LoadBang(GeneratedPatcher& owner, HashedText path, ClockId clockId) : LoadTimeObject(owner, path, clockId)
{
}

void LoadBang::fire()
{
    if (onFire)
        onFire();
}

LoadMessage::LoadMessage(GeneratedPatcher& owner, HashedText path, ClockId clockId, std::initializer_list<float> values)
    : LoadTimeObject(owner, path, clockId)
{
    for (const float value : values)
        content.push(value);
}

void LoadMessage::fire()
{
    if (onOutput)
        onOutput(content);
}

} // namespace PRT
