#pragma once

#include "patch/core/ClockIds.h"
#include "patch/core/PatchObject.h"

#include <functional>

namespace PRT
{

// A load-time object fires once at start-up, when the clock that the top level schedules for it at
// initialisation arrives, and again whenever "startupbang" is sent to it.
class LoadTimeObject : public PatchObject
{
public:
    LoadTimeObject(GeneratedPatcher& owner, HashedText path, ClockId clockId);

    virtual void fire() = 0;

    void scheduleAtLoad() override;
    void receiveClock(bool hasValue, ParameterValue value) override;
    void receiveBang(MessageTag tag) override;
};

// "NoiseGate/loadbang_obj-1": firing runs its connections.
class LoadBang : public LoadTimeObject
{
public:
    LoadBang(GeneratedPatcher& owner, HashedText path, ClockId clockId = clocks::loadBang);

    void fire() override;

    std::function<void()> onFire;
};

// "NoiseGen/loadmess_obj-26": firing outputs its stored list to its connections.
class LoadMessage : public LoadTimeObject
{
public:
    LoadMessage(GeneratedPatcher& owner, HashedText path, ClockId clockId, std::initializer_list<float> values = {});

    void fire() override;
    const list& getContent() const { return content; }

    std::function<void(const list&)> onOutput;

private:
    list content;
};

} // namespace PRT
