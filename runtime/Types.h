#pragma once

#include <cstdint>

namespace PRT
{

// Value types shared by every runtime and patch signature.
using ParameterIndex = uint32_t;
using ParameterValue = float;
using MillisecondTime = double; // engine time
using SampleValue = float;
using SampleOffset = int32_t;
using Index = uint32_t; // block sizes, channel, port and message counts
using DataRefIndex = int64_t;
using MessageTag = uint32_t; // tag hash of a message kind or an object path
using ClockId = uint64_t;
using OutletIndex = int32_t;

constexpr ParameterIndex NoParameter = 0xFFFFFFFFu;

} // namespace PRT
