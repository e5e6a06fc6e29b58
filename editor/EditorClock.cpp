#include "editor/EditorClock.h"

#include <atomic>

namespace Quillmore
{
namespace
{
std::atomic<EditorClockSource> clockSource{nullptr};
} // namespace

juce::uint32 editorMilliseconds()
{
    if (const auto source = clockSource.load(std::memory_order_acquire))
        return source();
    return juce::Time::getMillisecondCounter();
}

double editorMillisecondsHiRes()
{
    if (const auto source = clockSource.load(std::memory_order_acquire))
        return static_cast<double>(source());
    return juce::Time::getMillisecondCounterHiRes();
}

void setEditorClockSource(EditorClockSource source)
{
    clockSource.store(source, std::memory_order_release);
}
} // namespace Quillmore
