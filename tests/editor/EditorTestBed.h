#pragma once
// The editor's test bed: components shown in a real window under X, mouse and keys injected through
// the window's peer as the windowing system delivers them, a hand-stepped clock for the timed
// displays, pixel probes of what a component paints, and PNG snapshots written into the build folder
// for a person to look at.

#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>
#include <memory>

namespace EditorTestBed
{
// Stands in for the editor's millisecond counter while it exists; time moves only by advance().
class TestClock
{
public:
    explicit TestClock(juce::uint32 start = 100000);
    ~TestClock();

    void advance(juce::uint32 milliseconds);
    juce::uint32 now() const;

    TestClock(const TestClock&) = delete;
    TestClock& operator=(const TestClock&) = delete;
};

// One tick of a timer, as the message loop would deliver it: calls its callback if it is running.
// Returns whether it was running.
bool tick(juce::Timer& timer);

// Runs what was posted to the message thread (asynchronous calls, and timer callbacks that the
// framework's timer thread found due) until nothing is pending.
void deliverPostedMessages();

// A native top-level window holding one component at its top-left corner. Mouse positions are in the
// component's coordinates.
class DesktopWindow
{
public:
    explicit DesktopWindow(juce::Component& content);
    ~DesktopWindow();

    juce::ComponentPeer& peer() const;

    void hover(juce::Point<float> position);
    void press(juce::Point<float> position, juce::ModifierKeys buttons = juce::ModifierKeys::leftButtonModifier);
    void dragTo(juce::Point<float> position, int steps = 8);
    void release(juce::Point<float> position);
    void click(juce::Point<float> position);
    void drag(juce::Point<float> from, juce::Point<float> to, int steps = 8);
    void wheel(juce::Point<float> position, float deltaY);
    // Sends the key to the focused component (or the window's); returns whether it was used.
    bool key(const juce::KeyPress& keyPress);

    DesktopWindow(const DesktopWindow&) = delete;
    DesktopWindow& operator=(const DesktopWindow&) = delete;

private:
    void send(juce::Point<float> position, juce::ModifierKeys modifiers);

    juce::Component& content;
    std::unique_ptr<juce::Component> window;
    juce::Point<float> pointer;
    juce::ModifierKeys buttons;
    juce::int64 eventTime;
};

// Counts every repaint asked of a component, by the thread that asked: on the message thread or off
// it. (A cached image installed in the component, which the framework tells of each repaint, does the
// counting; the component still paints itself.) The component must be visible and outlive this.
class RepaintRecorder
{
public:
    explicit RepaintRecorder(juce::Component& component);
    ~RepaintRecorder();

    int onMessageThread() const { return counts->onMessage.load(); }
    int offMessageThread() const { return counts->offMessage.load(); }

    struct Counts
    {
        std::atomic<int> onMessage{0}, offMessage{0};
    };

    RepaintRecorder(const RepaintRecorder&) = delete;
    RepaintRecorder& operator=(const RepaintRecorder&) = delete;

private:
    juce::Component& owner;
    std::shared_ptr<Counts> counts;
};

// What the component (with its children) paints over the background, at its own size.
juce::Image render(juce::Component& component, juce::Colour background = juce::Colours::black);

// The colour of one pixel; a probe outside the image fails the test and gives transparent black.
juce::Colour pixel(const juce::Image& image, int x, int y);

// The image written as <name>.png into the build folder's editor-snapshots folder, for review.
juce::File writeSnapshot(const juce::Image& image, const juce::String& name);
} // namespace EditorTestBed
