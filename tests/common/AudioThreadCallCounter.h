#pragma once

// Counts the heap and lock calls that one thread makes inside a counting window, for the tests that
// show the audio thread neither allocates nor waits for a lock. It works below operator new: it
// replaces the C library's allocation functions and the POSIX lock functions for the whole binary, so
// it also sees what JUCE allocates with malloc (HeapBlock, AudioBuffer), what the runtime allocates
// through its platform object, and every std::mutex, juce::CriticalSection or read-write lock.
// Spin locks built on atomics are invisible to it.
//
// Exactly one source file of a binary includes it: a test of its own under tests/<area>/isolated/.
// The sanitizers replace the same functions, so in a sanitizer build nothing is replaced and
// `available` is false.

#include <atomic>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QUILLMORE_CALL_COUNTER_AVAILABLE 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define QUILLMORE_CALL_COUNTER_AVAILABLE 0
#endif
#endif
#ifndef QUILLMORE_CALL_COUNTER_AVAILABLE
#define QUILLMORE_CALL_COUNTER_AVAILABLE 1
#endif

namespace AudioThreadCallCounter
{
inline constexpr bool available = QUILLMORE_CALL_COUNTER_AVAILABLE != 0;

struct Calls
{
    long heap = 0;  // malloc, calloc, realloc, free and the aligned forms (operator new and delete included)
    long locks = 0; // mutex, read-write lock and semaphore waits, trying ones included
};

namespace detail
{
inline thread_local bool counting = false;
inline thread_local long heap = 0;
inline thread_local long locks = 0;

inline void countHeapCall() noexcept
{
    if (counting)
        ++heap;
}

inline void countLockCall() noexcept
{
    if (counting)
        ++locks;
}
} // namespace detail

// The calls the calling thread makes while `work` runs; other threads are not counted.
template <typename Work>
Calls callsDuring(Work&& work)
{
    const long heapBefore = detail::heap;
    const long locksBefore = detail::locks;
    detail::counting = true;
    work();
    detail::counting = false;
    return { detail::heap - heapBefore, detail::locks - locksBefore };
}
} // namespace AudioThreadCallCounter

#if QUILLMORE_CALL_COUNTER_AVAILABLE

#include <dlfcn.h>
#include <pthread.h>
#include <semaphore.h>

#include <cerrno>
#include <cstddef>
#include <ctime>

// glibc's own allocator, under the names it exports for exactly this purpose.
extern "C" void* __libc_malloc(std::size_t) noexcept;
extern "C" void* __libc_calloc(std::size_t, std::size_t) noexcept;
extern "C" void* __libc_realloc(void*, std::size_t) noexcept;
extern "C" void* __libc_memalign(std::size_t, std::size_t) noexcept;
extern "C" void* __libc_valloc(std::size_t) noexcept;
extern "C" void* __libc_pvalloc(std::size_t) noexcept;
extern "C" void __libc_free(void*) noexcept;

extern "C" void* malloc(std::size_t size) noexcept
{
    AudioThreadCallCounter::detail::countHeapCall();
    return __libc_malloc(size);
}
extern "C" void* calloc(std::size_t count, std::size_t size) noexcept
{
    AudioThreadCallCounter::detail::countHeapCall();
    return __libc_calloc(count, size);
}
extern "C" void* realloc(void* pointer, std::size_t size) noexcept
{
    AudioThreadCallCounter::detail::countHeapCall();
    return __libc_realloc(pointer, size);
}
extern "C" void free(void* pointer) noexcept
{
    if (pointer != nullptr)
        AudioThreadCallCounter::detail::countHeapCall();
    __libc_free(pointer);
}
extern "C" void* memalign(std::size_t alignment, std::size_t size) noexcept
{
    AudioThreadCallCounter::detail::countHeapCall();
    return __libc_memalign(alignment, size);
}
extern "C" void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept
{
    AudioThreadCallCounter::detail::countHeapCall();
    return __libc_memalign(alignment, size);
}
extern "C" int posix_memalign(void** result, std::size_t alignment, std::size_t size) noexcept
{
    AudioThreadCallCounter::detail::countHeapCall();
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void* pointer = __libc_memalign(alignment, size);
    if (pointer == nullptr)
        return ENOMEM;
    *result = pointer;
    return 0;
}
extern "C" void* valloc(std::size_t size) noexcept
{
    AudioThreadCallCounter::detail::countHeapCall();
    return __libc_valloc(size);
}
extern "C" void* pvalloc(std::size_t size) noexcept
{
    AudioThreadCallCounter::detail::countHeapCall();
    return __libc_pvalloc(size);
}

namespace AudioThreadCallCounter::detail
{
// The C library's function of the same name, found once; dlsym neither locks through these functions
// nor minds being called twice.
template <typename Function>
Function next(std::atomic<Function>& cache, const char* name) noexcept
{
    Function function = cache.load(std::memory_order_acquire);
    if (function == nullptr)
    {
        function = reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
        cache.store(function, std::memory_order_release);
    }
    return function;
}
} // namespace AudioThreadCallCounter::detail

// Each lock function counts itself and calls the C library's (declared as the C library declares it:
// the POSIX thread functions do not throw, the semaphore waits are cancellation points).
#define QUILLMORE_COUNTED_LOCK_FUNCTION(name, parameters, arguments, exceptions)                      \
    extern "C" int name parameters exceptions                                                          \
    {                                                                                                  \
        using Function = int(*) parameters;                                                            \
        static std::atomic<Function> original{nullptr};                                                \
        AudioThreadCallCounter::detail::countLockCall();                                               \
        return AudioThreadCallCounter::detail::next(original, #name) arguments;                        \
    }

QUILLMORE_COUNTED_LOCK_FUNCTION(pthread_mutex_lock, (pthread_mutex_t * mutex), (mutex), noexcept)
QUILLMORE_COUNTED_LOCK_FUNCTION(pthread_mutex_trylock, (pthread_mutex_t * mutex), (mutex), noexcept)
QUILLMORE_COUNTED_LOCK_FUNCTION(pthread_mutex_timedlock, (pthread_mutex_t * mutex, const timespec* until), (mutex, until), noexcept)
QUILLMORE_COUNTED_LOCK_FUNCTION(pthread_rwlock_rdlock, (pthread_rwlock_t * lock), (lock), noexcept)
QUILLMORE_COUNTED_LOCK_FUNCTION(pthread_rwlock_wrlock, (pthread_rwlock_t * lock), (lock), noexcept)
QUILLMORE_COUNTED_LOCK_FUNCTION(pthread_rwlock_tryrdlock, (pthread_rwlock_t * lock), (lock), noexcept)
QUILLMORE_COUNTED_LOCK_FUNCTION(pthread_rwlock_trywrlock, (pthread_rwlock_t * lock), (lock), noexcept)
QUILLMORE_COUNTED_LOCK_FUNCTION(sem_wait, (sem_t * semaphore), (semaphore), )
QUILLMORE_COUNTED_LOCK_FUNCTION(sem_timedwait, (sem_t * semaphore, const timespec* until), (semaphore, until), )

#undef QUILLMORE_COUNTED_LOCK_FUNCTION

#endif
