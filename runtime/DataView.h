#pragma once

#include "runtime/DataRef.h"
#include "runtime/Platform.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace PRT
{

// A typed view over a data reference, shared by DataViewRef handles through a plain reference count
// (views belong to the audio thread).
template <typename T>
class DataView
{
public:
    explicit DataView(DataRef* ref) : dataRef(ref), size(ref->getSizeInBytes() / sizeof(T)) {}
    virtual ~DataView() = default;

    DataView(const DataView&) = delete;
    DataView& operator=(const DataView&) = delete;

    virtual void updateCachedInfo() { size = dataRef->getSizeInBytes() / sizeof(T); }

    virtual void allocateIfNeeded()
    {
        dataRef->allocateIfNeeded();
        updateCachedInfo();
    }

    virtual void setSize(size_t n)
    {
        dataRef->setRequestedSizeInBytes(n * sizeof(T));
        dataRef->allocateIfNeeded();
        updateCachedInfo();
    }

    size_t getSize() const { return size; }
    DataRef* getDataRef() const { return dataRef; }

    void retain() { ++referenceCount; }
    // Returns the number of handles still holding the view.
    int32_t release() { return --referenceCount; }
    int32_t getReferenceCount() const { return referenceCount; }

protected:
    int32_t referenceCount = 0;
    DataRef* dataRef;
    size_t size; // elements; frames for an interleaved buffer
};

// Interleaved audio frames: sample f of channel c is element f * channels + c.
template <typename T>
class InterleavedAudioBuffer : public DataView<T>
{
public:
    explicit InterleavedAudioBuffer(DataRef* ref) : DataView<T>(ref)
    {
        DataType& type = ref->getDataType();
        if (type.kind == DataTypeUntyped)
        {
            type.kind = std::is_same<T, float>::value ? DataTypeFloat32Audio : DataTypeFloat64Audio;
            type.channels = 0;
            type.sampleRate = 44100.0f;
        }
        InterleavedAudioBuffer::updateCachedInfo();
    }

    void updateCachedInfo() override
    {
        channels = this->dataRef->getDataType().channels;
        data = static_cast<T*>(this->dataRef->getData());
        this->size = channels == 0 ? 0 : this->dataRef->getSizeInBytes() / sizeof(T) / channels;
    }

    // Applies a requested channel count. A different count from before clears the storage, whose
    // layout no longer fits.
    void allocateIfNeeded() override
    {
        if (requestedChannels == 0)
            return;
        if (channels != 0 && channels != requestedChannels && data != nullptr)
            getPlatform()->memset(data, 0, this->dataRef->getSizeInBytes());
        this->dataRef->getDataType().channels = requestedChannels;
        updateCachedInfo();
        this->dataRef->allocateIfNeeded();
        updateCachedInfo();
    }

    void setSize(size_t frames) override
    {
        this->dataRef->setRequestedSizeInBytes(frames * channels * sizeof(T));
        this->dataRef->allocateIfNeeded();
        updateCachedInfo();
    }

    // Changes the channel count at once: the frame count survives, the contents do not.
    virtual void setChannels(size_t n)
    {
        if (n == channels)
            return;
        const size_t frames = this->size;
        this->dataRef->getDataType().channels = n;
        updateCachedInfo();
        this->dataRef->releaseStorage();
        this->dataRef->setRequestedSizeInBytes(frames * n * sizeof(T));
        this->dataRef->allocateIfNeeded();
        updateCachedInfo();
    }

    void requestChannels(size_t n) { requestedChannels = n; }
    size_t getRequestedChannels() const { return requestedChannels; }
    size_t getChannels() const { return channels; }
    T* getData() const { return data; }

protected:
    size_t requestedChannels = 0;
    size_t channels = 0;
    T* data = nullptr;
};

class Float32Buffer : public InterleavedAudioBuffer<float>
{
public:
    explicit Float32Buffer(DataRef* ref) : InterleavedAudioBuffer<float>(ref) {}
};

class Float64Buffer : public InterleavedAudioBuffer<double>
{
public:
    explicit Float64Buffer(DataRef* ref) : InterleavedAudioBuffer<double>(ref) {}
};

// A counted handle on a view: the view is deleted when its last handle lets go.
template <typename Buffer>
class DataViewRef
{
public:
    DataViewRef() = default;
    explicit DataViewRef(Buffer* view) { assignBufferView(view); }
    DataViewRef(const DataViewRef& other) { assignBufferView(other.buffer); }
    DataViewRef& operator=(const DataViewRef& other)
    {
        assignBufferView(other.buffer);
        return *this;
    }
    ~DataViewRef() { assignBufferView(nullptr); }

    // Taking the new view before letting go of the old one keeps a re-assigned view alive.
    void assignBufferView(Buffer* view)
    {
        if (view != nullptr)
            view->retain();
        Buffer* old = buffer;
        buffer = view;
        if (old != nullptr && old->release() == 0)
            delete old;
    }

    Buffer* get() const { return buffer; }
    Buffer* operator->() const { return buffer; }
    Buffer& operator*() const { return *buffer; }
    explicit operator bool() const { return buffer != nullptr; }

private:
    Buffer* buffer = nullptr;
};

} // namespace PRT
