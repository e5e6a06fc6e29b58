#pragma once

#include "runtime/Types.h"

// Clock IDs that recur across the generated classes. A clock ID names one clock-driven object inside
// its class; the classes schedule clocks for themselves, so the same ID means unrelated objects in
// different classes. These are fixed numbers of the patch, not hashes of a text.
namespace PRT::clocks
{

inline constexpr ClockId loadBang = 0xcc0bcc09;       // a class's load-time bang
inline constexpr ClockId secondLoadBang = 0x9893e90a; // "NoiseGen/Biquad"'s second load-time bang
inline constexpr ClockId loadObjectA = 0x35360389;    // load-time objects scheduled at start-up
inline constexpr ClockId loadObjectB = 0x01be208a;

// Value clocks: each signal monitor of a class reports through one of these.
inline constexpr ClockId monitorA = 0x7d155ae8;
inline constexpr ClockId monitorB = 0xa6ea6c67;
inline constexpr ClockId monitorC = 0x296b37ea;
inline constexpr ClockId monitorD = 0x53404969;
inline constexpr ClockId monitorE = 0x5841e06f;
inline constexpr ClockId monitorF = 0x8216f1ee;

inline constexpr ClockId rampStep = 0x328f5a13;       // next segment of a message-rate ramp
inline constexpr ClockId secondRampStep = 0x48bbbb52; // the same for a class's second ramp
inline constexpr ClockId periodicTick = 0x735bab8e;   // the periodic tick of the Warbler and its crinkle

} // namespace PRT::clocks
