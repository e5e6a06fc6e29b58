#include "patch/core/SignalBuffer.h"

#include "patch/core/GeneratedPatcher.h"
#include "runtime/Platform.h"

#include <cstring>

namespace PRT
{

float* resizeSignalBuffer(float* buffer, size_t oldCount, size_t newCount)
{
    PlatformInterface& platform = *getPlatform();
    if (newCount == 0)
    {
        platform.free(buffer);
        return nullptr;
    }
    auto* resized = static_cast<float*>(platform.realloc(buffer, newCount * sizeof(float)));
    if (resized != nullptr && newCount > oldCount)
        fillSignalRange(resized, newCount, 0.0f, oldCount);
    return resized;
}

void fillSignalRange(float* buffer, size_t n, float value, size_t start)
{
    for (size_t i = start; i < n; ++i)
        buffer[i] = value;
}

void copySignal(const float* from, float* to, size_t n)
{
    if (from != to && n > 0)
        std::memmove(to, from, n * sizeof(float));
}

SignalBuffer::SignalBuffer(GeneratedPatcher& owner)
{
    owner.registerSignalBuffer(*this);
}

SignalBuffer::~SignalBuffer()
{
    if (samples != nullptr)
        getPlatform()->free(samples);
}

} // namespace PRT
