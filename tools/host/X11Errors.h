#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The X protocol errors that reached this process. Kept apart from JUCE because Xlib's macros clash
// with JUCE's names.
namespace Quillmore::Host
{
// Replaces Xlib's default error handler, which ends the process, by one that records each error and
// carries on. Xlib's handler is process-wide: it sees the errors of every connection, the plug-in's
// own included.
void recordXErrors();

// Every error recorded so far, oldest first, described as "BadWindow (request 12.0, resource 0x...)".
std::vector<std::string> recordedXErrors();
} // namespace Quillmore::Host
