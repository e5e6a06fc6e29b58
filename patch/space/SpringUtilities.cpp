#include "patch/space/SpringUtilities.h"

#include "patch/core/GeneratedMath.h"
#include "patch/space/DryWetSprings.h"

namespace PRT
{

Quillmore::PRTSubpatcher_43::PRTSubpatcher_43() : GeneratedPatcher({"SpringUtilities", 0, 0})
{
    // Each number writes one control of the top level's spring model, at this module's time.
    auto writeControl = [this](float SpringModelA::Controls::*control) {
        return [this, control](float value) {
            Quillmore& top = topLevel();
            top.updateTime(getTime());
            top.gen01.controls.*control = value;
        };
    };
    number_obj_57.onValue = writeControl(&SpringModelA::Controls::gen01Diffusion);
    number_obj_4.onValue = writeControl(&SpringModelA::Controls::gen01Decay);
    number_obj_10.onValue = writeControl(&SpringModelA::Controls::gen01Damping);
    number_obj_45.onValue = writeControl(&SpringModelA::Controls::gen01Spread);
    number_obj_92.setRange(0.0f, 100.0f);
    number_obj_92.onValue = [this](float springMix) {
        const float m = springMix * mixFactor;
        topLevel().updateTime(getTime());
        PRTSubpatcher_46& mixer = *topLevel().dryWetSprings;
        mixer.updateTime(getTime());
        mixer.setSpringMix(m);
    };
}

Quillmore& Quillmore::PRTSubpatcher_43::topLevel()
{
    return static_cast<Quillmore&>(getTopLevel());
}

void Quillmore::PRTSubpatcher_43::setDecayInput(float springDecay)
{
    const float d = springDecay * decayFactor;
    number_obj_57.setNumberValue(scaleValue(d, 0.0f, 1.0f, 0.3f, 0.72f, 1.0f));
    number_obj_4.setNumberValue(scaleValue(d, 0.0f, 1.0f, 0.5f, 0.9f, 1.0f));
    number_obj_10.setNumberValue(scaleValue(1.0f - d, 0.0f, 1.0f, 0.45f, 0.8f, 1.0f));
}

void Quillmore::PRTSubpatcher_43::setSizeInput(float springSize)
{
    lengthSeconds = scaleValue(springSize, 4.0f, 12.0f, 0.049f, 0.095f, 1.0f);
    topLevel().updateTime(getTime());
    writeLength();
    number_obj_45.setNumberValue(scaleValue(springSize, 4.0f, 12.0f, 11.0f, 23.0f, 1.0f));
}

void Quillmore::PRTSubpatcher_43::writeLength()
{
    topLevel().gen01.controls.gen01Length = lengthSeconds * lengthRate;
}

void Quillmore::PRTSubpatcher_43::prepareSignalObjects(bool)
{
    if (getSampleRate() == lengthRate)
        return;
    lengthRate = getSampleRate();
    if (lengthSeconds >= 0.0f)
        writeLength();
}

void Quillmore::PRTSubpatcher_43::setupObjects()
{
    number_obj_92.setUp(NumberBox::floatFormat);
    number_obj_45.setUp(NumberBox::floatFormat);
    number_obj_10.setUp(NumberBox::floatFormat);
    number_obj_4.setUp(NumberBox::floatFormat);
    number_obj_57.setUp(NumberBox::floatFormat);
}

} // namespace PRT
