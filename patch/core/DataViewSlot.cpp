#include "patch/core/DataViewSlot.h"

#include "patch/core/GeneratedPatcher.h"
#include "runtime/EngineInterface.h"
#include "runtime/Platform.h"

#include <algorithm>

namespace PRT
{

DataViewSlot::DataViewSlot(GeneratedPatcher& ownerClass, DataRefIndex viewedIndex)
    : owner(ownerClass), index(viewedIndex)
{
    owner.registerDataView(*this);
}

DataViewSlot::DataViewSlot(GeneratedPatcher& ownerClass) : owner(ownerClass), index(-1)
{
    index = owner.registerOwnedDataRef(*this);
}

template <typename Buffer>
OwnedSampleRef<Buffer>::OwnedSampleRef(GeneratedPatcher& owner, const char* name, const char* type, bool internal)
    : DataViewSlot(owner), ref(name, internal, type)
{
    ref.setIndex(index);
    view.assignBufferView(new Buffer(&ref));
}

template <typename Buffer>
void OwnedSampleRef<Buffer>::requestFrames(size_t frames, size_t channels)
{
    requestedChannels = channels;
    view->requestChannels(channels);
    const size_t bytes = frames * channels * sizeof(Sample);
    ref.setRequestedSizeInBytes(std::max(ref.getRequestedSizeInBytes(), bytes));
}

template <typename Buffer>
void OwnedSampleRef<Buffer>::allocate()
{
    const void* storageBefore = ref.getData();
    const size_t sizeBefore = ref.getSizeInBytes();
    view->allocateIfNeeded();
    if (ref.getData() == storageBefore && ref.getSizeInBytes() == sizeBefore)
        return;
    if (ref.ownsData() && ref.isFreshlyAllocated())
        getPlatform()->memset(ref.getData(), 0, ref.getSizeInBytes());
    view->updateCachedInfo();
    if (EngineInterface* engine = owner.getEngine())
        engine->sendDataRefUpdated(index);
}

template <typename Buffer>
void OwnedSampleRef<Buffer>::resizeFrames(size_t frames)
{
    requestedChannels = 1;
    view->requestChannels(1);
    view->allocateIfNeeded();
    view->setSize(frames);
    if (ref.getData() != nullptr)
        getPlatform()->memset(ref.getData(), 0, ref.getSizeInBytes());
    if (EngineInterface* engine = owner.getEngine())
        engine->sendDataRefUpdated(index);
}

template <typename Buffer>
void OwnedSampleRef<Buffer>::rebuildView()
{
    auto* rebuilt = new Buffer(&ref);
    rebuilt->requestChannels(requestedChannels);
    view.assignBufferView(rebuilt);
}

template class OwnedSampleRef<Float64Buffer>;
template class OwnedSampleRef<Float32Buffer>;

DataRef* findTopLevelDataRef(GeneratedPatcher& owner, DataRefIndex index)
{
    return owner.getTopLevel().getDataRef(index);
}

} // namespace PRT
