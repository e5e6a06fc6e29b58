#include "runtime/DataRef.h"

#include "runtime/Platform.h"

#include <algorithm>
#include <utility>

namespace PRT
{

DataRef::DataRef(const char* refName, bool isInternal, const char* refType)
    : name(refName), type(refType), internal(isInternal)
{
}

DataRef::DataRef(DataRef&& other) noexcept
{
    takeOver(other);
}

DataRef& DataRef::operator=(DataRef&& other) noexcept
{
    if (this != &other)
    {
        releaseStorage();
        takeOver(other);
    }
    return *this;
}

DataRef::~DataRef()
{
    releaseStorage();
}

void DataRef::takeOver(DataRef& other)
{
    name = std::move(other.name);
    file = std::move(other.file);
    type = std::move(other.type);
    sizeInBytes = std::exchange(other.sizeInBytes, 0);
    requestedSizeInBytes = std::exchange(other.requestedSizeInBytes, 0);
    data = std::exchange(other.data, nullptr);
    touched = std::exchange(other.touched, false);
    ownsStorage = std::exchange(other.ownsStorage, false);
    freshlyAllocated = std::exchange(other.freshlyAllocated, false);
    internal = std::exchange(other.internal, false);
    index = std::exchange(other.index, -1);
    dataType = std::exchange(other.dataType, DataType{});
}

void DataRef::allocateIfNeeded()
{
    if (requestedSizeInBytes == 0)
        return;

    if (requestedSizeInBytes <= sizeInBytes && ownsStorage)
    {
        sizeInBytes = requestedSizeInBytes;
        return;
    }

    PlatformInterface& platform = *getPlatform();
    void* storage = platform.calloc(requestedSizeInBytes, 1);
    if (ownsStorage && data != nullptr)
    {
        platform.memcpy(storage, data, std::min(sizeInBytes, requestedSizeInBytes));
        platform.free(data);
        freshlyAllocated = false;
    }
    else
    {
        // Attached host memory is not ours to copy from or free.
        freshlyAllocated = true;
    }
    data = storage;
    sizeInBytes = requestedSizeInBytes;
    ownsStorage = true;
}

void DataRef::releaseStorage()
{
    if (ownsStorage && data != nullptr)
        getPlatform()->free(data);
    data = nullptr;
    sizeInBytes = 0;
    ownsStorage = false;
}

void DataRef::attachExternal(void* storage, size_t bytes)
{
    releaseStorage();
    data = storage;
    sizeInBytes = bytes;
}

} // namespace PRT
