#pragma once

#include "patch/core/MemberRegistry.h"
#include "runtime/Types.h"

#include <cstddef>

namespace PRT
{

class GeneratedPatcher;

// Reallocates a float buffer through the platform to newCount samples; samples from oldCount on are
// zeroed when the buffer grows. Returns the new pointer, null for a count of 0.
float* resizeSignalBuffer(float* buffer, size_t oldCount, size_t newCount);

// Sets samples start .. n-1 of buffer to value; nothing when start >= n.
void fillSignalRange(float* buffer, size_t n, float value, size_t start);

// Copies n samples; from and to may be the same buffer.
void copySignal(const float* from, float* to, size_t n);

// One block-sized signal of a generated class. It registers with its class, which grows it in
// prepareToProcess (never in process) and frees it with the class.
class SignalBuffer
{
public:
    explicit SignalBuffer(GeneratedPatcher& owner);
    ~SignalBuffer();

    SignalBuffer(const SignalBuffer&) = delete;
    SignalBuffer& operator=(const SignalBuffer&) = delete;

    SampleValue* get() const { return samples; }
    SampleValue& operator[](size_t i) const { return samples[i]; }

    void resize(size_t oldCount, size_t newCount) { samples = resizeSignalBuffer(samples, oldCount, newCount); }

private:
    friend class MemberRegistry<SignalBuffer>;

    SampleValue* samples = nullptr;
    SignalBuffer* nextRegistered = nullptr;
};

} // namespace PRT
