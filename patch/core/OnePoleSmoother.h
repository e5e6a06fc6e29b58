#pragma once

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

private:
    float coefficient_;
    float value_ = 0.0f;
};

} // namespace PRT::dsp
