#pragma once

namespace Quillmore
{
// The embedded factory preset document with this resource name ("Clean_Default_xml"): its first byte,
// with size set to its byte count. Null with size 0 for a null, empty or unknown name. The lookup
// compares a hash of the name, so it is case-sensitive.
const char* findFactoryPresetData(const char* resourceName, int& size);

bool hasFactoryPresetData(const char* resourceName);
} // namespace Quillmore
