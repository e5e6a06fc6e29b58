#pragma once

#include "runtime/DataRef.h"
#include "runtime/String.h"

#include <cstddef>
#include <cstdint>
#include <functional>

namespace PRT
{

// The outside view of one of the patcher's data references, through which a host can attach memory
// of its own. Survives patcher swaps by name; the engine re-links it to the new patcher's reference.
class ExternalDataRef
{
public:
    // Called with the reference's name and the storage that is being replaced.
    using ReleaseCallback = std::function<void(const char* name, void* storage)>;

    ExternalDataRef(int64_t index, DataRef* ref);

    // Attaches host memory to the linked data reference; throws std::runtime_error when unlinked.
    void setData(void* storage, size_t bytes);

    // Links the entry to a (new) patcher data reference, taking over its index and texts.
    void relink(int64_t newIndex, DataRef* ref);
    void unlink() { dataRef = nullptr; }

    int64_t getIndex() const { return index; }
    DataRef* getDataRef() const { return dataRef; }
    const char* getName() const { return name.c_str(); }
    const char* getFile() const { return file.c_str(); }
    const char* getType() const { return type.c_str(); }
    void* getData() const { return data; }

    void setReleaseCallback(ReleaseCallback callback) { releaseCallback = std::move(callback); }
    const ReleaseCallback& getReleaseCallback() const { return releaseCallback; }

private:
    int64_t index;
    DataRef* dataRef;
    String name;
    String file;
    String type;
    void* data;
    ReleaseCallback releaseCallback;
};

} // namespace PRT
