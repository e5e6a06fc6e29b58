#pragma once

#include "runtime/Types.h"

#include <atomic>

namespace PRT
{

// A parameter interface's copy of one parameter value, readable without asking the patcher.

// For interfaces whose shadow values are set and read on one thread only.
class ShadowValue
{
public:
    ParameterValue load() const { return value; }
    void store(ParameterValue newValue) { value = newValue; }

private:
    ParameterValue value = 0;
};

// For interfaces set from any thread while the audio thread writes reported values: a reader sees
// either the old or the new value, never a torn one.
class AtomicShadowValue
{
public:
    ParameterValue load() const { return value.load(); }
    void store(ParameterValue newValue) { value.exchange(newValue); }

private:
    std::atomic<ParameterValue> value{0};
};

} // namespace PRT
