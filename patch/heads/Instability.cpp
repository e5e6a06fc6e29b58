#include "patch/heads/Instability.h"

namespace PRT
{
namespace
{
constexpr RandomControlGeneratorSetup instabilitySetup{
    "Instability",
    HashedText("Warbler/StDrift/Instability/number_obj-28"),
    HashedText("Warbler/StDrift/Instability/number_obj-122"),
    HashedText("Warbler/StDrift/Instability/number_obj-104"),
    HashedText("Warbler/StDrift/Instability/loadmess_obj-1"),
    HashedText("Warbler/StDrift/Instability/loadmess_obj-4"),
    HashedText("Warbler/StDrift/Instability/message_obj-26"),
    HashedText("Warbler/StDrift/Instability/number~_obj-101"),
    HashedText("Warbler/StDrift/Instability/button_obj-6"),
    0.5f,
    3.0f,
    300.0f};
} // namespace

Quillmore::PRTSubpatcher_54::PRTSubpatcher_37::PRTSubpatcher_36::PRTSubpatcher_36()
    : RandomControlGenerator(instabilitySetup)
{
    message_obj_10.onOutput = [this](const list& content) {
        slideTime = firstOrZero(content);
        slide.setRise(slideTime);
        slide.setFall(slideTime);
    };
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_37::PRTSubpatcher_36::setupVariantObjects()
{
    message_obj_10.setUp({7200.0f});
    amountBox.setUp(NumberBox::floatFormat);
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_37::PRTSubpatcher_36::updateSlideTime(float sampleRate)
{
    lastSampleRate = sampleRate;
    message_obj_10.sendMessageBoxList(sampleRate * slideSeconds);
    message_obj_10.output();
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_37::PRTSubpatcher_36::prepareSignalObjects(bool changed)
{
    const bool recompute = !slidePrepared || changed;
    slidePrepared = true;
    RandomControlGenerator::prepareSignalObjects(changed);
    if (recompute && getSampleRate() != lastSampleRate)
        updateSlideTime(getSampleRate());
}

void Quillmore::PRTSubpatcher_54::PRTSubpatcher_37::PRTSubpatcher_36::finishOutput(SampleValue* output, Index n)
{
    dsp::Slide s = slide;
    for (Index i = 0; i < n; ++i)
        output[i] = s.next(output[i]);
    slide = s;
}

} // namespace PRT
