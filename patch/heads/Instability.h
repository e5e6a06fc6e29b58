#pragma once

#include "patch/core/MessageBox.h"
#include "patch/core/Slide.h"
#include "patch/heads/RandomControlGenerator.h"
#include "patch/heads/StDrift.h"

namespace PRT
{

// "Warbler/StDrift/Instability": the random source of the left drift, its amount the drift amount.
// It redraws its cosine's frequency every 2 s and a level three times a second, glides there in
// 300 ms, and smooths the product with a slide of 0.15 s at the sample rate.
class Quillmore::PRTSubpatcher_54::PRTSubpatcher_37::PRTSubpatcher_36 : public RandomControlGenerator
{
public:
    static constexpr float slideSeconds = 0.15f;

    PRTSubpatcher_36();

    MessageBox message_obj_10{*this, HashedText("Warbler/StDrift/Instability/message_obj-10")}; // slide time

    // The slide's time in samples, both ways (0 before the first prepare: a pass-through).
    float getSlideTime() const { return slideTime; }

protected:
    void setupVariantObjects() override;
    void finishOutput(SampleValue* output, Index n) override;
    void onReload() override { updateSlideTime(getSampleRate()); }
    void prepareSignalObjects(bool changed) override;

private:
    // The slide's time := rate × 0.15 samples, through message_obj-10.
    void updateSlideTime(float sampleRate);

    float lastSampleRate = 0.0f;
    float slideTime = 0.0f;
    bool slidePrepared = false;
    dsp::Slide slide;
};

} // namespace PRT
