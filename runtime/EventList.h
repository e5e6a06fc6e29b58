#pragma once

#include "runtime/EventVariant.h"

#include <cstddef>
#include <vector>

namespace PRT
{

// The engine's time-ordered event array. Events of equal time keep the order they were inserted in;
// inserting into reserved room does not allocate.
class EventList
{
public:
    void reserve(size_t count) { events.reserve(count); }

    // Index of the first event later than time (bisection).
    size_t upperBound(MillisecondTime time) const;
    // Inserts after every event whose time is not later than the event's own; returns its index.
    size_t insert(EventVariant&& event);
    void insertAt(size_t index, EventVariant&& event);

    void erase(size_t index) { events.erase(events.begin() + static_cast<std::ptrdiff_t>(index)); }
    void eraseFront(size_t count) { events.erase(events.begin(), events.begin() + static_cast<std::ptrdiff_t>(count)); }
    void clear() { events.clear(); }

    size_t size() const { return events.size(); }
    bool empty() const { return events.empty(); }
    size_t capacity() const { return events.capacity(); }
    EventVariant& operator[](size_t index) { return events[index]; }
    const EventVariant& operator[](size_t index) const { return events[index]; }

private:
    std::vector<EventVariant> events;
};

} // namespace PRT
