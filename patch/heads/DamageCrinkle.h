#pragma once

#include "patch/core/Button.h"
#include "patch/core/EdgeDetector.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/MessageBox.h"
#include "patch/core/NumberBox.h"
#include "patch/core/RampPhasor.h"
#include "patch/core/RandomState.h"
#include "patch/core/SegmentRamp.h"
#include "patch/core/SignalMonitor.h"
#include "patch/core/SignalScope.h"
#include "patch/core/Slide.h"
#include "patch/core/Slider.h"
#include "patch/heads/Warbler.h"

#include <array>

namespace PRT
{

// "Warbler/DamageCrinkleL": the blips of damaged tape, a control signal in 0..1 that rests at 0 and
// at random moments rises into a short smooth bump. Each wrap of the blip clock (whose rate Blips
// and a random factor set) starts an envelope of random rise and fall; a follower glides after the
// envelope's value, sampled every 25 ms at block starts, and a slew limiter rounds it off.
class Quillmore::PRTSubpatcher_54::PRTSubpatcher_38 : public GeneratedPatcher
{
public:
    static constexpr ClockId blipWrapRisingClock = 0xdb866097;
    static constexpr ClockId blipClock = 0xa1951a17; // the blip clock's wrap: a blip
    static constexpr ClockId envelopeDoneClock = 0x92436b4f;
    static constexpr ClockId followerDoneClock = 0xef31b990;

    PRTSubpatcher_38();

    void setupObjects() override;
    // The load-time clock, then the first periodic tick at the same time.
    void scheduleLoadClocks() override;

    // The load-time routine: the slew times and tick period from their boxes, then one blip.
    void handleLoadBang();
    // A blip: new envelope shape, the envelope started, the follower's and slew's times from the last
    // rate draw, and a new rate draw.
    void startBlip();

    // number_obj-10 is the Blips entry, b 0..100.
    NumberBox number_obj_10{*this, HashedText("Warbler/DamageCrinkleL/number_obj-10")};
    NumberBox number_obj_153{*this, HashedText("Warbler/DamageCrinkleL/number_obj-153")}; // blip rate
    NumberBox number_obj_4{*this, HashedText("Warbler/DamageCrinkleL/number_obj-4")};     // rate factor
    NumberBox number_obj_200{*this, HashedText("Warbler/DamageCrinkleL/number_obj-200")}; // tick period
    NumberBox number_obj_13{*this, HashedText("Warbler/DamageCrinkleL/number_obj-13")};   // slew fall
    NumberBox number_obj_9{*this, HashedText("Warbler/DamageCrinkleL/number_obj-9")};     // slew rise
    NumberBox number_obj_34{*this, HashedText("Warbler/DamageCrinkleL/number_obj-34")};   // envelope rise
    NumberBox number_obj_36{*this, HashedText("Warbler/DamageCrinkleL/number_obj-36")};   // envelope fall
    NumberBox number_obj_26{*this, HashedText("Warbler/DamageCrinkleL/number_obj-26")};   // start level
    NumberBox number_obj_32{*this, HashedText("Warbler/DamageCrinkleL/number_obj-32")};   // start time
    NumberBox number_obj_28{*this, HashedText("Warbler/DamageCrinkleL/number_obj-28")};   // peak level
    NumberBox number_obj_30{*this, HashedText("Warbler/DamageCrinkleL/number_obj-30")};   // end level
    NumberBox number_obj_21{*this, HashedText("Warbler/DamageCrinkleL/number_obj-21")};   // follower addend
    MessageBox message_obj_198{*this, HashedText("Warbler/DamageCrinkleL/message_obj-198")}; // tick base
    MessageBox message_obj_146{*this, HashedText("Warbler/DamageCrinkleL/message_obj-146")}; // follower time
    MessageBox message_obj_16{*this, HashedText("Warbler/DamageCrinkleL/message_obj-16")};   // slew rise
    MessageBox message_obj_18{*this, HashedText("Warbler/DamageCrinkleL/message_obj-18")};   // slew fall
    MessageBox message_obj_1{*this, HashedText("Warbler/DamageCrinkleL/message_obj-1")};     // envelope
    MessageBox message_obj_24{*this, HashedText("Warbler/DamageCrinkleL/message_obj-24")};   // display
    Button button_obj_167{*this, HashedText("Warbler/DamageCrinkleL/button_obj-167")};
    Button button_obj_52{*this, HashedText("Warbler/DamageCrinkleL/button_obj-52")};
    Button button_obj_47{*this, HashedText("Warbler/DamageCrinkleL/button_obj-47")};
    Button button_obj_57{*this, HashedText("Warbler/DamageCrinkleL/button_obj-57")};
    Button button_obj_174{*this, HashedText("Warbler/DamageCrinkleL/button_obj-174")};
    Button button_obj_117{*this, HashedText("Warbler/DamageCrinkleL/button_obj-117")};
    Button button_obj_202{*this, HashedText("Warbler/DamageCrinkleL/button_obj-202")};
    LoadBang loadbang_obj_72{*this, HashedText("Warbler/DamageCrinkleL/loadbang_obj-72")};
    SignalMonitor numberTilde_obj_119{*this, HashedText("Warbler/DamageCrinkleL/number~_obj-119"), clocks::monitorA,
                                      0.0f, 25.0f};
    SignalMonitor numberTilde_obj_150{*this, HashedText("Warbler/DamageCrinkleL/number~_obj-150"), clocks::monitorB};
    Slider slider_obj_148{*this, HashedText("Warbler/DamageCrinkleL/slider_obj-148")};
    SignalScope scope_obj_147{*this, HashedText("Warbler/DamageCrinkleL/scope~_obj-147")};
    SignalScope scope_obj_48{*this, HashedText("Warbler/DamageCrinkleL/scope~_obj-48")};

    float blipRateHz = 0.01f;
    float blipRateBase = 0.0f;
    float blipRateFactor = 0.0f;
    float blipTickOn = 1500.0f;
    float blipTickIntervalMs = 500.0f;
    float tickBaseMs = 0.0f;
    float tickShortenMs = 0.0f;
    // Start level, start time (ms), peak level, rise (ms), end level, fall (ms).
    std::array<float, 6> blipEnvelope{0.0f, 0.0f, 1.0f, 15.0f, 0.0f, 100.0f};
    float followerAddend = 55.0f;
    float slideUpSamples = 20.0f;
    float slideDownSamples = 200.0f;
    RandomState blipShapeRandom;
    RandomState blipRateRandom;

    dsp::RampPhasor blipPhasor;
    dsp::SampleDelta blipDelta;
    EdgeDetector blipWrap{*this, blipWrapRisingClock, blipClock};
    SegmentRamp follower{*this, followerDoneClock};
    dsp::Slide slew;
    SegmentRamp envelope{*this, envelopeDoneClock};

protected:
    void onClock(ClockId clockId, bool hasValue, ParameterValue value) override;
    void prepareSignalObjects(bool changed) override;
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;

private:
    void connectObjects();
    void drawRate();
    // message_obj-1 := the six envelope values, then the envelope ramp starts from them.
    void startEnvelope();
    void runPeriodicTick();
    // The follower's and slew's times from message_obj-146's content (its first value v, and
    // factors 20 and 10 unless a second value replaces them).
    void applyFollowerTimes();

    bool operatorsPrepared = false;
    float slewFallFactor = 20.0f;
    float slewRiseFactor = 10.0f;
    list envelopeValues; // room for the six values, so that a blip does not allocate
    SignalBuffer s0{*this};
    SignalBuffer s1{*this};
};

} // namespace PRT
