#include "patch/core/SegmentRamp.h"

#include "patch/core/GeneratedPatcher.h"

#include <cmath>

namespace PRT
{

SegmentRamp::SegmentRamp(GeneratedPatcher& owner, ClockId doneClock) : owner_(owner), doneClock_(doneClock) {}

void SegmentRamp::receive(const list& values)
{
    start(values.size() == 0 ? nullptr : values.data(), values.size());
}

void SegmentRamp::receive(float value)
{
    start(&value, 1);
}

void SegmentRamp::append(float target, float increment, double end)
{
    if (count_ == maxSegments)
        return;
    segments_[(first_ + count_) % maxSegments] = {target, increment, end};
    ++count_;
}

void SegmentRamp::removeFirst()
{
    first_ = (first_ + 1) % maxSegments;
    --count_;
}

void SegmentRamp::start(const float* values, size_t size)
{
    if (size == 0)
        return;
    if (size == 1 && rampTimeMs_ == 0.0f)
    {
        first_ = count_ = 0;
        value_ = values[0];
        return;
    }

    const auto counted = static_cast<double>(owner_.getProcessedSamples());
    const double now = counted + static_cast<double>(owner_.getSampleOffset());
    float lastValue = value_;
    double lastEnd = counted;
    for (size_t k = 0; k < count_; ++k)
    {
        Segment& s = segments_[(first_ + k) % maxSegments];
        if (s.end > now)
        {
            // The running segment continues from the value it has rendered up to now (its target
            // less the remaining steps would miss that by the rounding of every step taken).
            s.target = k == 0 ? static_cast<float>(value_ + (now - counted) * s.increment)
                              : static_cast<float>(s.target - (s.end - now) * s.increment);
            s.end = now;
            count_ = k + 1;
            lastValue = s.target;
            lastEnd = now;
            break;
        }
        lastValue = s.target;
        lastEnd = s.end;
    }
    if (lastEnd < now)
    {
        append(lastValue, 0.0f, now);
        lastEnd = now;
    }

    const double samplesPerMs = static_cast<double>(owner_.getSampleRate()) * 0.001;
    for (size_t k = 0; k < size; k += 2)
    {
        const float target = values[k];
        const float time = k + 1 < size ? values[k + 1] : rampTimeMs_;
        double length = static_cast<double>(time) * samplesPerMs;
        if (!(length > 0.0))
            length = 1.0;
        append(target, static_cast<float>((static_cast<double>(target) - lastValue) / length), lastEnd + length);
        lastValue = target;
        lastEnd += length;
    }
}

void SegmentRamp::render(SampleValue* output, Index n)
{
    const auto counted = static_cast<double>(owner_.getProcessedSamples());
    float v = value_;
    Index i = 0;
    while (count_ > 0 && i < n)
    {
        const Segment s = segments_[first_];
        double remaining = s.end - counted - static_cast<double>(i);
        if (remaining > 0.0)
        {
            // One step per sample while any of the segment remains: ceil(remaining) of them.
            const double left = static_cast<double>(n - i);
            const auto steps = static_cast<Index>(remaining < left ? std::ceil(remaining) : left);
            const float increment = s.increment;
            for (const Index end = i + steps; i < end; ++i)
            {
                output[i] = v;
                v += increment;
            }
            remaining -= static_cast<double>(steps);
        }
        if (remaining <= 0.0)
        {
            removeFirst();
            v = s.target;
            if (count_ == 0)
            {
                const double blockMs = static_cast<double>(n) * 1000.0 / static_cast<double>(owner_.getSampleRate());
                owner_.scheduleOwnClockWithValue(doneClock_, blockMs, 0.0f);
                rampTimeMs_ = 0.0f;
            }
        }
    }
    for (; i < n; ++i)
        output[i] = v;
    value_ = v;
}

} // namespace PRT
