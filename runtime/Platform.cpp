#include "runtime/Platform.h"

#include "runtime/LoadTimeSetup.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace PRT
{
namespace
{
// Constant-initialised, so installed before any static initialiser runs. The reference to the
// standard platform also links the load-time set-up into every binary that uses the platform.
std::atomic<PlatformInterface*> currentPlatform{&standardPlatform};

void writeLine(const char* text)
{
    std::fputs(text, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
} // namespace

PlatformInterface* getPlatform()
{
    return currentPlatform.load(std::memory_order_acquire);
}

void setPlatform(PlatformInterface* platform)
{
    currentPlatform.store(platform, std::memory_order_release);
}

void PlatformInterfaceStdLib::printMessage(const char* text)
{
    writeLine(text);
}

// Standard output like printMessage: the patch's list errors are diagnostics, not failures.
void PlatformInterfaceStdLib::printErrorMessage(const char* text)
{
    writeLine(text);
}

void* PlatformInterfaceStdLib::malloc(size_t bytes)
{
    return std::malloc(bytes);
}

void* PlatformInterfaceStdLib::calloc(size_t count, size_t size)
{
    return std::calloc(count, size);
}

void* PlatformInterfaceStdLib::realloc(void* pointer, size_t bytes)
{
    if (bytes == 0)
    {
        std::free(pointer);
        return nullptr;
    }
    return std::realloc(pointer, bytes);
}

void PlatformInterfaceStdLib::free(void* pointer)
{
    std::free(pointer);
}

// Lists shift overlapping ranges through memcpy, so both copies must tolerate overlap.
void* PlatformInterfaceStdLib::memcpy(void* destination, const void* source, size_t bytes)
{
    return std::memmove(destination, source, bytes);
}

void* PlatformInterfaceStdLib::memmove(void* destination, const void* source, size_t bytes)
{
    return std::memmove(destination, source, bytes);
}

void* PlatformInterfaceStdLib::memset(void* destination, int value, size_t bytes)
{
    return std::memset(destination, value, bytes);
}

size_t PlatformInterfaceStdLib::strlen(const char* text)
{
    return std::strlen(text);
}

int PlatformInterfaceStdLib::strcmp(const char* a, const char* b)
{
    return std::strcmp(a, b);
}

char* PlatformInterfaceStdLib::strcpy(char* destination, const char* source)
{
    return std::strcpy(destination, source);
}

int PlatformInterfaceStdLib::toString(char* buffer, size_t size, const void* value)
{
    return std::snprintf(buffer, size, "%p", value);
}

int PlatformInterfaceStdLib::toString(char* buffer, size_t size, unsigned long long value)
{
    return std::snprintf(buffer, size, "%llu", value);
}

int PlatformInterfaceStdLib::toString(char* buffer, size_t size, unsigned long value)
{
    return std::snprintf(buffer, size, "%lu", value);
}

int PlatformInterfaceStdLib::toString(char* buffer, size_t size, long long value)
{
    return std::snprintf(buffer, size, "%lld", value);
}

int PlatformInterfaceStdLib::toString(char* buffer, size_t size, long value)
{
    return std::snprintf(buffer, size, "%ld", value);
}

int PlatformInterfaceStdLib::toString(char* buffer, size_t size, unsigned int value)
{
    return std::snprintf(buffer, size, "%u", value);
}

int PlatformInterfaceStdLib::toString(char* buffer, size_t size, int value)
{
    return std::snprintf(buffer, size, "%d", value);
}

int PlatformInterfaceStdLib::toString(char* buffer, size_t size, float value)
{
    return std::snprintf(buffer, size, "%f", static_cast<double>(value));
}

void PlatformInterfaceStdLib::abort()
{
    std::abort();
}

void PlatformInterfaceStdLib::error(int kind, const char* text)
{
    if (kind == 0)
        throw std::out_of_range(text);
    throw std::runtime_error(text);
}

void PlatformInterfaceStdLib::assertTrue(bool condition, const char* text)
{
    if (!condition)
        throw std::runtime_error(text);
}

} // namespace PRT
