#include "patch/core/PatchObject.h"

#include "patch/core/GeneratedPatcher.h"
#include "runtime/EngineInterface.h"

namespace PRT
{

PatchObject::PatchObject(GeneratedPatcher& ownerClass, HashedText objectPath, uint32_t kinds, TagSet tags,
                         ClockId clock)
    : owner(ownerClass), path(objectPath), receivedKinds(objectPath.text != nullptr ? kinds : NoMessages),
      kindTags(tags), clockId(clock)
{
    owner.registerObject(*this);
}

const char* PatchObject::resolveKindTag(MessageTag hash) const
{
    for (size_t i = 0; i < kindTags.count; ++i)
        if (kindTags.tags[i]->hash == hash)
            return kindTags.tags[i]->text;
    return nullptr;
}

const char* PatchObject::resolvePath(MessageTag hash) const
{
    return path.text != nullptr && path.hash == hash ? path.text : nullptr;
}

void PatchObject::sendNumber(const HashedText& tag, float value)
{
    if (EngineInterface* engine = owner.getEngine())
        engine->sendNumMessage(tag.hash, path.hash, value, owner.getTime());
}

void PatchObject::sendList(const HashedText& tag, const list& values)
{
    if (EngineInterface* engine = owner.getEngine())
        engine->sendListMessage(tag.hash, path.hash, values, owner.getTime());
}

void PatchObject::sendBang(const HashedText& tag)
{
    if (EngineInterface* engine = owner.getEngine())
        engine->sendBangMessage(tag.hash, path.hash, owner.getTime());
}

bool PatchObject::isTaken(const HashedText& tag) const
{
    EngineInterface* engine = owner.getEngine();
    return engine != nullptr && engine->takesMessage(tag.hash);
}

void PatchObject::scheduleOwnClock(MillisecondTime delay)
{
    owner.scheduleOwnClock(clockId, delay);
}

void PatchObject::scheduleOwnClockWithValue(MillisecondTime delay, ParameterValue value)
{
    owner.scheduleOwnClockWithValue(clockId, delay, value);
}

} // namespace PRT
