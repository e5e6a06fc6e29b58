#pragma once

// Counts the calls to the global operator new and operator delete, for the tests that show the audio
// thread leaves the heap alone. This header replaces those operators for the whole binary, so exactly
// one source file of a binary includes it: a test of its own under tests/<area>/isolated/. A second
// includer in the same binary fails to link (the operators defined twice).

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace PRT::test
{

namespace allocationCounter
{
inline std::atomic<bool> counting{false};
inline std::atomic<long> calls{0};

inline void release(void* p) noexcept
{
    if (counting.load() && p != nullptr)
        ++calls;
    std::free(p);
}
} // namespace allocationCounter

// The heap calls made, by any thread, while `work` runs.
template <typename Work>
long heapCallsDuring(Work&& work)
{
    const long before = allocationCounter::calls.load();
    allocationCounter::counting = true;
    work();
    allocationCounter::counting = false;
    return allocationCounter::calls.load() - before;
}

} // namespace PRT::test

void* operator new(std::size_t size)
{
    if (PRT::test::allocationCounter::counting.load())
        ++PRT::test::allocationCounter::calls;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    PRT::test::allocationCounter::release(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    PRT::test::allocationCounter::release(p);
}
