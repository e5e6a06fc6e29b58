#pragma once

#include "patch/core/DataViewSlot.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/MessageBox.h"
#include "patch/core/NumberBox.h"
#include "patch/core/Quillmore.h"
#include "patch/core/RmsAverage.h"

namespace PRT
{

// The compressor of a noise ducker: a hard-knee downward compressor (ratio 3 after start-up) whose
// level is the RMS of its key over the last 1000 samples. Above the threshold the output rises by
// 1/ratio dB per dB of key; the gain falls over the attack time and recovers over the release time,
// as a linear ramp restarted whenever its target changes. The left and right duckers' compressor
// classes run this same code and differ only in their object paths and the name of their RMS buffer.
class NoiseDuckerCompressor : public GeneratedPatcher
{
public:
    struct Paths
    {
        HashedText flonum, flonum_1, flonum_2, number_obj_47, message_obj_45, loadbang_obj_46;
        const char* rmsBufferName;
    };

    explicit NoiseDuckerCompressor(const Paths& paths);

    // NoiseDuckTime 5..1000 ms: the attack trunc((time + 50) × 1.2) ms and the release time ms.
    virtual void setTimeInput(float time);

    void setupObjects() override;

    float getGain() const { return gainCurrent; }

    NumberBox flonum;        // threshold in dB, −96..0 (NoiseDuckThresh)
    NumberBox flonum_1;      // ratio, at least 1
    NumberBox flonum_2;      // release in ms
    NumberBox number_obj_47; // attack in ms, whole milliseconds
    MessageBox message_obj_45;
    LoadBang loadbang_obj_46;
    OwnedDataRef rmsBuffer; // data reference 19: the squared key samples

    float timeInput = 0.0f;
    float attackOffset = 50.0f;
    float attackScale = 1.2f;
    float threshold = 0.0f;
    float ratio = 0.0f;
    float releaseMs = 0.0f;
    float attackMs = 0.0f;

protected:
    // Input 0: the audio, input 1: the key; output 0: the audio times the gain, output 1: the gain.
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;
    // The RMS history restarts on the first prepare and on any change, and grows to hold a second at
    // the new rate.
    void prepareSignalObjects(bool changed) override;

private:
    void bindHistory();

    dsp::RmsAverage rms;
    bool rmsPrepared = false;
    SignalBuffer meanSquares{*this};
    SignalBuffer targets{*this};

    float gainCurrent = 0.0f;
    float gainSteps = 0.0f;
    float gainIncrement = 0.0f;
    float gainLastTarget = 0.0f;
};

// A noise ducker: one channel of gated hiss through its compressor, keyed on the program.
class NoiseDucker : public GeneratedPatcher
{
public:
    explicit NoiseDucker(const char* name) : GeneratedPatcher({name, 2, 1}) {}

    void setupObjects() override { compressor->setupObjects(); }

    NoiseDuckerCompressor* compressor = nullptr;

protected:
    // Input 0: the hiss channel, input 1: the key; output 0: the ducked hiss.
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;
};

} // namespace PRT
