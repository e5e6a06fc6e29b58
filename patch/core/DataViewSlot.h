#pragma once

#include "patch/core/MemberRegistry.h"
#include "runtime/DataRef.h"
#include "runtime/DataView.h"
#include "runtime/Types.h"

#include <algorithm>
#include <cstddef>
#include <type_traits>
#include <utility>

namespace PRT
{

class GeneratedPatcher;

// A buffer view that a generated class reads a data reference through. It registers with its class,
// which rebuilds it when a data-view update with its index arrives and (re)binds it when the class
// allocates its data references.
class DataViewSlot
{
public:
    virtual ~DataViewSlot() = default;

    DataViewSlot(const DataViewSlot&) = delete;
    DataViewSlot& operator=(const DataViewSlot&) = delete;

    DataRefIndex getIndex() const { return index; }
    // The reference itself when the class owns it, otherwise null.
    virtual DataRef* getOwnedDataRef() { return nullptr; }
    // A new view over the same reference.
    virtual void rebuildView() = 0;
    // From the class's allocateDataRefs.
    virtual void allocate() = 0;

protected:
    DataViewSlot(GeneratedPatcher& owner, DataRefIndex index);
    // For an owned reference, whose index the class hands out when it registers it.
    explicit DataViewSlot(GeneratedPatcher& owner);

    GeneratedPatcher& owner;
    DataRefIndex index;

private:
    friend class MemberRegistry<DataViewSlot>;
    DataViewSlot* nextRegistered = nullptr;
};

// Sample memory that a module owns (a delay line, an RMS window): a data reference of Buffer's
// samples with its view. Modules number their own references from 19 in declaration order.
template <typename Buffer>
class OwnedSampleRef : public DataViewSlot
{
public:
    using Sample = std::remove_pointer_t<decltype(std::declval<Buffer&>().getData())>;

    OwnedSampleRef(GeneratedPatcher& owner, const char* name, const char* type = "buffer~", bool internal = true);

    // Asks for at least frames × channels samples; a request never shrinks.
    void requestFrames(size_t frames, size_t channels = 1);
    // Storage at the requested size; fresh storage is cleared and the engine told when it changed.
    void allocate() override;
    // Storage of exactly frames (one channel) now, every sample cleared, and the engine told (a
    // resize at prepare; it may allocate).
    void resizeFrames(size_t frames);
    void rebuildView() override;
    DataRef* getOwnedDataRef() override { return &ref; }

    Buffer* getView() const { return view.get(); }
    Sample* getSamples() const { return view ? view->getData() : nullptr; }
    size_t getFrameCount() const { return view ? view->getSize() : 0; }

private:
    DataRef ref;
    DataViewRef<Buffer> view;
    size_t requestedChannels = 0;
};

// 64-bit samples (an RMS window of squares); a delay line, only ever written floats, holds floats:
// half the memory and cache traffic for the same samples.
using OwnedDataRef = OwnedSampleRef<Float64Buffer>;
using OwnedFloatDataRef = OwnedSampleRef<Float32Buffer>;

// A view of one of the top level's data references (such as 14, the cosine table).
template <typename Buffer>
class TopLevelDataView : public DataViewSlot
{
public:
    TopLevelDataView(GeneratedPatcher& owner, DataRefIndex topLevelIndex) : DataViewSlot(owner, topLevelIndex) {}

    void allocate() override { rebuildView(); }
    void rebuildView() override;

    // Asks the top level's reference for at least frames × channels samples at sampleRate (a request
    // never shrinks); the top level allocates it.
    void requestFrames(size_t frames, size_t channels, float sampleRate);
    // Storage for the request now, and a view over it.
    void allocateNow();

    Buffer* getView() const { return view.get(); }

private:
    using Sample = std::remove_pointer_t<decltype(std::declval<Buffer&>().getData())>;

    DataViewRef<Buffer> view;
};

DataRef* findTopLevelDataRef(GeneratedPatcher& owner, DataRefIndex index);

template <typename Buffer>
void TopLevelDataView<Buffer>::rebuildView()
{
    DataRef* ref = findTopLevelDataRef(owner, index);
    view.assignBufferView(ref != nullptr ? new Buffer(ref) : nullptr);
}

template <typename Buffer>
void TopLevelDataView<Buffer>::requestFrames(size_t frames, size_t channels, float sampleRate)
{
    DataRef* ref = findTopLevelDataRef(owner, index);
    if (ref == nullptr)
        return;
    const size_t bytes = frames * channels * sizeof(Sample);
    ref->setRequestedSizeInBytes(std::max(ref->getRequestedSizeInBytes(), bytes));
    DataType& type = ref->getDataType();
    type.kind = sizeof(Sample) == sizeof(float) ? DataTypeFloat32Audio : DataTypeFloat64Audio;
    type.channels = channels;
    type.sampleRate = sampleRate;
}

template <typename Buffer>
void TopLevelDataView<Buffer>::allocateNow()
{
    if (DataRef* ref = findTopLevelDataRef(owner, index))
        ref->allocateIfNeeded();
    rebuildView();
}

} // namespace PRT
