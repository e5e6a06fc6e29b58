#pragma once

namespace PRT::dsp
{

// Takes a new input value when the trigger rises through 0.01, and holds it until the next rise.
class SampleAndHold
{
public:
    static constexpr float kThreshold = 0.01f;

    float next(float trigger, float input)
    {
        if (lastTrigger_ <= kThreshold && trigger > kThreshold)
            held_ = input;
        lastTrigger_ = trigger;
        return held_;
    }

    float held() const { return held_; }

private:
    float lastTrigger_ = 0.0f;
    float held_ = 0.0f;
};

} // namespace PRT::dsp
