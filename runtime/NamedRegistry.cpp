#include "runtime/NamedRegistry.h"

#include "runtime/Platform.h"
#include "runtime/String.h"

#include <mutex>

namespace PRT
{
namespace
{
struct Registry
{
    std::mutex lock;
    std::vector<NamedEntry> entries;
};

// Created by the first registration, whichever static initialiser makes it.
Registry& registry()
{
    static Registry instance;
    return instance;
}

void reportRejectedName(const char* name)
{
    String line("named registry: a name longer than 255 characters is not registered: ");
    line.append(name);
    getPlatform()->printErrorMessage(line.c_str());
}
} // namespace

int registerNamed(int marker, const char* name, void* pointer)
{
    if (name == nullptr)
        return marker;

    PlatformInterface& platform = *getPlatform();
    const size_t length = platform.strlen(name);
    if (length >= NamedEntry::nameCapacity)
    {
        reportRejectedName(name);
        return marker;
    }

    NamedEntry entry;
    platform.memcpy(entry.name, name, length + 1);
    entry.pointer = pointer;

    Registry& named = registry();
    std::lock_guard<std::mutex> guard(named.lock);
    named.entries.push_back(entry);
    return marker;
}

std::vector<NamedEntry> getNamedEntries()
{
    Registry& named = registry();
    std::lock_guard<std::mutex> guard(named.lock);
    return named.entries;
}

} // namespace PRT
