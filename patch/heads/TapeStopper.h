#pragma once

#include "patch/core/Button.h"
#include "patch/core/DataViewSlot.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/MessageBox.h"
#include "patch/core/NumberBox.h"
#include "patch/core/Quillmore.h"
#include "patch/core/Toggle.h"

namespace PRT
{

// "TapeStopper": stops and restarts the tape (TapeStop) with its inertia (TapeStopInertia); its
// third output is the hiss level, which closes while the tape stands.
class Quillmore::PRTSubpatcher_53 : public GeneratedPatcher
{
public:
    PRTSubpatcher_53();

    // TapeStopInertia 500..3000 ms: the stop and start ramp times.
    virtual void setInertiaInput(float inertia);

    void setupObjects() override;

    // The stopper's own part of the start-up, which the warbler's load-time routine runs too: the
    // button's chain, then the values derived from the sample rate.
    virtual void applyStartupValues() {}

    Toggle toggle_obj_136{*this, HashedText("TapeStopper/toggle_obj-136")};    // TapeStop
    MessageBox message_obj_112{*this, HashedText("TapeStopper/message_obj-112")}; // [2 × inertia]
    NumberBox number_obj_11{*this, HashedText("TapeStopper/number_obj-11")};   // crossfade-back factor
    LoadBang loadbang{*this, HashedText("TapeStopper/loadbang_obj-1")};
    Button button_obj_36{*this, HashedText("TapeStopper/button_obj-36")}; // start-up chain
    OwnedDataRef delaytilde_05_del_bufferobj{*this, "delaytilde_05_del_bufferobj"};
    OwnedDataRef delaytilde_06_del_bufferobj{*this, "delaytilde_06_del_bufferobj"};

    float inertiaInput = 0.0f;
    float inertiaFactor = 2.0f;
    float crossfadeBackFactor = 0.333f;
    float tapeStopped = 0.0f;

protected:
    // Stand-in until the stopper is built: the pair passes, the hiss level stays open.
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;
};

} // namespace PRT
