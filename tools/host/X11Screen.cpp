#include "tools/host/X11Screen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>

namespace Quillmore::Host
{
namespace
{
int ignoreXError(Display*, XErrorEvent*)
{
    return 0;
}

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
} // namespace

void prepareXlibForHosting()
{
    XInitThreads();
    XSetErrorHandler(ignoreXError);
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
