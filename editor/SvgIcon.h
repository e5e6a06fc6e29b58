#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace Quillmore
{
// An embedded SVG document as a drawable; null when the document is empty or does not parse.
std::unique_ptr<juce::Drawable> loadSvgIcon(const char* data, int size);
} // namespace Quillmore
