#pragma once

#include "runtime/DataRef.h"
#include "runtime/ExternalDataRef.h"
#include "runtime/String.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace PRT
{

// A request, from any thread, to attach memory to or detach it from a named data reference of the
// installed patcher; the engine applies it at the start of its next block.
struct ExternalDataEvent
{
    enum Kind : int32_t
    {
        Attach = 1,
        Detach = 2
    };

    std::shared_ptr<const String> name;
    void* data = nullptr;
    size_t sizeInBytes = 0;
    DataType type;
    int32_t kind = Attach;
    // Receives the name and the memory once the data reference lets go of it.
    ExternalDataRef::ReleaseCallback releaseCallback;
};

} // namespace PRT
