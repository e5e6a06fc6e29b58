#include "patch/space/SpringsB.h"

#include "patch/core/GeneratedMath.h"
#include "patch/core/SignalBuffer.h"

namespace PRT
{

Quillmore::PRTSubpatcher_49::PRTSubpatcher_49() : GeneratedPatcher({"SpringsB", 2, 2})
{
    for (NumberBox* gain : {&number_obj_86, &number_obj_47, &number_obj_21, &number_obj_80, &number_obj_23,
                            &number_obj_25, &number_obj_76})
        gain->setRange(0.0f, 1.0f);
    slider_obj_88.onValue = [this](float feedback) { number_obj_86.setNumberValue(feedback); };
    slider_obj_96.onValue = [this](float factor) { sizeFactor = factor; };
}

void Quillmore::PRTSubpatcher_49::setDecayInput(float springDecay)
{
    const float c = scaleValue(springDecay, 0.0f, 100.0f, 1.05f, 1.35f, 1.0f);
    number_obj_25.setNumberValue(c * 0.25f);
    number_obj_80.setNumberValue(c * 0.35f);
    number_obj_21.setNumberValue(c * 0.45f);
    number_obj_76.setNumberValue(c * 0.4f);
    number_obj_47.setNumberValue(c * 0.4f);
    const float feedback = scaleValue(springDecay * 0.01f, 0.0f, 1.0f, 0.33f, 0.96f, 0.5f);
    slider_obj_88.setSliderFromRange(feedback, 0.0f, 1.0f);
}

void Quillmore::PRTSubpatcher_49::setSizeInput(float springSize)
{
    slider_obj_96.setSliderFromRange(scaleValue(springSize, 4.0f, 12.0f, 1.25f, 2.25f, 1.0f), 0.0f, 5.0f);
}

void Quillmore::PRTSubpatcher_49::setupObjects()
{
    delaytilde_03_del_bufferobj.requestFrames(1024);
    allpass_tilde_01_feedForward_bufferobj.requestFrames(65536);
    allpass_tilde_01_feedBack_bufferobj.requestFrames(65536);
    allpass_tilde_02_feedForward_bufferobj.requestFrames(65536);
    allpass_tilde_02_feedBack_bufferobj.requestFrames(65536);
    allpass_tilde_03_feedForward_bufferobj.requestFrames(65536);
    allpass_tilde_03_feedBack_bufferobj.requestFrames(65536);
    allpass_tilde_04_feedForward_bufferobj.requestFrames(65536);
    allpass_tilde_04_feedBack_bufferobj.requestFrames(65536);
    allpass_tilde_05_feedForward_bufferobj.requestFrames(65536);
    allpass_tilde_05_feedBack_bufferobj.requestFrames(65536);
    allpass_tilde_06_feedForward_bufferobj.requestFrames(65536);
    allpass_tilde_06_feedBack_bufferobj.requestFrames(65536);
    allpass_tilde_07_feedForward_bufferobj.requestFrames(65536);
    allpass_tilde_07_feedBack_bufferobj.requestFrames(65536);
    allpass_tilde_08_feedForward_bufferobj.requestFrames(65536);
    allpass_tilde_08_feedBack_bufferobj.requestFrames(65536);
    allpass_tilde_09_feedForward_bufferobj.requestFrames(65536);
    allpass_tilde_09_feedBack_bufferobj.requestFrames(65536);
    allpass_tilde_10_feedForward_bufferobj.requestFrames(65536);
    allpass_tilde_10_feedBack_bufferobj.requestFrames(65536);
    delaytilde_04_del_bufferobj.requestFrames(1024);
    number_obj_94.setUp(0);
    for (NumberBox* box : {&number_obj_86, &number_obj_47, &number_obj_21, &number_obj_80, &number_obj_23,
                           &number_obj_25, &number_obj_76})
        box->setUp(NumberBox::floatFormat);
}

void Quillmore::PRTSubpatcher_49::processBlock(const SampleValue* const*, SampleValue* const* outputs, Index n)
{
    fillSignalRange(outputs[0], n, 0.0f, 0);
    fillSignalRange(outputs[1], n, 0.0f, 0);
}

} // namespace PRT
