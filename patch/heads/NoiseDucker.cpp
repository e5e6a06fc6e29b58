#include "patch/heads/NoiseDucker.h"

#include "patch/core/SignalBuffer.h"

namespace PRT
{

NoiseDuckerCompressor::NoiseDuckerCompressor(const Paths& paths)
    : GeneratedPatcher({"compressor", 2, 1}), flonum(*this, paths.flonum), flonum_1(*this, paths.flonum_1),
      flonum_2(*this, paths.flonum_2), number_obj_47(*this, paths.number_obj_47),
      message_obj_45(*this, paths.message_obj_45), loadbang_obj_46(*this, paths.loadbang_obj_46),
      rmsBuffer(*this, paths.rmsBufferName)
{
    flonum.setRange(-96.0f, 0.0f);
    flonum.onValue = [this](float dB) { threshold = dB; };
    flonum_1.onValue = [this](float value) { ratio = value; };
    flonum_2.onValue = [this](float ms) { releaseMs = ms; };
    number_obj_47.onValue = [this](float ms) { attackMs = ms; };
    message_obj_45.onOutput = [this](const list& values) { flonum_1.setNumberValue(firstElement(values)); };
    loadbang_obj_46.onFire = [this] { message_obj_45.output(); };
}

void NoiseDuckerCompressor::setTimeInput(float time)
{
    timeInput = time;
    number_obj_47.setNumberValue((time + attackOffset) * attackScale);
    flonum_2.setNumberValue(time);
}

void NoiseDuckerCompressor::setupObjects()
{
    rmsWindow = static_cast<int32_t>(getSampleRate());
    rmsBuffer.requestFrames(static_cast<size_t>(rmsWindow) + 1);
    rmsSum = 0.0f;
    rmsCount = 0;
    rmsWriteIndex = 0;
    rmsReset = false;
    flonum_2.setUp(NumberBox::floatFormat);
    number_obj_47.setUp(0);
    flonum.setUp(NumberBox::floatFormat);
    message_obj_45.setUp({3.0f});
    flonum_1.setUp(NumberBox::floatFormat);
}

void NoiseDucker::processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n)
{
    copySignal(inputs[0], outputs[0], n);
}

} // namespace PRT
