#pragma once

#include "runtime/String.h"

#include <cstddef>
#include <cstdint>

namespace PRT
{

enum DataTypeKind : int32_t
{
    DataTypeUntyped = 0,
    DataTypeFloat32Audio = 1, // interleaved buffer of 32-bit floats
    DataTypeFloat64Audio = 2  // interleaved buffer of 64-bit floats
};

struct DataType
{
    int32_t kind = DataTypeUntyped;
    uint64_t channels = 0;
    float sampleRate = 0.0f;
};

// A named block of sample memory of the patch (delay lines, analysis buffers). Storage comes zeroed
// from the platform object, or from a host that attached its own memory. Moved, never copied.
class DataRef
{
public:
    DataRef() = default;
    // type is the patch's object kind for the memory ("buffer~", "data"), or null.
    DataRef(const char* name, bool internal, const char* type = nullptr);
    DataRef(DataRef&& other) noexcept;
    DataRef& operator=(DataRef&& other) noexcept;
    DataRef(const DataRef&) = delete;
    DataRef& operator=(const DataRef&) = delete;
    ~DataRef();

    // Provides the requested size: shrinking keeps the storage, growing takes new zeroed storage
    // that starts with the old contents when the old storage was the reference's own.
    void allocateIfNeeded();

    // Gives owned storage back to the platform and leaves the reference without storage.
    void releaseStorage();
    // Takes memory that a host owns; owned storage is given back first.
    void attachExternal(void* storage, size_t bytes);

    const char* getName() const { return name.c_str(); }
    const char* getFile() const { return file.c_str(); }
    const char* getType() const { return type.c_str(); }

    void* getData() const { return data; }
    size_t getSizeInBytes() const { return sizeInBytes; }
    size_t getRequestedSizeInBytes() const { return requestedSizeInBytes; }
    void setRequestedSizeInBytes(size_t bytes) { requestedSizeInBytes = bytes; }

    bool isTouched() const { return touched; }
    void setTouched(bool isTouched) { touched = isTouched; }
    bool ownsData() const { return ownsStorage; }
    bool isFreshlyAllocated() const { return freshlyAllocated; }
    bool isInternal() const { return internal; }

    int64_t getIndex() const { return index; }
    void setIndex(int64_t newIndex) { index = newIndex; }

    DataType& getDataType() { return dataType; }
    const DataType& getDataType() const { return dataType; }

private:
    void takeOver(DataRef& other);

    String name;
    String file;
    String type;
    size_t sizeInBytes = 0;
    size_t requestedSizeInBytes = 0;
    void* data = nullptr;
    bool touched = false;
    bool ownsStorage = false;
    bool freshlyAllocated = false;
    bool internal = false;
    int64_t index = -1;
    DataType dataType;
};

} // namespace PRT
