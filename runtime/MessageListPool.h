#pragma once

#include "runtime/List.h"

#include <cstddef>
#include <memory>

namespace PRT
{

// Lists for the message events that the engine hands to the parameter interfaces' handlers, prepared
// beforehand and recycled, so that sending a list message allocates nothing on the audio thread.
//
// A list handed out is an ordinary shared list that its holder may keep as long as it likes, on any
// thread. When its last share goes, its slot (the list with its storage and the record that counts
// the shares) returns to the pool. The pool's memory lives until the pool and every list it handed
// out are gone. A list longer than a slot, or one asked for while every slot is out, is allocated
// instead: a hoarding holder costs allocations, never a lost or blocked message.
//
// share() belongs to one thread at a time (the engine's); lists may be released on any thread, and
// neither side locks.
class MessageListPool
{
public:
    // Reserves slotCount lists of slotLength values each.
    MessageListPool(size_t slotCount, size_t slotLength);
    ~MessageListPool();

    MessageListPool(const MessageListPool&) = delete;
    MessageListPool& operator=(const MessageListPool&) = delete;

    // A list of its own holding a copy of values.
    std::shared_ptr<list> share(const list& values);

private:
    struct Slot;
    struct Slots;

    Slots* slots; // shared with the lists out
    size_t next = 0;
};

} // namespace PRT
