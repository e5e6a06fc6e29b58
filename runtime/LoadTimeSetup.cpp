// What the runtime sets up once per process, when the library is loaded, in this order; destroyed at
// process exit in reverse order, so the platform object outlives everything set up after it.
#include "runtime/LoadTimeSetup.h"

#include "runtime/ExternalLoader.h"
#include "runtime/ExternalModuleMap.h"
#include "runtime/Logger.h"
#include "runtime/NamedRegistry.h"

namespace PRT
{

// The platform object, which the platform pointer holds from constant initialisation on.
PlatformInterfaceStdLib standardPlatform;

namespace
{
// The module map, empty.
[[maybe_unused]] const ExternalModuleMap& moduleMap = externalModuleMap();

// The named factories: the external loader factory, then the console logger (constant-initialised,
// so usable all along), published through the process-wide pointer to it.
[[maybe_unused]] const int loaderFactoryRegistered =
    registerNamed(0, "ExternalLoaderFactory", reinterpret_cast<void*>(&createExternalLoader));
[[maybe_unused]] const int consoleRegistered = registerNamed(0, "console", consoleLoggerSlot());
} // namespace

} // namespace PRT
