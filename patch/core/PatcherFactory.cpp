#include "runtime/PatcherFactory.h"

#include "patch/core/Quillmore.h"
#include "runtime/Platform.h"

namespace PRT
{

PatcherInterface* createPatcher()
{
    return new Quillmore();
}

PatcherFactoryFunction getPatcherFactory(PlatformInterface* platform)
{
    setPlatform(platform);
    return createPatcher;
}

} // namespace PRT
