#include "tools/host/X11Screen.h"

#include "tools/host/X11Errors.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>

namespace Quillmore::Host
{
namespace
{
// Position of the lowest set bit and the width of a colour mask of the visual.
struct Channel
{
    explicit Channel(unsigned long channelMask)
        : mask(channelMask)
    {
        while (channelMask != 0 && (channelMask & 1) == 0)
        {
            channelMask >>= 1;
            ++shift;
        }
        max = channelMask;
    }

    std::uint32_t to8Bits(unsigned long pixel) const
    {
        if (max == 0)
            return 0;
        return static_cast<std::uint32_t>(((pixel & mask) >> shift) * 255 / max);
    }

    unsigned long mask;
    int shift = 0;
    unsigned long max = 0;
};


// The atoms that window managers define and that JUCE's window code looks up without creating them
// (only if they exist). Under a bare X server they do not exist, the look-ups give None, and the server
// answers JUCE's property requests with that atom by BadAtom errors that no desktop produces.
constexpr const char* windowManagerAtoms[] = {
    "WM_PROTOCOLS", "WM_TAKE_FOCUS", "WM_DELETE_WINDOW", "WM_CHANGE_STATE", "WM_STATE", "_NET_WM_PING",
    "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_NORMAL", "_NET_WM_WINDOW_TYPE_COMBO", "_NET_WM_STATE",
    "_NET_WM_STATE_HIDDEN", "_NET_WM_STATE_FULLSCREEN", "_NET_FRAME_EXTENTS", "_NET_WORKAREA",
    "_NET_WM_ALLOWED_ACTIONS", "_NET_WM_ACTION_MOVE", "_NET_WM_ACTION_RESIZE", "_NET_WM_ACTION_MINIMIZE",
    "_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT", "_NET_WM_ACTION_FULLSCREEN",
    "_NET_WM_ACTION_CLOSE", "_MOTIF_WM_HINTS", "_WIN_HINTS", "KWM_WIN_DECORATION", "_KDE_NET_WM_WINDOW_TYPE_OVERRIDE",
};

// Defines the atoms on a connection that stays open while the process runs: atoms live as long as the
// server does not reset, which a bare server does when its last client leaves.
void defineWindowManagerAtoms()
{
    static Display* const display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return;
    for (const auto* name : windowManagerAtoms)
        XInternAtom(display, name, False);
    XSync(display, False);
}
} // namespace

void prepareXlibForHosting()
{
    XInitThreads();
    recordXErrors();
    defineWindowManagerAtoms();
}

std::vector<std::uint32_t> grabScreenArea(const ScreenArea& area, std::string& error)
{
    const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
    if (display == nullptr)
    {
        error = "cannot open the X display (is DISPLAY set? run under xvfb-run -a)";
        return {};
    }

    const Window root = DefaultRootWindow(display.get());
    XWindowAttributes rootAttributes {};
    XGetWindowAttributes(display.get(), root, &rootAttributes);
    if (area.width <= 0 || area.height <= 0 || area.x < 0 || area.y < 0
        || area.x + area.width > rootAttributes.width || area.y + area.height > rootAttributes.height)
    {
        error = "the area " + std::to_string(area.width) + "x" + std::to_string(area.height) + " at "
              + std::to_string(area.x) + "," + std::to_string(area.y) + " is not inside the "
              + std::to_string(rootAttributes.width) + "x" + std::to_string(rootAttributes.height) + " screen";
        return {};
    }

    XImage* image = XGetImage(display.get(), root, area.x, area.y, static_cast<unsigned>(area.width),
                              static_cast<unsigned>(area.height), AllPlanes, ZPixmap);
    if (image == nullptr)
    {
        error = "XGetImage failed";
        return {};
    }

    const Channel red(image->red_mask), green(image->green_mask), blue(image->blue_mask);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(area.width) * static_cast<std::size_t>(area.height));
    for (int y = 0; y < area.height; ++y)
        for (int x = 0; x < area.width; ++x)
        {
            const unsigned long pixel = XGetPixel(image, x, y);
            pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(area.width) + static_cast<std::size_t>(x)] =
                0xff000000u | (red.to8Bits(pixel) << 16) | (green.to8Bits(pixel) << 8) | blue.to8Bits(pixel);
        }
    XDestroyImage(image);
    return pixels;
}
} // namespace Quillmore::Host
