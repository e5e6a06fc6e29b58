#pragma once

#include "runtime/List.h"
#include "runtime/Types.h"

#include <array>
#include <cstddef>

namespace PRT
{

class GeneratedPatcher;

// A sample-accurate line of its class: a list of segments (a target, an increment per sample and an
// end, counted in the class's processed samples) rendered block by block.
// - A single value while the ramp time is 0 jumps there and drops every segment.
// - Anything else starts at the class's current sample (its block start plus the sample offset of
//   the event): the segment running then is cut where it stands and later ones are dropped (or,
//   when all have ended before, a hold at the last value is added up to that sample), then each
//   (value, time in ms) pair glides from the end of the previous one; a last value without a time
//   takes the ramp time. A time of 0 or less takes one sample.
// When the last segment ends the line schedules its done clock one block ahead and its ramp time
// returns to 0. Segment ends are kept in double precision so that lines stay sample-accurate after
// hours; at most maxSegments segments are kept (later pairs are dropped), so nothing allocates.
class SegmentRamp
{
public:
    static constexpr size_t maxSegments = 32;

    SegmentRamp(GeneratedPatcher& owner, ClockId doneClock);

    void setRampTime(float milliseconds) { rampTimeMs_ = milliseconds; }
    float rampTime() const { return rampTimeMs_; }

    void receive(const list& values);
    void receive(float value);

    void render(SampleValue* output, Index n);

    float value() const { return value_; }
    size_t segmentCount() const { return count_; }

private:
    struct Segment
    {
        float target;
        float increment;
        double end;
    };

    void start(const float* values, size_t size);
    void append(float target, float increment, double end);
    void removeFirst();

    GeneratedPatcher& owner_;
    const ClockId doneClock_;
    float rampTimeMs_ = 0.0f;
    float value_ = 0.0f;
    std::array<Segment, maxSegments> segments_{};
    size_t first_ = 0;
    size_t count_ = 0;
};

} // namespace PRT
