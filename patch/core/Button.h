#pragma once

#include "patch/core/PatchObject.h"

#include <functional>

namespace PRT
{

// A button ("NoiseGate/button_obj-60"): takes "bangin", reports "bangout", then runs its connections.
class Button : public PatchObject
{
public:
    Button(GeneratedPatcher& owner, HashedText path);

    void bangButton();

    // What the button drives.
    std::function<void()> onBang;

    void receiveBang(MessageTag tag) override;
};

} // namespace PRT
