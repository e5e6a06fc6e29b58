#include "patch/core/GeneratedLists.h"

#include <algorithm>

namespace PRT
{

list makeSingleValueList(float value)
{
    list result;
    result.push(value);
    return result;
}

list makeSingleValueList(int32_t value)
{
    return makeSingleValueList(static_cast<float>(value));
}

list makeSingleValueList(double value)
{
    return makeSingleValueList(static_cast<float>(value));
}

void assignSingleValue(list& target, float value)
{
    target.clear();
    target.push(value);
}

list makeScopeSetupList(float sampleRate, int64_t mode)
{
    list result;
    assignScopeSetupList(result, sampleRate, mode);
    return result;
}

void assignScopeSetupList(list& target, float sampleRate, int64_t mode)
{
    target.clear();
    target.reserve(9);
    for (const float value : {1.0f, 1.0f, sampleRate, 0.0f, 1.0f, 0.0f, 0.0f, 128.0f, static_cast<float>(mode)})
        target.push(value);
}

list makeSyncDivisionList()
{
    list result;
    result.reserve(16);
    for (const float beats : {0.0625f, 0.125f, 1.0f / 6.0f, 0.1875f, 0.25f, 1.0f / 3.0f, 0.375f, 0.5f, 2.0f / 3.0f,
                              0.75f, 1.0f, 4.0f / 3.0f, 1.5f, 2.0f, 3.0f, 4.0f})
        result.push(beats);
    return result;
}

list listShift(list& source, size_t n)
{
    const size_t taken = std::min(n, source.size());
    list result;
    if (taken == 0)
        return result;
    result.reserve(taken);
    for (size_t i = 0; i < taken; ++i)
        result.push(source[i]);
    source.removeFront(taken);
    return result;
}

} // namespace PRT
