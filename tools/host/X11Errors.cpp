#include "tools/host/X11Errors.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <mutex>

namespace Quillmore::Host
{
namespace
{
std::mutex& errorsLock()
{
    static std::mutex lock;
    return lock;
}

std::vector<std::string>& errors()
{
    static std::vector<std::string> recorded;
    return recorded;
}

int recordError(Display* display, XErrorEvent* event)
{
    char name[128] = {};
    XGetErrorText(display, event->error_code, name, sizeof name);
    char description[256] = {};
    std::snprintf(description, sizeof description, "%s (request %d.%d, resource 0x%lx)", name,
                  static_cast<int>(event->request_code), static_cast<int>(event->minor_code), event->resourceid);
    const std::lock_guard<std::mutex> guard(errorsLock());
    errors().emplace_back(description);
    return 0;
}
} // namespace

void recordXErrors()
{
    XSetErrorHandler(recordError);
}

std::vector<std::string> recordedXErrors()
{
    const std::lock_guard<std::mutex> guard(errorsLock());
    return errors();
}
} // namespace Quillmore::Host
