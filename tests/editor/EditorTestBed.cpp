#include "tests/editor/EditorTestBed.h"

#include "editor/EditorClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

namespace juce
{
// The framework's message loop step on Linux, which its headers do not declare.
bool dispatchNextMessageOnSystemQueue(bool returnIfNoPendingMessages);
} // namespace juce

namespace EditorTestBed
{
namespace
{
std::atomic<juce::uint32> testNow{0};
std::atomic<bool> clockInUse{false};

juce::uint32 readTestClock()
{
    return testNow.load();
}

// The window: the content at its top-left over a plain background.
class Holder : public juce::Component
{
public:
    explicit Holder(juce::Component& content)
    {
        addAndMakeVisible(content);
        content.setTopLeftPosition(0, 0);
        setSize(std::max(content.getWidth(), 1), std::max(content.getHeight(), 1));
    }

    void paint(juce::Graphics& g) override { g.fillAll(juce::Colours::black); }
};
} // namespace

TestClock::TestClock(juce::uint32 start)
{
    EXPECT_FALSE(clockInUse.exchange(true)) << "one test clock at a time";
    testNow = start;
    Quillmore::setEditorClockSource(&readTestClock);
}

TestClock::~TestClock()
{
    Quillmore::setEditorClockSource(nullptr);
    clockInUse = false;
}

void TestClock::advance(juce::uint32 milliseconds)
{
    testNow += milliseconds;
}

juce::uint32 TestClock::now() const
{
    return testNow.load();
}

bool tick(juce::Timer& timer)
{
    if (!timer.isTimerRunning())
        return false;
    timer.timerCallback();
    return true;
}

void deliverPostedMessages()
{
    for (int i = 0; i < 10000 && juce::dispatchNextMessageOnSystemQueue(true); ++i)
    {
    }
}

DesktopWindow::DesktopWindow(juce::Component& contentToShow)
    : content(contentToShow), eventTime(juce::Time::currentTimeMillis())
{
    window = std::make_unique<Holder>(content);
    window->setTopLeftPosition(40, 40);
    window->addToDesktop(juce::ComponentPeer::windowIsTemporary);
    window->setVisible(true);
    EXPECT_NE(window->getPeer(), nullptr) << "no window: is there an X display (xvfb-run)?";
}

DesktopWindow::~DesktopWindow()
{
    if (buttons.isAnyMouseButtonDown())
        release(pointer);
    window->removeChildComponent(&content);
    window->removeFromDesktop();
}

juce::ComponentPeer& DesktopWindow::peer() const
{
    auto* windowPeer = window->getPeer();
    jassert(windowPeer != nullptr);
    return *windowPeer;
}

void DesktopWindow::send(juce::Point<float> position, juce::ModifierKeys modifiers)
{
    pointer = position;
    eventTime += 40;
    juce::ModifierKeys::currentModifiers = modifiers;
    peer().handleMouseEvent(juce::MouseInputSource::InputSourceType::mouse, window->getLocalPoint(&content, position), modifiers,
                            juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation,
                            eventTime);
}

void DesktopWindow::hover(juce::Point<float> position)
{
    send(position, buttons);
}

void DesktopWindow::press(juce::Point<float> position, juce::ModifierKeys pressed)
{
    // Far enough apart in time that two presses never make a double click.
    eventTime += 1000;
    send(position, buttons);
    buttons = pressed;
    send(position, buttons);
}

void DesktopWindow::dragTo(juce::Point<float> position, int steps)
{
    const auto from = pointer;
    steps = std::max(steps, 1);
    for (int i = 1; i <= steps; ++i)
        send(from + (position - from) * (static_cast<float>(i) / static_cast<float>(steps)), buttons);
}

void DesktopWindow::release(juce::Point<float> position)
{
    send(position, buttons);
    buttons = juce::ModifierKeys();
    send(position, buttons);
}

void DesktopWindow::click(juce::Point<float> position)
{
    press(position);
    release(position);
}

void DesktopWindow::drag(juce::Point<float> from, juce::Point<float> to, int steps)
{
    press(from);
    dragTo(to, steps);
    release(to);
}

void DesktopWindow::wheel(juce::Point<float> position, float deltaY)
{
    send(position, buttons);
    juce::MouseWheelDetails details;
    details.deltaX = 0.0f;
    details.deltaY = deltaY;
    details.isReversed = false;
    details.isSmooth = false;
    details.isInertial = false;
    eventTime += 40;
    peer().handleMouseWheel(juce::MouseInputSource::InputSourceType::mouse, window->getLocalPoint(&content, position),
                            eventTime, details);
}

bool DesktopWindow::key(const juce::KeyPress& keyPress)
{
    return peer().handleKeyPress(keyPress);
}

namespace
{
// Owned by the component once installed.
class CountingImage : public juce::CachedComponentImage
{
public:
    CountingImage(juce::Component& componentToPaint, std::shared_ptr<RepaintRecorder::Counts> countsToKeep)
        : component(componentToPaint), counts(std::move(countsToKeep))
    {
    }

    void paint(juce::Graphics& g) override { component.paint(g); }
    bool invalidateAll() override { return record(); }
    bool invalidate(const juce::Rectangle<int>&) override { return record(); }
    void releaseResources() override {}

private:
    bool record()
    {
        ++(juce::MessageManager::existsAndIsCurrentThread() ? counts->onMessage : counts->offMessage);
        return true;
    }

    juce::Component& component;
    std::shared_ptr<RepaintRecorder::Counts> counts;
};
} // namespace

RepaintRecorder::RepaintRecorder(juce::Component& component) : owner(component), counts(std::make_shared<Counts>())
{
    EXPECT_TRUE(component.isVisible()) << "a hidden component is never repainted";
    owner.setCachedComponentImage(new CountingImage(owner, counts));
    counts->onMessage = 0; // installing it repainted once
}

RepaintRecorder::~RepaintRecorder()
{
    owner.setCachedComponentImage(nullptr);
}

juce::Image render(juce::Component& component, juce::Colour background)
{
    juce::Image image(juce::Image::ARGB, std::max(component.getWidth(), 1), std::max(component.getHeight(), 1), true);
    juce::Graphics g(image);
    g.fillAll(background);
    component.paintEntireComponent(g, true);
    return image;
}

juce::Colour pixel(const juce::Image& image, int x, int y)
{
    const bool inside = image.getBounds().contains(x, y);
    EXPECT_TRUE(inside) << "probe (" << x << ", " << y << ") outside the " << image.getWidth() << " x "
                        << image.getHeight() << " image";
    return inside ? image.getPixelAt(x, y) : juce::Colours::transparentBlack;
}

juce::File writeSnapshot(const juce::Image& image, const juce::String& name)
{
    const juce::File folder(QUILLMORE_EDITOR_SNAPSHOT_FOLDER);
    folder.createDirectory();
    const auto file = folder.getChildFile(name + ".png");
    file.deleteFile();
    juce::FileOutputStream stream(file);
    juce::PNGImageFormat png;
    EXPECT_TRUE(stream.openedOk() && png.writeImageToStream(image, stream)) << "could not write " << file.getFullPathName();
    return file;
}
} // namespace EditorTestBed
