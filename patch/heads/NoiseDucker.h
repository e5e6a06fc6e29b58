#pragma once

#include "patch/core/DataViewSlot.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/MessageBox.h"
#include "patch/core/NumberBox.h"
#include "patch/core/Quillmore.h"

namespace PRT
{

// The compressor of a noise ducker. The left and right duckers' compressor classes run this same
// code and differ only in their object paths and the name of their RMS buffer.
class NoiseDuckerCompressor : public GeneratedPatcher
{
public:
    struct Paths
    {
        HashedText flonum, flonum_1, flonum_2, number_obj_47, message_obj_45, loadbang_obj_46;
        const char* rmsBufferName;
    };

    explicit NoiseDuckerCompressor(const Paths& paths);

    // NoiseDuckTime 5..1000 ms: the attack (offset and scaled) and the release.
    virtual void setTimeInput(float time);

    void setupObjects() override;

    NumberBox flonum;        // threshold in dB, −96..0 (NoiseDuckThresh)
    NumberBox flonum_1;      // ratio
    NumberBox flonum_2;      // release in ms
    NumberBox number_obj_47; // attack in ms
    MessageBox message_obj_45;
    LoadBang loadbang_obj_46;
    OwnedDataRef rmsBuffer; // data reference 19

    float timeInput = 0.0f;
    float attackOffset = 50.0f;
    float attackScale = 1.2f;
    float threshold = 0.0f;
    float ratio = 0.0f;
    float releaseMs = 0.0f;
    float attackMs = 0.0f;
    int32_t rmsWindow = 44100; // samples
    float rmsSum = 0.0f;
    int32_t rmsCount = 0;
    int32_t rmsWriteIndex = 0;
    bool rmsReset = false;

protected:
    void processBlock(const SampleValue* const*, SampleValue* const*, Index) override {}
};

// A noise ducker: one channel of gated hiss through its compressor, keyed on the program.
class NoiseDucker : public GeneratedPatcher
{
public:
    explicit NoiseDucker(const char* name) : GeneratedPatcher({name, 2, 1}) {}

    void setupObjects() override { compressor->setupObjects(); }

    NoiseDuckerCompressor* compressor = nullptr;

protected:
    // Stand-in until the ducker is built: the hiss passes unducked.
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;
};

} // namespace PRT
