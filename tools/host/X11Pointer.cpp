#include "tools/host/X11Pointer.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <memory>

namespace Quillmore::Host
{
namespace
{
using DisplayConnection = std::unique_ptr<Display, int (*)(Display*)>;

// A connection of its own, so that the events do not wait behind anything queued on the plug-in's
// or the host's connection; XSync makes the server act on them before the call returns.
template <typename Action>
std::string withXTest(Action action)
{
    const DisplayConnection display(XOpenDisplay(nullptr), XCloseDisplay);
    if (display == nullptr)
        return "cannot open the X display (is DISPLAY set? run under xvfb-run -a)";
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display.get(), &eventBase, &errorBase, &major, &minor))
        return "the X server has no XTEST extension";
    action(display.get());
    XSync(display.get(), False);
    return {};
}
} // namespace

std::string movePointerTo(int x, int y)
{
    return withXTest([x, y](Display* display) { XTestFakeMotionEvent(display, -1, x, y, CurrentTime); });
}

std::string setPointerButton(PointerButton state)
{
    return withXTest([state](Display* display) {
        XTestFakeButtonEvent(display, 1, state == PointerButton::press ? True : False, CurrentTime);
    });
}
} // namespace Quillmore::Host
