#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace Quillmore::Host
{
// The plug-in's editor in a window of its own at the top-left corner of the screen, as a host shows it
// when the user opens the plug-in's window; the destructor closes the window and deletes the editor.
// Use on the message thread, with an X display (Xvfb will do).
//
// The host's side of the window only frames the plug-in's own X window, which the plug-in paints
// itself, so pictures come from the screen, not from the host's component.
class HostedEditorWindow
{
public:
    // Throws HostError without an X display or when the plug-in has no editor.
    explicit HostedEditorWindow(juce::AudioPluginInstance& instance);
    ~HostedEditorWindow();

    // Asks the plug-in for a window of this size, as a host does when the user drags the window's
    // edge; the window takes the nearest size that the plug-in accepts, which is returned.
    juce::Rectangle<int> requestSize(int width, int height);

    // Where the window is on the screen.
    juce::Rectangle<int> screenBounds() const;

    void runMessages(int milliseconds);

    // What the screen shows in the window now; throws HostError if the screen cannot be read.
    juce::Image capture() const;

    // Runs the message loop until the plug-in has painted the window (the host's frame is black until
    // it does) and the picture holds still apart from live displays, then captures it. Throws HostError
    // when that does not happen before the timeout.
    juce::Image captureOncePainted(int timeoutMilliseconds = 10000);

    // A left-button drag in window coordinates, as a user's mouse makes it: press, moves in steps with
    // the message loop run between them so that the plug-in sees each, release.
    void drag(juce::Point<int> from, juce::Point<int> to, int steps = 10);

    // A left-button click at a point of the window.
    void click(juce::Point<int> at);

private:
    std::unique_ptr<juce::AudioProcessorEditor> editor;
};
} // namespace Quillmore::Host
