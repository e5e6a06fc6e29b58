#pragma once

#include "runtime/TagHash.h"
#include "runtime/Types.h"

namespace PRT
{

// A text of the generated patch together with its tag hash: a message kind ("valin") or an object
// path ("NoiseGen/number_obj-46"). constexpr, so that a class's tags and object IDs are folded from
// their texts at compile time instead of being typed in as numbers. A default-constructed one has no
// text and never matches a lookup.
struct HashedText
{
    constexpr HashedText() = default;
    constexpr explicit HashedText(const char* textToHash) : text(textToHash), hash(hashString(textToHash)) {}

    const char* text = nullptr;
    MessageTag hash = 0;
};

} // namespace PRT
