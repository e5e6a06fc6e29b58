#pragma once

#include "runtime/ExternalDataHandler.h"
#include "runtime/ExternalDataRef.h"
#include "runtime/String.h"

#include <cstddef>
#include <memory>
#include <unordered_map>

namespace PRT
{

class PatcherInterface;

// The engine's outside view of the installed patcher's named data references: one entry per name,
// kept across patcher swaps so that memory a host attached stays known by name, and the entries in
// the patcher's data-ref order. Belongs to the thread that holds the engine.
class ExternalDataRefTable
{
public:
    // Re-links the entries to the patcher's public, named data references: entries whose name the
    // patcher still has are kept and re-numbered, new names get entries, the others are removed.
    // Attached memory that the patcher no longer uses goes to its release callback, once.
    void rebuild(PatcherInterface& patcher);

    ExternalDataRef* find(const String& name) const;
    const ExternalDataRefList& getList() const { return list; }

    // The entry takes the memory (the previous attachment is released) and the patcher's data
    // reference takes the buffer type. Throws std::runtime_error for an entry without a reference.
    static void attach(ExternalDataRef& entry, void* data, size_t sizeInBytes, const DataType& type,
                       ExternalDataRef::ReleaseCallback releaseCallback);
    static void detach(ExternalDataRef& entry);

    // The patch's writes of this block have been reported.
    void clearTouched();

private:
    std::unordered_map<String, std::shared_ptr<ExternalDataRef>, StringHash> entries;
    ExternalDataRefList list;
};

} // namespace PRT
