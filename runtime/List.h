#pragma once

#include "runtime/Platform.h"

#include <cstddef>
#include <cstdint>
#include <utility>

namespace PRT
{

// Prints message through the platform's error print, but only for the first list error of the
// process: after that every out-of-range access stays silent.
void reportListError(const char* message);

// The patch's growable list value. Storage comes from the platform object and grows in steps of
// eight elements, always keeping capacity above the size. Out-of-range access never stops the
// patch: reads yield 0 and writes land in a spare element.
template <typename T>
class listbase
{
public:
    listbase() = default;

    listbase(const listbase& other) : count(other.count)
    {
        if (count != 0)
        {
            slots = roundedCapacity(count);
            elements = allocate(slots);
            copyElementsFrom(other);
        }
    }

    listbase(listbase&& other) noexcept
        : count(std::exchange(other.count, 0)),
          elements(std::exchange(other.elements, nullptr)),
          slots(std::exchange(other.slots, 0))
    {
    }

    listbase& operator=(const listbase& other)
    {
        if (this == &other)
            return *this;

        count = other.count;
        if (slots < count)
        {
            // The old contents are overwritten below, so they are not carried over.
            T* replacement = allocate(roundedCapacity(count));
            release();
            elements = replacement;
            slots = roundedCapacity(count);
        }
        copyElementsFrom(other);
        return *this;
    }

    listbase& operator=(listbase&& other) noexcept
    {
        if (this != &other)
        {
            release();
            count = std::exchange(other.count, 0);
            elements = std::exchange(other.elements, nullptr);
            slots = std::exchange(other.slots, 0);
        }
        return *this;
    }

    ~listbase() { release(); }

    size_t size() const { return count; }
    size_t capacity() const { return slots; }
    bool empty() const { return count == 0; }
    T* data() { return elements; }
    const T* data() const { return elements; }

    void push(T value)
    {
        // Grow one step early so that capacity stays strictly above the size.
        if (slots <= count + 1)
            regrow(roundedCapacity(count + 1), true);
        elements[count] = value;
        ++count;
    }

    // Makes room for n elements; the size is unchanged, the old elements are kept only when keep is set.
    void reserve(size_t n, bool keep = true)
    {
        if (slots < n)
            regrow(roundedCapacity(n), keep);
    }

    void clear() { count = 0; }

    T operator[](size_t index) const
    {
        if (index < count)
            return elements[index];
        reportListError("list index out of range");
        return T(0);
    }

    T& operator[](size_t index)
    {
        if (index < count)
            return elements[index];
        reportListError("list index out of range");
        spare = T(0);
        return spare;
    }

    void swapElements(uint32_t i, uint32_t j)
    {
        const T x = (*this)[i];
        const T y = (*this)[j];
        (*this)[i] = y;
        (*this)[j] = x;
    }

    // Drops the first min(n, size) elements; the rest move to the front.
    void removeFront(size_t n)
    {
        if (n >= count)
        {
            count = 0;
            return;
        }
        if (n == 0)
            return;
        getPlatform()->memmove(elements, elements + n, (count - n) * sizeof(T));
        count -= n;
    }

    // Removes and returns the first element; 0 for an empty list.
    T shift()
    {
        if (count == 0)
        {
            reportListError("cannot shift out of empty list");
            return T(0);
        }
        const T first = elements[0];
        getPlatform()->memmove(elements, elements + 1, (count - 1) * sizeof(T));
        --count;
        return first;
    }

private:
    static size_t roundedCapacity(size_t n) { return (n & ~size_t(7)) + 8; }

    static T* allocate(size_t n) { return static_cast<T*>(getPlatform()->malloc(n * sizeof(T))); }

    void regrow(size_t newCapacity, bool keep)
    {
        T* replacement = allocate(newCapacity);
        if (keep && elements != nullptr)
            getPlatform()->memcpy(replacement, elements, count * sizeof(T));
        release();
        elements = replacement;
        slots = newCapacity;
    }

    void copyElementsFrom(const listbase& other)
    {
        for (size_t i = 0; i < count; ++i)
            elements[i] = other.elements[i];
    }

    void release()
    {
        if (elements != nullptr)
            getPlatform()->free(elements);
        elements = nullptr;
        slots = 0;
    }

    size_t count = 0;
    T* elements = nullptr;
    size_t slots = 0;
    T spare = T(0);
};

// The patch's number list and its integer twin (index and key lists).
using list = listbase<float>;
using indexlist = listbase<uint32_t>;

} // namespace PRT
