#pragma once

#include <juce_core/juce_core.h>

namespace Quillmore
{
// The millisecond counter that the editor's timed displays (value read-outs, holds) compare their
// deadlines with. It is the framework's counter unless a test has put a clock of its own in place,
// so that holds can be stepped through without waiting.
juce::uint32 editorMilliseconds();

// The same clock in fractions of a millisecond: the framework's high-resolution counter, or the test's
// clock while one is set. The animated displays measure their time steps with it.
double editorMillisecondsHiRes();

// A source for editorMilliseconds while set; nullptr restores the framework's counter. Message thread.
using EditorClockSource = juce::uint32 (*)();
void setEditorClockSource(EditorClockSource source);
} // namespace Quillmore
