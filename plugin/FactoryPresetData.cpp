#include "plugin/FactoryPresetData.h"

#include <QuillmoreBinaryData.h>

#include <cstring>

namespace Quillmore
{
namespace
{
// The binary data also holds other assets; only the XML documents are presets.
bool namesXmlResource(const char* resourceName)
{
    static constexpr char suffix[] = "_xml";
    const auto length = std::strlen(resourceName);
    const auto suffixLength = sizeof(suffix) - 1;
    return length > suffixLength && std::strcmp(resourceName + length - suffixLength, suffix) == 0;
}
} // namespace

const char* findFactoryPresetData(const char* resourceName, int& size)
{
    size = 0;
    if (resourceName == nullptr || *resourceName == 0 || !namesXmlResource(resourceName))
        return nullptr;

    // The generated lookup hashes the name (h = h * 31 + signed byte) and compares only the hash.
    int found = 0;
    const char* data = QuillmoreBinaryData::getNamedResource(resourceName, found);
    if (data == nullptr)
        return nullptr;
    size = found;
    return data;
}

bool hasFactoryPresetData(const char* resourceName)
{
    int size = 0;
    return findFactoryPresetData(resourceName, size) != nullptr;
}
} // namespace Quillmore
