#pragma once

#include <cstdint>

namespace PRT
{

// The tag hash of message kinds and object paths: h = h * 65599 + c over the bytes, each byte taken
// as a signed 8-bit value, modulo 2^32. Passing the first byte as seed and hashing the rest gives the
// hash of the whole text. constexpr, so that generated code can fold its tags at compile time.
constexpr uint32_t hashString(const char* text, uint32_t seed = 0)
{
    uint32_t hash = seed;
    for (; *text != '\0'; ++text)
        hash = hash * 65599u + static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(*text)));
    return hash;
}

} // namespace PRT
