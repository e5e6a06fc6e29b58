#pragma once

#include <mutex>
#include <utility>

namespace Quillmore
{
// A value that several threads read and change, each access under a lock of its own: reads hand out a
// copy, changes run a function on the value in place. Never for the audio thread: the lock may wait.
template <typename Value>
class LockedValue
{
public:
    LockedValue() = default;
    explicit LockedValue(Value initial) : value(std::move(initial)) {}

    Value get() const
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return value;
    }

    // change(Value&) must not reach this value again: the lock is not re-entrant.
    template <typename Change>
    decltype(auto) update(Change&& change)
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return std::forward<Change>(change)(value);
    }

private:
    mutable std::mutex mutex;
    Value value{};
};
} // namespace Quillmore
