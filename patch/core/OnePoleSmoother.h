#pragma once

#include "runtime/Types.h"

namespace PRT::dsp
{

// Moves towards its target by a fixed fraction of the remaining distance per sample.
class OnePoleSmoother
{
public:
    explicit OnePoleSmoother(float coefficient = 1.0f) : coefficient_(coefficient) {}

    void setCoefficient(float coefficient) { coefficient_ = coefficient; }
    void setValue(float value) { value_ = value; }
    float value() const { return value_; }

    float next(float target)
    {
        value_ = value_ + (target - value_) * coefficient_;
        return value_;
    }

    // n samples of next(target) into out. A step that leaves the value where it was leaves it there
    // for good (the value settles a few units in the last place off its target, or on it), so the
    // rest of the block is a fill: the same samples as one by one.
    void render(float* out, Index n, float target)
    {
        float v = value_; // a local: the stores to out cannot touch it
        for (Index i = 0; i < n; ++i)
        {
            const float before = v;
            v = v + (target - v) * coefficient_;
            out[i] = v;
            if (v == before)
            {
                for (Index k = i + 1; k < n; ++k)
                    out[k] = v;
                break;
            }
        }
        value_ = v;
    }

private:
    float coefficient_;
    float value_ = 0.0f;
};

} // namespace PRT::dsp
