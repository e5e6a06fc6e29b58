#pragma once

namespace PRT::dsp
{

// Takes a new input value when the trigger rises through its threshold (0.01 unless set), and holds it
// until the next rise. The previous trigger starts at 0, so a trigger that starts above a threshold of
// 0 or more takes the very first input.
class SampleAndHold
{
public:
    static constexpr float kThreshold = 0.01f;

    void setThreshold(float threshold) { threshold_ = threshold; }
    float threshold() const { return threshold_; }

    float next(float trigger, float input)
    {
        if (lastTrigger_ <= threshold_ && trigger > threshold_)
            held_ = input;
        lastTrigger_ = trigger;
        return held_;
    }

    float held() const { return held_; }

private:
    float threshold_ = kThreshold;
    float lastTrigger_ = 0.0f;
    float held_ = 0.0f;
};

} // namespace PRT::dsp
