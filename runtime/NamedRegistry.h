#pragma once

#include <cstddef>
#include <vector>

namespace PRT
{

// One published factory or object: what an external module can find by name.
struct NamedEntry
{
    static constexpr size_t nameCapacity = 256; // 255 characters and the terminator

    char name[nameCapacity];
    void* pointer;
};

// Appends {name, pointer} to the process-wide registry and returns marker unchanged, so that a
// registration can initialise a static. A null name, or one longer than 255 characters, is not
// registered (a line through the platform's error print says so).
int registerNamed(int marker, const char* name, void* pointer);

// The registered entries, in registration order.
std::vector<NamedEntry> getNamedEntries();

} // namespace PRT
