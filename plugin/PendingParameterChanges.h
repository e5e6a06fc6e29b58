#pragma once

#include <atomic>
#include <cmath>
#include <memory>

namespace Quillmore
{
// The latest value of each patch parameter that changed since the audio thread last looked, one slot
// per parameter. However many changes the host's threads make between two blocks (a knob dragged
// while the transport stands, automation written between blocks), the next block sends at most one
// value per parameter, the latest, and nothing here grows or allocates after construction.
//
// Threads: post from any thread; take from one thread at a time (the audio thread). A post that
// races a take is sent by that take or by the next one, never lost.
class PendingParameterChanges
{
public:
    explicit PendingParameterChanges(int numberOfSlots)
        : slots(std::make_unique<Slot[]>(static_cast<size_t>(numberOfSlots > 0 ? numberOfSlots : 0))),
          size(numberOfSlots > 0 ? numberOfSlots : 0)
    {
    }

    // A value that is not a finite number is dropped: the patch keeps the last finite one.
    void post(int slot, float value)
    {
        if (slot < 0 || slot >= size || !std::isfinite(value))
            return;
        slots[static_cast<size_t>(slot)].value.store(value, std::memory_order_relaxed);
        slots[static_cast<size_t>(slot)].pending.store(true, std::memory_order_release);
    }

    // Calls send(slot, value) for each slot posted to since the last take, with its latest value.
    template <typename Send>
    void take(Send&& send)
    {
        for (int i = 0; i < size; ++i)
        {
            Slot& slot = slots[static_cast<size_t>(i)];
            if (slot.pending.load(std::memory_order_relaxed) && slot.pending.exchange(false, std::memory_order_acquire))
                send(i, slot.value.load(std::memory_order_relaxed));
        }
    }

private:
    struct Slot
    {
        std::atomic<float> value{0.0f};
        std::atomic<bool> pending{false};
    };

    std::unique_ptr<Slot[]> slots;
    int size;
};
} // namespace Quillmore
