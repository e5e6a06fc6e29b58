#pragma once

// The single-producer queue orders its slots with standalone fences, which ThreadSanitizer does not
// see. The library annotates them only where __has_feature exists (not in GCC), so annotate here.
#if defined(__SANITIZE_THREAD__) && !defined(AE_TSAN_ANNOTATE_RELEASE)
extern "C" void AnnotateHappensBefore(const char* file, int line, void* address);
extern "C" void AnnotateHappensAfter(const char* file, int line, void* address);
namespace PRT
{
inline int queueFenceAnnotation;
}
#define AE_TSAN_ANNOTATE_RELEASE() AnnotateHappensBefore(__FILE__, __LINE__, &::PRT::queueFenceAnnotation)
#define AE_TSAN_ANNOTATE_ACQUIRE() AnnotateHappensAfter(__FILE__, __LINE__, &::PRT::queueFenceAnnotation)
#endif

#include <concurrentqueue/concurrentqueue.h>
#include <readerwriterqueue/readerwriterqueue.h>

#include <cstddef>

namespace PRT
{

// A never-blocking queue that carries elements between threads.
template <typename T>
class EventQueueBase
{
public:
    virtual ~EventQueueBase() = default;

    // Copies the element in; it is dropped only when the queue needs memory and cannot have it.
    virtual void enqueue(const T& element) = 0;
    // Moves the oldest waiting element (oldest of its producer, for a multi-producer queue) into out;
    // false, with out untouched, when nothing waits.
    virtual bool tryDequeue(T& out) = 0;
};

constexpr size_t eventQueueInitialCapacity = 128;

template <typename T, typename Queue>
class EventQueue final : public EventQueueBase<T>
{
public:
    EventQueue() : queue(eventQueueInitialCapacity) {}

    void enqueue(const T& element) override { queue.enqueue(element); }
    bool tryDequeue(T& out) override { return queue.try_dequeue(out); }

private:
    Queue queue;
};

// One producer and one consumer thread at a time.
template <typename T>
using SingleProducerEventQueue = EventQueue<T, moodycamel::ReaderWriterQueue<T, 512>>;

// Any number of producer threads; each producer's elements come out in its own order. A thread's
// first element makes room for that thread (it allocates).
template <typename T>
using MultiProducerEventQueue = EventQueue<T, moodycamel::ConcurrentQueue<T>>;

// One producer at a time, on whichever thread (the engine's side: a host may run its blocks on any of
// its threads, one after another), and any consumer threads. The producer's room is made once, here,
// so that a thread taking over the sending makes none and allocates nothing once the queue's blocks
// suffice.
template <typename T>
class SequentialProducerEventQueue final : public EventQueueBase<T>
{
public:
    // The producer's block index and blocks come into being with its first elements: a round of
    // them here makes that room ahead, for as many elements as a busy block sends.
    SequentialProducerEventQueue() : queue(warmCapacity), producer(queue)
    {
        for (size_t i = 0; i < warmCapacity; ++i)
            queue.enqueue(producer, T{});
        T discarded;
        while (queue.try_dequeue(discarded))
        {
        }
    }

    void enqueue(const T& element) override { queue.enqueue(producer, element); }
    bool tryDequeue(T& out) override { return queue.try_dequeue(out); }

private:
    static constexpr size_t warmCapacity = 1024;

    moodycamel::ConcurrentQueue<T> queue;
    moodycamel::ProducerToken producer;
};

} // namespace PRT
