#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Direct Xlib access for hosting editors under a bare X server (Xvfb, no window manager). Kept apart
// from JUCE because Xlib's macros clash with JUCE's names.
namespace Quillmore::Host
{
// Call before JUCE opens its display: makes Xlib thread-safe for the plug-in's own connection and
// replaces the default error handler, which ends the process on any protocol error, by one that
// records them (X11Errors.h), so that a test can tell whether the plug-in caused any; defines the
// atoms that a desktop's window manager would have defined (without one, JUCE's look-ups of them end
// in errors that no desktop shows).
void prepareXlibForHosting();

struct ScreenArea
{
    int x = 0, y = 0, width = 0, height = 0;
};

// The pixels that the screen shows in the area, row by row as 0xAARRGGBB (opaque). Empty, with the
// reason in error, when there is no display or the area lies outside the screen.
std::vector<std::uint32_t> grabScreenArea(const ScreenArea& area, std::string& error);
} // namespace Quillmore::Host
