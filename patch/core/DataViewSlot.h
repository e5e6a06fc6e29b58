#pragma once

#include "patch/core/MemberRegistry.h"
#include "runtime/DataRef.h"
#include "runtime/DataView.h"
#include "runtime/Types.h"

#include <cstddef>

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

// Sample memory that a module owns (a delay line, an RMS window): a data reference of 64-bit samples
// with its view. Modules number their own references from 19 in declaration order.
class OwnedDataRef : public DataViewSlot
{
public:
    OwnedDataRef(GeneratedPatcher& owner, const char* name, const char* type = "buffer~", bool internal = true);

    // Asks for at least frames × channels samples; a request never shrinks.
    void requestFrames(size_t frames, size_t channels = 1);
    // Storage at the requested size; fresh storage is cleared and the engine told when it changed.
    void allocate() override;
    void rebuildView() override;
    DataRef* getOwnedDataRef() override { return &ref; }

    Float64Buffer* getView() const { return view.get(); }
    double* getSamples() const { return view ? view->getData() : nullptr; }
    size_t getFrameCount() const { return view ? view->getSize() : 0; }

private:
    DataRef ref;
    DataViewRef<Float64Buffer> view;
    size_t requestedChannels = 0;
};

// A view of one of the top level's data references (such as 14, the cosine table).
template <typename Buffer>
class TopLevelDataView : public DataViewSlot
{
public:
    TopLevelDataView(GeneratedPatcher& owner, DataRefIndex topLevelIndex) : DataViewSlot(owner, topLevelIndex) {}

    void allocate() override { rebuildView(); }
    void rebuildView() override;

    Buffer* getView() const { return view.get(); }

private:
    DataViewRef<Buffer> view;
};

DataRef* findTopLevelDataRef(GeneratedPatcher& owner, DataRefIndex index);

template <typename Buffer>
void TopLevelDataView<Buffer>::rebuildView()
{
    DataRef* ref = findTopLevelDataRef(owner, index);
    view.assignBufferView(ref != nullptr ? new Buffer(ref) : nullptr);
}

} // namespace PRT
