#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// What the preset dialogs share: they cover the whole editor, dim it, and draw their box in its
// middle; their buttons are flat in one colour.
namespace Quillmore
{
inline constexpr juce::uint32 presetDialogGrey = 0xff808287;
inline constexpr juce::uint32 confirmButtonColour = 0xffff327a;
inline constexpr juce::uint32 cancelButtonColour = 0xff232a3c;

// Dims the whole w x h area and draws the box; returns the box rounded to integers.
juce::Rectangle<int> paintPresetDialogFrame(juce::Graphics& g, int w, int h);

// The area the dialog's children are laid out in: the bounds less a quarter of the width on each side
// and a third of the height at the top and bottom, then 16 on every side.
juce::Rectangle<int> presetDialogInner(int w, int h);

// A title line at font height 16 in the box, with an ellipsis when too long.
void paintPresetDialogTitle(juce::Graphics& g, juce::Rectangle<int> box, const juce::String& title, int height);

// The title, then the message at font height 14 in up to maxLines lines, in the box above a button row.
void paintPresetDialogMessage(juce::Graphics& g, juce::Rectangle<int> box, const juce::String& title,
                              const juce::String& message, int maxLines);

// The button's colour, a slightly lighter one while down, white text and no border.
void styleDialogButton(juce::TextButton& button, juce::Colour base);
} // namespace Quillmore
