#pragma once

#include "patch/core/Button.h"
#include "patch/core/DataViewSlot.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/NumberBox.h"
#include "patch/core/Quillmore.h"
#include "patch/core/RandomState.h"
#include "patch/core/Slider.h"

namespace PRT
{

// "Warbler": wow, flutter, stereo drift, instability and blips modulate the tape's delay; it
// reports the warble of each side into WarbleL and WarbleR.
class Quillmore::PRTSubpatcher_54 : public GeneratedPatcher
{
public:
    class PRTSubpatcher_37; // "Warbler/StDrift"
    class PRTSubpatcher_38; // "Warbler/DamageCrinkleL"

    // The report clocks of the two sides.
    static constexpr ClockId leftReportClock = 0xea02ca51;
    static constexpr ClockId rightReportClock = 0x2def2952;

    PRTSubpatcher_54();

    // The seven warble parameters, each 0..100 (WowRate goes straight to number_obj-19).
    virtual void setInstabilityInput(float instability);
    virtual void setDriftInput(float drift);
    virtual void setFlutterInput(float flutter);
    virtual void setWowInput(float wow);
    virtual void setMasterInput(float masterWarble);
    virtual void setBlipsInput(float blips);

    void setupObjects() override;

    PRTSubpatcher_37* stDrift = nullptr;
    PRTSubpatcher_38* damageCrinkleL = nullptr;

    NumberBox number_obj_156{*this, HashedText("Warbler/number_obj-156")}; // instability
    NumberBox number_obj_18{*this, HashedText("Warbler/number_obj-18")};   // stereo drift 0..1
    NumberBox number_obj_36{*this, HashedText("Warbler/number_obj-36")};   // flutter 0..1
    NumberBox number_obj_19{*this, HashedText("Warbler/number_obj-19")};   // WowRate 0.01..5 Hz
    NumberBox number_obj_28{*this, HashedText("Warbler/number_obj-28")};   // wow depth 0..1
    NumberBox number_obj_27{*this, HashedText("Warbler/number_obj-27")};   // master depth 0..1000
    NumberBox number_obj_79{*this, HashedText("Warbler/number_obj-79")};   // blips gain
    // The re-sums of the depth terms: wow, instability, blips, drift.
    Button button_obj_285{*this, HashedText("Warbler/button_obj-285")};
    Button button_obj_284{*this, HashedText("Warbler/button_obj-284")};
    Button button_obj_293{*this, HashedText("Warbler/button_obj-293")};
    Button button_obj_302{*this, HashedText("Warbler/button_obj-302")};
    Slider slider_obj_370{*this, HashedText("Warbler/slider_obj-370")}; // left report
    Slider slider_obj_371{*this, HashedText("Warbler/slider_obj-371")}; // right report
    LoadBang loadbang{*this, HashedText("Warbler/loadbang_obj-1")};
    OwnedDataRef delaytilde_07_del_bufferobj{*this, "delaytilde_07_del_bufferobj"};
    OwnedDataRef delaytilde_08_del_bufferobj{*this, "delaytilde_08_del_bufferobj"};
    TopLevelDataView<Float64Buffer> cosineTable{*this, Quillmore::cosineTableIndex};

    float instabilityNoiseGain = 0.5f;
    float instabilityDepth = 0.0f;
    float instabilityRateDepth = 0.0f;
    float driftAmount = 0.0f;
    float flutterDepthTarget = 0.0f;
    float wowRateHz = 0.0f;
    float wowAmount = 0.0f;
    float wowDepthTarget = 0.0f;
    float masterDepthTarget = 0.0f;
    float reportGainL = 0.0f;
    float reportGainR = 0.0f;
    float blipsAmount = 0.0f;
    float blipsGain = 1.0f;
    float reportScale = 0.5f;
    float reportOffset = 0.5f;

protected:
    void createChildren() override;
    void onClock(ClockId clockId, bool hasValue, ParameterValue value) override;
    // Stand-in until the warble is built: the pair passes unmodulated.
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;
};

// "Warbler/StDrift": the stereo drift, fed by its "Instability" source.
class Quillmore::PRTSubpatcher_54::PRTSubpatcher_37 : public GeneratedPatcher
{
public:
    class PRTSubpatcher_36; // "Warbler/StDrift/Instability"

    PRTSubpatcher_37() : GeneratedPatcher({"StDrift", 0, 1}) {}

    // The drift amount 0..1, passed on to the instability source.
    void setAmount(float amount);

    PRTSubpatcher_36* instability = nullptr;
    TopLevelDataView<Float64Buffer> cosineTable{*this, Quillmore::cosineTableIndex};
    float driftAmount = 0.0f;

protected:
    void createChildren() override;
    void processBlock(const SampleValue* const*, SampleValue* const*, Index) override {}
};

// "Warbler/StDrift/Instability": the random source of the stereo drift.
class Quillmore::PRTSubpatcher_54::PRTSubpatcher_37::PRTSubpatcher_36 : public GeneratedPatcher
{
public:
    PRTSubpatcher_36() : GeneratedPatcher({"Instability", 0, 1}) {}

    NumberBox number_obj_28{*this, HashedText("Warbler/StDrift/Instability/number_obj-28")}; // amount
    LoadBang loadObjectB{*this, HashedText("Warbler/StDrift/Instability/loadmess_obj-1"), clocks::loadObjectB};
    LoadBang loadObjectA{*this, HashedText("Warbler/StDrift/Instability/loadmess_obj-2"), clocks::loadObjectA};

protected:
    void processBlock(const SampleValue* const*, SampleValue* const*, Index) override {}
};

// "Warbler/DamageCrinkleL": the blips.
class Quillmore::PRTSubpatcher_54::PRTSubpatcher_38 : public GeneratedPatcher
{
public:
    PRTSubpatcher_38() : GeneratedPatcher({"DamageCrinkleL", 0, 1}) {}

    NumberBox number_obj_10{*this, HashedText("Warbler/DamageCrinkleL/number_obj-10")}; // Blips 0..100
    LoadBang loadbang{*this, HashedText("Warbler/DamageCrinkleL/loadbang_obj-1")};

protected:
    void processBlock(const SampleValue* const*, SampleValue* const*, Index) override {}
};

} // namespace PRT
