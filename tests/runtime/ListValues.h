#pragma once

#include "runtime/List.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

namespace PRT::test
{

// Lists built from, and read back into, plain values; the values are pushed one by one, so the list
// grows the way the patch's own lists do.
template <typename T>
listbase<T> makeListOf(std::initializer_list<T> values)
{
    listbase<T> made;
    for (T value : values)
        made.push(value);
    return made;
}

inline list makeList(std::initializer_list<float> values)
{
    return makeListOf<float>(values);
}

inline indexlist makeIndexList(std::initializer_list<uint32_t> values)
{
    return makeListOf<uint32_t>(values);
}

inline std::shared_ptr<list> makeSharedList(std::initializer_list<float> values)
{
    return std::make_shared<list>(makeList(values));
}

template <typename T>
std::vector<T> contents(const listbase<T>& values)
{
    return std::vector<T>(values.data(), values.data() + values.size());
}

} // namespace PRT::test
