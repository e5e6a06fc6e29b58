#pragma once

#include "runtime/List.h"

#include <cstddef>
#include <cstdint>

// List builders and list operations of the generated patch. Builders allocate (through the platform)
// and belong to set-up code; objects that send lists per block refill a list they prepared instead
// (assignSingleValue), so that the audio thread allocates nothing in steady state.
namespace PRT
{

// One element, capacity 8.
list makeSingleValueList(float value);
list makeSingleValueList(int32_t value);
list makeSingleValueList(double value);

// Makes target the one-element list [value]; allocation-free once target has room for two elements
// (every list of capacity 8 has).
void assignSingleValue(list& target, float value);

// The nine-value "setup" list of a signal scope: [1, 1, sampleRate, 0, 1, 0, 0, 128, mode], capacity 16.
list makeScopeSetupList(float sampleRate, int64_t mode);
// The same into target; allocation-free once target has room for ten elements.
void assignScopeSetupList(list& target, float sampleRate, int64_t mode);

// The echo's sixteen sync divisions in beats, from 1/64 to a whole note, capacity 24.
list makeSyncDivisionList();

// Takes min(n, size) elements off the front of source and returns them (capacity as for a copy);
// the rest move to the front. An empty source or n = 0 gives an empty list and leaves source as it is.
list listShift(list& source, size_t n);

namespace detail
{
template <typename Keys, typename Values>
void swapParallel(Keys& keys, Values& values, int64_t i, int64_t j)
{
    // Checked access: a bad index reports once and lands on the list's spare element.
    const auto keyI = keys[static_cast<size_t>(i)];
    const auto keyJ = keys[static_cast<size_t>(j)];
    keys[static_cast<size_t>(i)] = keyJ;
    keys[static_cast<size_t>(j)] = keyI;
    const auto valueI = values[static_cast<size_t>(i)];
    const auto valueJ = values[static_cast<size_t>(j)];
    values[static_cast<size_t>(i)] = valueJ;
    values[static_cast<size_t>(j)] = valueI;
}
} // namespace detail

// Sorts keys[low..high] (inclusive) ascending, keys compared as floats, and applies every swap to
// values too: a Lomuto quicksort with the last element as pivot, recursing into the left part and
// looping over the right. Not stable; its recursion depth grows with the length for already sorted
// or equal keys, so it is meant for the short index lists of the generated code.
template <typename Values>
void sortParallelLists(indexlist& keys, Values& values, int64_t low, int64_t high)
{
    while (low < high)
    {
        const float pivot = static_cast<float>(keys[static_cast<size_t>(high)]);
        int64_t i = low - 1;
        for (int64_t j = low; j < high; ++j)
        {
            if (static_cast<float>(keys[static_cast<size_t>(j)]) <= pivot)
            {
                ++i;
                detail::swapParallel(keys, values, i, j);
            }
        }
        detail::swapParallel(keys, values, i + 1, high);
        sortParallelLists(keys, values, low, i);
        low = i + 2;
    }
}

} // namespace PRT
