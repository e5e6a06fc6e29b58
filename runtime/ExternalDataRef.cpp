#include "runtime/ExternalDataRef.h"

#include "runtime/Platform.h"

namespace PRT
{

ExternalDataRef::ExternalDataRef(int64_t refIndex, DataRef* ref)
    : index(refIndex), dataRef(ref), name(ref->getName()), file(ref->getFile()), type(ref->getType()),
      data(ref->getData())
{
}

void ExternalDataRef::setData(void* storage, size_t bytes)
{
    getPlatform()->assertTrue(dataRef != nullptr, "_dataRef must be non null");

    void* old = dataRef->getData();
    if (releaseCallback && old != nullptr && old != storage)
        releaseCallback(name.c_str(), old);

    dataRef->attachExternal(storage, bytes);
    data = storage;
}

void ExternalDataRef::relink(int64_t newIndex, DataRef* ref)
{
    index = newIndex;
    dataRef = ref;
    file = String(ref->getFile());
    type = String(ref->getType());
}

} // namespace PRT
