#include "runtime/ExternalDataRefTable.h"

#include "runtime/PatcherInterface.h"
#include "runtime/Platform.h"

#include <utility>

namespace PRT
{

void ExternalDataRefTable::rebuild(PatcherInterface& patcher)
{
    for (auto& named : entries)
        named.second->unlink();
    list.clear();
    const DataRefIndex count = patcher.getNumDataRefs();
    list.reserve(static_cast<size_t>(count > 0 ? count : 0));

    for (DataRefIndex index = 0; index < count; ++index)
    {
        DataRef* ref = patcher.getDataRef(index);
        getPlatform()->assertTrue(ref != nullptr, "ref must be non null");
        if (ref->getName()[0] == '\0' || ref->isInternal())
            continue;

        const String name(ref->getName());
        auto found = entries.find(name);
        if (found == entries.end())
        {
            found = entries.emplace(name, std::make_shared<ExternalDataRef>(index, ref)).first;
        }
        else
        {
            // Memory attached for the outgoing patcher is not the new patcher's: release it now, and
            // forget the callback so that it cannot be released a second time later.
            ExternalDataRef& entry = *found->second;
            if (entry.getReleaseCallback() && entry.getData() != nullptr && entry.getData() != ref->getData())
            {
                entry.getReleaseCallback()(entry.getName(), entry.getData());
                entry.setReleaseCallback({});
            }
            entry.relink(index, ref);
        }
        list.push_back(found->second.get());
    }

    for (auto it = entries.begin(); it != entries.end();)
    {
        ExternalDataRef& entry = *it->second;
        if (entry.getDataRef() != nullptr)
        {
            ++it;
            continue;
        }
        if (entry.getReleaseCallback() && entry.getData() != nullptr)
            entry.getReleaseCallback()(entry.getName(), entry.getData());
        it = entries.erase(it);
    }
}

ExternalDataRef* ExternalDataRefTable::find(const String& name) const
{
    const auto found = entries.find(name);
    return found != entries.end() ? found->second.get() : nullptr;
}

void ExternalDataRefTable::attach(ExternalDataRef& entry, void* data, size_t sizeInBytes, const DataType& type,
                                  ExternalDataRef::ReleaseCallback releaseCallback)
{
    entry.setData(data, sizeInBytes);
    entry.getDataRef()->getDataType() = type;
    entry.setReleaseCallback(std::move(releaseCallback));
}

void ExternalDataRefTable::detach(ExternalDataRef& entry)
{
    entry.setData(nullptr, 0);
    entry.setReleaseCallback({});
}

void ExternalDataRefTable::clearTouched()
{
    for (ExternalDataRef* entry : list)
        if (DataRef* ref = entry->getDataRef())
            ref->setTouched(false);
}

} // namespace PRT
