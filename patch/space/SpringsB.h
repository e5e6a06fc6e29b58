#pragma once

#include "patch/core/DataViewSlot.h"
#include "patch/core/NumberBox.h"
#include "patch/core/Quillmore.h"
#include "patch/core/Slider.h"

namespace PRT
{

// "SpringsB": spring model B, two channels of five allpass stages with a fed-back short delay.
class Quillmore::PRTSubpatcher_49 : public GeneratedPatcher
{
public:
    PRTSubpatcher_49();

    // SpringDecay 0..100: the allpass gains and the feedback gain.
    virtual void setDecayInput(float springDecay);
    // SpringSize 4..12: the factor on every allpass time.
    virtual void setSizeInput(float springSize);

    void setupObjects() override;

    NumberBox number_obj_94{*this, HashedText("SpringsB/number_obj-94")}; // delay time
    NumberBox number_obj_86{*this, HashedText("SpringsB/number_obj-86")}; // feedback gain
    NumberBox number_obj_47{*this, HashedText("SpringsB/number_obj-47")};
    NumberBox number_obj_21{*this, HashedText("SpringsB/number_obj-21")};
    NumberBox number_obj_80{*this, HashedText("SpringsB/number_obj-80")};
    NumberBox number_obj_23{*this, HashedText("SpringsB/number_obj-23")};
    NumberBox number_obj_25{*this, HashedText("SpringsB/number_obj-25")};
    NumberBox number_obj_76{*this, HashedText("SpringsB/number_obj-76")};
    Slider slider_obj_88{*this, HashedText("SpringsB/slider_obj-88")};
    Slider slider_obj_96{*this, HashedText("SpringsB/slider_obj-96"), 0.0f, 5.0f};
    // Data references 19 to 40: the left feedback delay, the ten allpass stages' two lines each, the
    // right feedback delay.
    OwnedDataRef delaytilde_03_del_bufferobj{*this, "delaytilde_03_del_bufferobj"};
    OwnedDataRef allpass_tilde_01_feedForward_bufferobj{*this, "allpass_tilde_01_feedForward_bufferobj"};
    OwnedDataRef allpass_tilde_01_feedBack_bufferobj{*this, "allpass_tilde_01_feedBack_bufferobj"};
    OwnedDataRef allpass_tilde_02_feedForward_bufferobj{*this, "allpass_tilde_02_feedForward_bufferobj"};
    OwnedDataRef allpass_tilde_02_feedBack_bufferobj{*this, "allpass_tilde_02_feedBack_bufferobj"};
    OwnedDataRef allpass_tilde_03_feedForward_bufferobj{*this, "allpass_tilde_03_feedForward_bufferobj"};
    OwnedDataRef allpass_tilde_03_feedBack_bufferobj{*this, "allpass_tilde_03_feedBack_bufferobj"};
    OwnedDataRef allpass_tilde_04_feedForward_bufferobj{*this, "allpass_tilde_04_feedForward_bufferobj"};
    OwnedDataRef allpass_tilde_04_feedBack_bufferobj{*this, "allpass_tilde_04_feedBack_bufferobj"};
    OwnedDataRef allpass_tilde_05_feedForward_bufferobj{*this, "allpass_tilde_05_feedForward_bufferobj"};
    OwnedDataRef allpass_tilde_05_feedBack_bufferobj{*this, "allpass_tilde_05_feedBack_bufferobj"};
    OwnedDataRef allpass_tilde_06_feedForward_bufferobj{*this, "allpass_tilde_06_feedForward_bufferobj"};
    OwnedDataRef allpass_tilde_06_feedBack_bufferobj{*this, "allpass_tilde_06_feedBack_bufferobj"};
    OwnedDataRef allpass_tilde_07_feedForward_bufferobj{*this, "allpass_tilde_07_feedForward_bufferobj"};
    OwnedDataRef allpass_tilde_07_feedBack_bufferobj{*this, "allpass_tilde_07_feedBack_bufferobj"};
    OwnedDataRef allpass_tilde_08_feedForward_bufferobj{*this, "allpass_tilde_08_feedForward_bufferobj"};
    OwnedDataRef allpass_tilde_08_feedBack_bufferobj{*this, "allpass_tilde_08_feedBack_bufferobj"};
    OwnedDataRef allpass_tilde_09_feedForward_bufferobj{*this, "allpass_tilde_09_feedForward_bufferobj"};
    OwnedDataRef allpass_tilde_09_feedBack_bufferobj{*this, "allpass_tilde_09_feedBack_bufferobj"};
    OwnedDataRef allpass_tilde_10_feedForward_bufferobj{*this, "allpass_tilde_10_feedForward_bufferobj"};
    OwnedDataRef allpass_tilde_10_feedBack_bufferobj{*this, "allpass_tilde_10_feedBack_bufferobj"};
    OwnedDataRef delaytilde_04_del_bufferobj{*this, "delaytilde_04_del_bufferobj"};

    float sizeFactor = 0.0f;

protected:
    // Stand-in until the model is built: silent.
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;
};

} // namespace PRT
