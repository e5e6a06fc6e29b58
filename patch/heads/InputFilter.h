#pragma once

#include "patch/core/LoadTimeObjects.h"
#include "patch/core/MessageBox.h"
#include "patch/core/Quillmore.h"
#include "patch/core/SignalBuffer.h"
#include "patch/core/SignalMonitor.h"

namespace PRT
{

// "InputFilter": the Heads section's high-pass, cut-off HighPass and resonance HighPassQ.
class Quillmore::PRTSubpatcher_51 : public GeneratedPatcher
{
public:
    PRTSubpatcher_51() : GeneratedPatcher({"InputFilter", 2, 2}) {}

    // HighPassQ 0.1..2.
    virtual void setQInput(float q) { filterQ = q; }

    void setupObjects() override
    {
        numberTilde_obj_32.setUp(SignalMonitor::RampToSetValue);
        message_obj_1.setUp({1.0f});
    }

    SignalMonitor numberTilde_obj_32{*this, HashedText("InputFilter/number~_obj-32"), clocks::monitorA}; // cut-off
    MessageBox message_obj_1{*this, HashedText("InputFilter/message_obj-1")};
    LoadBang loadbang{*this, HashedText("InputFilter/loadbang_obj-1")};

    float filterQ = 0.0f;

protected:
    // Stand-in until the filter is built: the pair passes unfiltered.
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override
    {
        copySignal(inputs[0], outputs[0], n);
        copySignal(inputs[1], outputs[1], n);
    }
};

} // namespace PRT
