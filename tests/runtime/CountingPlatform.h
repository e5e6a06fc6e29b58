#pragma once

#include "runtime/Platform.h"

#include <cstddef>
#include <string>
#include <vector>

namespace PRT::test
{

// A platform object that counts memory traffic and records printed lines, installed as the process
// platform for the lifetime of the object.
class CountingPlatform : public PlatformInterfaceStdLib
{
public:
    CountingPlatform() : previous(getPlatform()) { setPlatform(this); }
    ~CountingPlatform() override { setPlatform(previous); }

    void* malloc(size_t bytes) override
    {
        ++allocations;
        return PlatformInterfaceStdLib::malloc(bytes);
    }
    void* calloc(size_t count, size_t size) override
    {
        ++allocations;
        return PlatformInterfaceStdLib::calloc(count, size);
    }
    void* realloc(void* pointer, size_t bytes) override
    {
        ++reallocations;
        return PlatformInterfaceStdLib::realloc(pointer, bytes);
    }
    void free(void* pointer) override
    {
        if (pointer != nullptr)
            ++releases;
        PlatformInterfaceStdLib::free(pointer);
    }
    void printMessage(const char* text) override { printed.emplace_back(text); }
    void printErrorMessage(const char* text) override { printedErrors.emplace_back(text); }

    long outstanding() const { return allocations - releases; }

    long allocations = 0;
    long reallocations = 0;
    long releases = 0;
    std::vector<std::string> printed;
    std::vector<std::string> printedErrors;

private:
    PlatformInterface* previous;
};

} // namespace PRT::test
