#include "runtime/ExternalModuleMap.h"

#include "runtime/TagHash.h"

namespace PRT
{

ExternalModuleMap::ExternalModuleMap() : modules(8)
{
    modules.max_load_factor(1.0f);
}

size_t ExternalModuleMap::TagHashOfText::operator()(const String& key) const
{
    return hashString(key.c_str());
}

std::shared_ptr<ExternalModule> ExternalModuleMap::share(const char* name, const char* folder)
{
    String key(name);
    auto found = modules.find(key);
    if (found == modules.end())
        found = modules.emplace(std::move(key), std::make_shared<ExternalModule>(name, folder)).first;
    return found->second;
}

ExternalModuleMap& externalModuleMap()
{
    static ExternalModuleMap instance;
    return instance;
}

} // namespace PRT
