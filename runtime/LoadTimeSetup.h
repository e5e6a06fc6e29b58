#pragma once

#include "runtime/Platform.h"

namespace PRT
{

// The platform object installed at load. It lives in the file of the load-time set-up, so that the
// platform pointer's reference to it brings that set-up (registry entries and all) into every binary
// that uses the runtime; a static library would otherwise drop an unreferenced file of initialisers.
extern PlatformInterfaceStdLib standardPlatform;

} // namespace PRT
