#pragma once

#include "runtime/DataView.h"

#include <cstdint>

namespace PRT
{

// Writes value into frame index (truncated) and channel of a 64-bit buffer, first adding the stored
// sample times overdub when overdub is not 0, and marks the data reference touched. Does nothing at
// all for an index outside [0, frames) or a channel outside [0, channels); a buffer without storage
// only gets its touched mark.
void writeBufferSample(Float64Buffer& buffer, float value, float index, int64_t channel, float overdub);

} // namespace PRT
