#pragma once

#include "patch/core/LoadTimeObjects.h"
#include "patch/core/Quillmore.h"
#include "patch/core/SignalBuffer.h"
#include "patch/core/SignalMonitor.h"

namespace PRT
{

// "SpringsHighPass": the high-pass ahead of the springs, cut-off SpringHighPass.
class Quillmore::PRTSubpatcher_45 : public GeneratedPatcher
{
public:
    PRTSubpatcher_45() : GeneratedPatcher({"SpringsHighPass", 2, 2}) {}

    void setupObjects() override
    {
        numberTilde_obj_32.setUp(SignalMonitor::RampToSetValue);
        numberTilde_obj_18.setUp(SignalMonitor::RampToSetValue);
        numberTilde_obj_30.setUp(SignalMonitor::RampToSetValue);
    }

    SignalMonitor numberTilde_obj_32{*this, HashedText("SpringsHighPass/number~_obj-32"), clocks::monitorA}; // cut-off
    SignalMonitor numberTilde_obj_18{*this, HashedText("SpringsHighPass/number~_obj-18"), clocks::monitorB};
    SignalMonitor numberTilde_obj_30{*this, HashedText("SpringsHighPass/number~_obj-30"), clocks::monitorC};
    LoadBang loadbang{*this, HashedText("SpringsHighPass/loadbang_obj-1")};

protected:
    // Stand-in until the filter is built: the spring feed passes unfiltered.
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override
    {
        copySignal(inputs[0], outputs[0], n);
        copySignal(inputs[1], outputs[1], n);
    }
};

} // namespace PRT
