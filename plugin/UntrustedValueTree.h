#pragma once

#include <juce_data_structures/juce_data_structures.h>

#include <cstddef>

namespace Quillmore
{
// Reads a value tree in the framework's binary form (ValueTree::writeToStream) from bytes that anyone
// may have written: a host's project, a damaged file, an attacker. The framework's own reader trusts
// what the bytes declare: a count of a few bytes makes it reserve gigabytes, a deep nest of children
// runs it out of stack, and a tree cut short comes back as a smaller valid tree. So the bytes are
// walked first, and read only when they begin with one complete tree in which every count and length
// fits in the data, nesting at most maxNestingDepth levels (children and array values alike), with
// known value kinds of their proper sizes, types and property names that are valid identifiers and
// texts in well-formed UTF-8. Anything else gives an invalid tree. Bytes after the tree are not looked at. Memory and time stay proportional to size.
juce::ValueTree readUntrustedValueTree(const void* data, size_t size);

inline constexpr int maxNestingDepth = 32;
} // namespace Quillmore
