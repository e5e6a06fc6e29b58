#include "tools/host/HostEnvironment.h"

#include "tools/host/X11Screen.h"

namespace Quillmore::Host
{
HostEnvironment::XlibPrepared::XlibPrepared()
{
    prepareXlibForHosting();
}

HostEnvironment::HostEnvironment() = default;
} // namespace Quillmore::Host
