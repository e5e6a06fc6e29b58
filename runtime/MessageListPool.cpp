#include "runtime/MessageListPool.h"

#include <atomic>
#include <cassert>

namespace PRT
{

// One list of the pool and the room for the share-counting record of the shared pointer that hands
// it out. The shared pointer is made with an allocator that places its record here and, when the
// record goes (after the last share and any weak reference), gives the slot back.
struct MessageListPool::Slot
{
    // Enough for the standard library's record of a pointer with an empty deleter and this allocator;
    // allocate() checks it when the record type is known.
    static constexpr size_t recordBytes = 64;

    struct KeepValues
    {
        void operator()(list*) const noexcept {}
    };

    template <typename T>
    struct RecordAllocator
    {
        using value_type = T;

        explicit RecordAllocator(Slot* owner) noexcept : slot(owner) {}
        template <typename U>
        RecordAllocator(const RecordAllocator<U>& other) noexcept : slot(other.slot)
        {
        }

        T* allocate(size_t n)
        {
            static_assert(sizeof(T) <= recordBytes && alignof(T) <= alignof(std::max_align_t),
                          "the shared-pointer record does not fit a slot");
            assert(n == 1);
            (void)n;
            return reinterpret_cast<T*>(slot->record);
        }

        void deallocate(T*, size_t) noexcept { slot->giveBack(); }

        friend bool operator==(const RecordAllocator& a, const RecordAllocator& b) { return a.slot == b.slot; }
        friend bool operator!=(const RecordAllocator& a, const RecordAllocator& b) { return a.slot != b.slot; }

        Slot* slot;
    };

    void giveBack() noexcept;

    list values;
    alignas(std::max_align_t) unsigned char record[recordBytes];
    // Set while the list is out; cleared (release) by the last holder's thread, claimed (acquire) by the
    // sharing thread, so the holder's last reads happen before the list is refilled.
    std::atomic<bool> out{false};
    Slots* pool = nullptr;
};

// The slots and a count of their holders: the pool object and every list out.
struct MessageListPool::Slots
{
    Slots(size_t slotCount, size_t slotLength) : slot(new Slot[slotCount]), count(slotCount), length(slotLength)
    {
        for (size_t i = 0; i < count; ++i)
        {
            slot[i].values.reserve(length);
            slot[i].pool = this;
        }
    }

    void drop() noexcept
    {
        if (holders.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }

    std::unique_ptr<Slot[]> slot;
    const size_t count;
    const size_t length;
    std::atomic<size_t> holders{1};
};

void MessageListPool::Slot::giveBack() noexcept
{
    Slots* owner = pool;
    out.store(false, std::memory_order_release);
    owner->drop();
}

MessageListPool::MessageListPool(size_t slotCount, size_t slotLength) : slots(new Slots(slotCount, slotLength)) {}

MessageListPool::~MessageListPool()
{
    slots->drop();
}

std::shared_ptr<list> MessageListPool::share(const list& values)
{
    if (values.size() <= slots->length)
    {
        for (size_t tried = 0; tried < slots->count; ++tried)
        {
            Slot& slot = slots->slot[next];
            next = next + 1 == slots->count ? 0 : next + 1;
            if (slot.out.load(std::memory_order_relaxed) || slot.out.exchange(true, std::memory_order_acquire))
                continue;

            slot.values = values; // within the reserved room: no allocation
            slots->holders.fetch_add(1, std::memory_order_relaxed);
            return std::shared_ptr<list>(&slot.values, Slot::KeepValues{}, Slot::RecordAllocator<list>(&slot));
        }
    }
    return std::make_shared<list>(values);
}

} // namespace PRT
