#pragma once

#include "patch/core/Button.h"
#include "patch/core/ControlRateRamp.h"
#include "patch/core/HeldSignal.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/MessageBox.h"
#include "patch/core/NoiseGenerator.h"
#include "patch/core/Quillmore.h"

#include <functional>

namespace PRT
{

// "FixStartupBurp": keeps the processed output silent for the first 300 ms after the patch starts,
// then fades it in with steps of 0.1 every 20 ms, fully open at 500 ms. At load its load bang
// presses its button, which sends [0, 0, 0.3, 5, 0.3, 10, 0, 5] to the burst line and
// [0, 0, 0, 300, 1, 200] to the ramp line; both lines become sample-accurate signals.
// Output 1 is the ramp, by which the top level multiplies its processed output. Output 2 is white
// noise shaped by the burst line (0.3 from 5 to 20 ms), which the top level discards.
// Each ramp value also drives the top level's sixth spring-model control (onRampValue).
class Quillmore::PRTSubpatcher_56 : public GeneratedPatcher
{
public:
    static constexpr HashedText loadBangPath{"FixStartupBurp/loadbang_obj-130"};
    static constexpr HashedText buttonPath{"FixStartupBurp/button_obj-112"};
    static constexpr HashedText rampContentPath{"FixStartupBurp/message_obj-115"};
    static constexpr HashedText burstContentPath{"FixStartupBurp/message_obj-4"};

    PRTSubpatcher_56();

    // The message boxes' initial contents (reported with "listout"), the held signals at their
    // lines' values, and the noise seeded from the process clock.
    void setupObjects() override;

    // Each ramp value, once the top level's time has been brought up to the step's time: the top
    // level writes it into its sixth spring-model control.
    std::function<void(float)> onRampValue;

    LoadBang loadBang{*this, loadBangPath};
    Button button{*this, buttonPath};
    MessageBox rampContent{*this, rampContentPath};
    MessageBox burstContent{*this, burstContentPath};
    ControlRateRamp rampLine{*this, clocks::secondRampStep};
    ControlRateRamp burstLine{*this, clocks::rampStep};
    HeldSignal rampSignal{*this};
    HeldSignal burstSignal{*this};
    dsp::NoiseGenerator noise;

private:
    // No inputs; outputs 0 (the ramp) and 1 (the noise burst).
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;

    SignalBuffer burstAmplitude{*this};
    SignalBuffer noiseSignal{*this};
};

} // namespace PRT
