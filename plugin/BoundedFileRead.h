#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>
#include <optional>

namespace Quillmore
{
// The text of a file that anyone may have put in a folder we scan, read only when it is a regular
// file (through a symbolic link too) of at most maximumBytes. Nothing else is read: opening a FIFO
// would block for good and a device such as /dev/zero never ends, and a file that grows past the
// limit while it is read is refused too. Opening never blocks.
std::optional<juce::String> readBoundedRegularFile(const juce::File& file, size_t maximumBytes);
// The same, as the bytes the file holds.
std::optional<juce::MemoryBlock> readBoundedRegularFileBytes(const juce::File& file, size_t maximumBytes);
} // namespace Quillmore
