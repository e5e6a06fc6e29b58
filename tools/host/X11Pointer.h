#pragma once

#include <string>

// The X server's own pointer, moved and clicked through the XTEST extension, so that a window gets
// the same events as from a user's mouse. Kept apart from JUCE because Xlib's macros clash with JUCE's
// names.
namespace Quillmore::Host
{
enum class PointerButton
{
    press,
    release
};

// Moves the pointer to a screen position. Empty on success, else the reason.
std::string movePointerTo(int x, int y);

// Presses or releases the left button where the pointer is. Empty on success, else the reason.
std::string setPointerButton(PointerButton state);
} // namespace Quillmore::Host
