#include "runtime/EventList.h"

namespace PRT
{

size_t EventList::upperBound(MillisecondTime time) const
{
    size_t low = 0;
    size_t high = events.size();
    while (low < high)
    {
        const size_t middle = low + (high - low) / 2;
        if (events[middle].getTime() <= time)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

size_t EventList::insert(EventVariant&& event)
{
    const size_t index = upperBound(event.getTime());
    insertAt(index, std::move(event));
    return index;
}

void EventList::insertAt(size_t index, EventVariant&& event)
{
    events.insert(events.begin() + static_cast<std::ptrdiff_t>(index), std::move(event));
}

} // namespace PRT
