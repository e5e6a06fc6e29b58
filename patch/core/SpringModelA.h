#pragma once

#include "patch/core/DcBlocker.h"
#include "patch/core/GeneratedMath.h"
#include "runtime/DataView.h"
#include "runtime/Types.h"

#include <array>
#include <cstdint>

namespace PRT
{

class EngineInterface;

// Spring model A: the top level's own spring reverb, two tanks diffused through fourteen delay
// lines that live in the top level's data references 0 to 13 (the model's delays 4 to 17). This
// holds the model's controls, delay memories and state; the top level sets them up, SpringUtilities
// and FixStartupBurp write the controls, and the top level's block runs the model.
struct SpringModelA
{
    static constexpr int numDelayLines = 14;

    // The six controls, in the order the model takes them.
    struct Controls
    {
        float gen01Length = 0.0f;    // tank delay in samples (SpringSize)
        float gen01Decay = 0.0f;     // SpringDecay
        float gen01Spread = 0.0f;    // diffusion tap spread (SpringSize)
        float gen01Damping = 0.0f;   // SpringDecay
        float gen01Diffusion = 0.0f; // SpringDecay
        float gen01Gate = 0.0f;      // the start-up ramp: 0 at load, 1 once the patch has faded in
    };

    struct DelaySize
    {
        int64_t maximumDelay;
        int64_t storage; // samples: the next power of two at or above the maximum delay
    };

    // One delay line. Within a sample every read of the line comes before its one write, which
    // goes to the read position; then the position steps on. Positions and interpolation are
    // single precision, as the model's arithmetic is (dsp::DelayLine forms them in double). Every
    // value written is a float, so the lines hold floats: half the memory (and cache) of doubles,
    // the same samples.
    struct DelayLine
    {
        DataViewRef<Float32Buffer> view;
        int64_t maximumDelay = 0;
        uint64_t wrapMask = 0;
        int64_t readPosition = 0;
        int64_t writePosition = 0;
    };

    // The state the model carries from sample to sample, all 0 at the start. The loop (I, H) and
    // damping (K, J) feedback values must start at 0 too: K and J go into the tank lines even while
    // the start-up gate is closed, so any other start value rings out of silence when it opens.
    struct State
    {
        float I = 0.0f, H = 0.0f, K = 0.0f, J = 0.0f;
        float W = 0.0f, Y = 0.0f, B = 0.0f;
        float sR = 0.0f, sL = 0.0f, s3 = 0.0f, s4 = 0.0f;
        float a3 = 0.0f, a4 = 0.0f, a5 = 0.0f, a6 = 0.0f, a7 = 0.0f, ba = 0.0f, bb = 0.0f, bc = 0.0f;
    };

    // The size of line k (0..13), which does not depend on the sample rate: 500 samples in 512 for
    // lines 0 to 3, 44100 in 65536 for lines 4 to 13.
    static DelaySize delaySizeOf(int line);
    // Line k: resets its write position and gives its size.
    DelaySize gen01DelaySize(int line);

    // A new sample rate or block size (or a forced prepare): every line's storage resized to its
    // power of two and cleared, the engine told of each line's data reference (line k is the top
    // level's reference k), positions rewound where they lie beyond the line, and the DC blockers
    // cleared. The tanks' other state keeps its values.
    void setUpDelayLines(EngineInterface* engine);

    // One block: n samples of the two outputs from the two inputs, under the controls as they stand
    // at the call. A block that turns out not finite (a huge input overflowing the network) is
    // replaced by silence and the model starts again from empty lines, so it never stays silenced.
    void gen01Perform(const SampleValue* in1, const SampleValue* in2, Controls atCall, float sampleRate,
                      SampleValue* out1, SampleValue* out2, Index n);

    // Reflects v at +1 and -1 until it lies in [-1, 1] (exactly 1 stays 1); not finite gives 0.
    static float fold(float v) { return v >= -1.0f && v < 1.0f ? v : foldOutside(v); }

    Controls controls;
    std::array<DelayLine, numDelayLines> delayLines;
    State state;
    // The tanks' DC blockers, left and right; a prepare clears them.
    dsp::DcBlocker dcBlockerLeft, dcBlockerRight;

private:
    static float foldOutside(float v);
    void restartAfterOverflow(SampleValue* out1, SampleValue* out2, Index n);
};

inline SpringModelA::DelaySize SpringModelA::delaySizeOf(int line)
{
    const double nominal = line < 4 ? 500.0 : 44100.0;
    const auto maximumDelay = static_cast<int64_t>(nominal < 2.0 ? 2.0 : nominal);
    return {maximumDelay, static_cast<int64_t>(nextPowerOfTwo(static_cast<uint64_t>(maximumDelay)))};
}

inline SpringModelA::DelaySize SpringModelA::gen01DelaySize(int line)
{
    delayLines[static_cast<size_t>(line)].writePosition = 0;
    return delaySizeOf(line);
}

} // namespace PRT
