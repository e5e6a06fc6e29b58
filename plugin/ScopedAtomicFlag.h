#pragma once

#include <atomic>

namespace Quillmore
{
// Raises a flag for the life of a scope, then puts back what it was.
class ScopedAtomicFlag
{
public:
    explicit ScopedAtomicFlag(std::atomic<bool>& flagToRaise) : flag(flagToRaise), previous(flagToRaise.exchange(true)) {}
    ~ScopedAtomicFlag() { flag.store(previous); }

    ScopedAtomicFlag(const ScopedAtomicFlag&) = delete;
    ScopedAtomicFlag& operator=(const ScopedAtomicFlag&) = delete;

private:
    std::atomic<bool>& flag;
    const bool previous;
};
} // namespace Quillmore
