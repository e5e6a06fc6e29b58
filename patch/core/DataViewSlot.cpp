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

OwnedDataRef::OwnedDataRef(GeneratedPatcher& owner, const char* name, const char* type, bool internal)
    : DataViewSlot(owner), ref(name, internal, type)
{
    ref.setIndex(index);
    view.assignBufferView(new Float64Buffer(&ref));
}

void OwnedDataRef::requestFrames(size_t frames, size_t channels)
{
    requestedChannels = channels;
    view->requestChannels(channels);
    const size_t bytes = frames * channels * sizeof(double);
    ref.setRequestedSizeInBytes(std::max(ref.getRequestedSizeInBytes(), bytes));
}

void OwnedDataRef::allocate()
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

void OwnedDataRef::resizeFrames(size_t frames)
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

void OwnedDataRef::rebuildView()
{
    auto* rebuilt = new Float64Buffer(&ref);
    rebuilt->requestChannels(requestedChannels);
    view.assignBufferView(rebuilt);
}

DataRef* findTopLevelDataRef(GeneratedPatcher& owner, DataRefIndex index)
{
    return owner.getTopLevel().getDataRef(index);
}

} // namespace PRT
