#pragma once

#include "patch/core/HashedText.h"
#include "patch/core/MemberRegistry.h"
#include "runtime/List.h"
#include "runtime/Types.h"

#include <cstddef>
#include <cstdint>
#include <limits>

namespace PRT
{

class GeneratedPatcher;

// The message kinds an object takes, as a bit mask.
enum MessageKinds : uint32_t
{
    NoMessages = 0,
    NumberMessages = 1,
    ListMessages = 2,
    BangMessages = 4
};

// The tags an object kind uses (received and sent), for its class's tag resolution.
struct TagSet
{
    const HashedText* const* tags = nullptr;
    size_t count = 0;
};

template <size_t N>
constexpr TagSet makeTagSet(const HashedText* const (&tags)[N])
{
    return {tags, N};
}

// A member object of a generated class that takes part in the class's shared machinery: messages
// addressed to its object path, clock events with its clock ID, the class's prepare, the load clocks
// and tag resolution. Objects register with their class when constructed, so the class's fixed
// object order (the order of dispatch and of resolution) is the order in which it declares them.
// An object without a path receives no messages; one without a clock ID gets no clock events.
class PatchObject
{
public:
    static constexpr ClockId noClock = std::numeric_limits<ClockId>::max();

    PatchObject(GeneratedPatcher& owner, HashedText path, uint32_t receivedKinds, TagSet kindTags,
                ClockId clockId = noClock);
    virtual ~PatchObject() = default;

    PatchObject(const PatchObject&) = delete;
    PatchObject& operator=(const PatchObject&) = delete;

    MessageTag getId() const { return path.hash; }
    const char* getPath() const { return path.text; }
    ClockId getClockId() const { return clockId; }
    uint32_t getReceivedKinds() const { return receivedKinds; }

    // A message addressed to this object's ID; tags the kind does not use are ignored.
    virtual void receiveNumber(MessageTag, float) {}
    virtual void receiveList(MessageTag, const list&) {}
    virtual void receiveBang(MessageTag) {}
    // A clock event with this object's clock ID, after the class updated its time.
    virtual void receiveClock(bool /*hasValue*/, ParameterValue /*value*/) {}
    // The rate-dependent set-up, from the class's prepare: runs when the object was never set up or
    // when the prepare changed something.
    virtual void prepare(bool /*changed*/) {}
    // Schedules the object's start-up clock (load-time objects only).
    virtual void scheduleAtLoad() {}

    const char* resolveKindTag(MessageTag hash) const;
    const char* resolvePath(MessageTag hash) const;

protected:
    // Messages go out through the engine at the class's current time, with this object's ID.
    void sendNumber(const HashedText& tag, float value);
    void sendList(const HashedText& tag, const list& values);
    void sendBang(const HashedText& tag);
    // Whether a message of this tag would reach anyone (no engine: no one).
    bool isTaken(const HashedText& tag) const;
    // A clock event for the owning class, at the class's current time plus delay.
    void scheduleOwnClock(MillisecondTime delay);
    void scheduleOwnClockWithValue(MillisecondTime delay, ParameterValue value);

    GeneratedPatcher& owner;

private:
    friend class MemberRegistry<PatchObject>;

    const HashedText path;
    const uint32_t receivedKinds;
    const TagSet kindTags;
    const ClockId clockId;
    PatchObject* nextRegistered = nullptr;
};

// A value from a list message: the first element (0, reported once per process, for an empty list).
inline float firstElement(const list& values)
{
    return values[0];
}

// The first element read directly, as a box's own output reads it: 0 for an empty list, unreported.
inline float firstOrZero(const list& values)
{
    return values.size() > 0 ? values.data()[0] : 0.0f;
}

} // namespace PRT
