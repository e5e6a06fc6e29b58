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

inline void count() noexcept
{
    if (counting.load())
        ++calls;
}

inline void* allocate(std::size_t size) noexcept
{
    count();
    return std::malloc(size == 0 ? 1 : size);
}

// aligned_alloc wants a size that is a whole number of alignments.
inline void* allocate(std::size_t size, std::align_val_t alignment) noexcept
{
    count();
    const auto align = static_cast<std::size_t>(alignment);
    return std::aligned_alloc(align, (size == 0 ? align : size + align - 1) / align * align);
}

template <typename... Alignment>
void* allocateOrThrow(std::size_t size, Alignment... alignment)
{
    if (void* p = allocate(size, alignment...))
        return p;
    throw std::bad_alloc();
}

inline void release(void* p) noexcept
{
    if (p != nullptr)
        count();
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

// Every replaceable form, so that no allocation slips past the count (the sanitizers bring their own
// array, nothrow and aligned forms, which would otherwise go uncounted).
void* operator new(std::size_t size)
{
    return PRT::test::allocationCounter::allocateOrThrow(size);
}
void* operator new[](std::size_t size)
{
    return PRT::test::allocationCounter::allocateOrThrow(size);
}
void* operator new(std::size_t size, std::align_val_t alignment)
{
    return PRT::test::allocationCounter::allocateOrThrow(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment)
{
    return PRT::test::allocationCounter::allocateOrThrow(size, alignment);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return PRT::test::allocationCounter::allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return PRT::test::allocationCounter::allocate(size);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return PRT::test::allocationCounter::allocate(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return PRT::test::allocationCounter::allocate(size, alignment);
}

void operator delete(void* p) noexcept
{
    PRT::test::allocationCounter::release(p);
}
void operator delete[](void* p) noexcept
{
    PRT::test::allocationCounter::release(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    PRT::test::allocationCounter::release(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    PRT::test::allocationCounter::release(p);
}
void operator delete(void* p, std::align_val_t) noexcept
{
    PRT::test::allocationCounter::release(p);
}
void operator delete[](void* p, std::align_val_t) noexcept
{
    PRT::test::allocationCounter::release(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept
{
    PRT::test::allocationCounter::release(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept
{
    PRT::test::allocationCounter::release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept
{
    PRT::test::allocationCounter::release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    PRT::test::allocationCounter::release(p);
}
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept
{
    PRT::test::allocationCounter::release(p);
}
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept
{
    PRT::test::allocationCounter::release(p);
}
