#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace Quillmore::Host
{
// Opens the plug-in's editor in a window of its own at the top-left corner of the screen, runs the
// message loop until the plug-in has painted, and returns what the screen shows in the window. Needs
// an X display (Xvfb does); throws HostError without one or when the plug-in has no editor.
juce::Image snapshotEditor(juce::AudioPluginInstance& instance, int timeoutMilliseconds = 10000);

// Throws HostError if the file cannot be written.
void writePng(const juce::Image& image, const juce::File& file);
} // namespace Quillmore::Host
