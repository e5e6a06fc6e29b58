#pragma once

#include "runtime/DataRef.h"

#include <cstddef>
#include <vector>

namespace PRT
{

class ExternalDataRef;

using ExternalDataRefList = std::vector<ExternalDataRef*>;

// What an external data handler may do with the data references while a block begins. Indices are
// positions in the list the handler was given.
class ExternalDataAccess
{
public:
    virtual ~ExternalDataAccess() = default;

    // Attaches the memory when the reference is typed like it, detaches otherwise.
    virtual void attach(size_t listIndex, void* data, size_t sizeInBytes, const DataType& type) = 0;
    virtual void detach(size_t listIndex) = 0;
};

// An application's observer of the installed patcher's named data references, told on the
// processing thread when each block begins and ends.
class ExternalDataHandler
{
public:
    virtual ~ExternalDataHandler() = default;

    virtual void blockBegins(const ExternalDataRefList& refs, ExternalDataAccess& access) = 0;
    virtual void blockEnds(const ExternalDataRefList& refs) = 0;
};

} // namespace PRT
