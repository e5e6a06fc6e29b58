#pragma once

#include <atomic>

namespace Quillmore
{
// Counts a scope in for its life. Scopes on several threads may overlap and end in any order: the
// count is above zero exactly while one of them runs (a flag put back to what it was on entry would
// stay raised when an earlier scope ended last).
class ScopedAtomicCount
{
public:
    explicit ScopedAtomicCount(std::atomic<int>& countToRaise) : count(countToRaise) { count.fetch_add(1); }
    ~ScopedAtomicCount() { count.fetch_sub(1); }

    ScopedAtomicCount(const ScopedAtomicCount&) = delete;
    ScopedAtomicCount& operator=(const ScopedAtomicCount&) = delete;

private:
    std::atomic<int>& count;
};
} // namespace Quillmore
