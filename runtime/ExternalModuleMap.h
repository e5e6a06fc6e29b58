#pragma once

#include "runtime/ExternalModule.h"
#include "runtime/String.h"

#include <cstddef>
#include <memory>
#include <unordered_map>

namespace PRT
{

// The process-wide map from an external's name to its shared module: every loader made for one name
// uses the module created for the first, whatever folder the later ones pass. Modules stay until
// process exit. Not locked: one thread at a time.
class ExternalModuleMap
{
public:
    ExternalModuleMap();

    ExternalModuleMap(const ExternalModuleMap&) = delete;
    ExternalModuleMap& operator=(const ExternalModuleMap&) = delete;

    // The module for name, created from name and folder when the map has none yet.
    std::shared_ptr<ExternalModule> share(const char* name, const char* folder);
    size_t size() const { return modules.size(); }

private:
    struct TagHashOfText
    {
        size_t operator()(const String& key) const;
    };

    std::unordered_map<String, std::shared_ptr<ExternalModule>, TagHashOfText> modules;
};

ExternalModuleMap& externalModuleMap();

} // namespace PRT
