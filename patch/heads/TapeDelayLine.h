#pragma once

#include "patch/core/DataViewSlot.h"
#include "patch/core/DelayLine.h"

#include <cmath>

namespace PRT
{

// A tape's delay line (the warbler's two, the tape stopper's two): at most floor(sr / rateDivisor)
// samples (200 ms for the warbler's divisor 5, 2 s for the stopper's 0.5) in a power-of-two line of
// the module's own data reference, read with linear interpolation. Unlike a plain delay line it
// applies a new delay time one sample after it arrives: each sample is read at the delay in force,
// and a different delay value only becomes the one in force for the next sample. That lag is part
// of how the tape sounds, so it lives here rather than in the shared line.
class TapeDelayLine
{
public:
    TapeDelayLine(OwnedFloatDataRef& storage, double rateDivisor) : storage_(storage), rateDivisor_(rateDivisor) {}

    // Sizes the line for the rate (storage resized and cleared, the engine told; may allocate), and
    // forgets the delay in force.
    void prepare(float sampleRate)
    {
        line_.setMaximumDelay(std::floor(static_cast<double>(sampleRate) / rateDivisor_));
        storage_.resizeFrames(line_.requiredCapacity());
        bind();
        line_.rewindIfBeyondMaximum();
        current_ = -1.0f;
    }

    // The storage the data reference holds now (after set-up allocated it, or a view rebuild).
    void bind() { line_.bind({storage_.getSamples(), storage_.getFrameCount()}); }
    // Set-up before the first prepare: the size at the class's default rate, storage requested.
    void requestStorage(float sampleRate)
    {
        line_.setMaximumDelay(std::floor(static_cast<double>(sampleRate) / rateDivisor_));
        storage_.requestFrames(line_.requiredCapacity());
    }

    void process(const SampleValue* input, const SampleValue* delay, SampleValue* output, Index n)
    {
        float current = current_;
        dsp::DelayLine line = line_; // in a local, so that the output buffer may not alias it
        for (Index i = 0; i < n; ++i)
        {
            const float d = delay[i];
            if (current == -1.0f)
                current = d;
            const float x = input[i];
            output[i] = line.readLinear(current);
            line.write(x);
            current = d;
        }
        line_ = line;
        current_ = current;
    }

    // process() for a block whose reads nobody hears: the input is recorded, and the delay in force
    // becomes the block's last.
    void record(const SampleValue* input, float lastDelay, Index n)
    {
        if (n == 0)
            return;
        line_.writeBlock(input, n);
        current_ = lastDelay;
    }

    std::int64_t maximumDelay() const { return line_.maximumDelay(); }
    std::size_t capacity() const { return line_.capacity(); }
    float delayInForce() const { return current_; }

private:
    OwnedFloatDataRef& storage_;
    const double rateDivisor_;
    dsp::DelayLine line_;
    float current_ = -1.0f;
};

} // namespace PRT
