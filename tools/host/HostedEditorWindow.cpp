#include "tools/host/HostedEditorWindow.h"

#include "tools/host/HostError.h"
#include "tools/host/X11Pointer.h"
#include "tools/host/X11Screen.h"

#include <algorithm>

namespace Quillmore::Host
{
namespace
{
void throwIfFailed(const std::string& error)
{
    if (!error.empty())
        throw HostError(error);
}

std::vector<std::uint32_t> grabWindow(const juce::Rectangle<int>& bounds)
{
    std::string error;
    auto pixels = grabScreenArea({bounds.getX(), bounds.getY(), bounds.getWidth(), bounds.getHeight()}, error);
    if (pixels.empty())
        throw HostError("cannot capture the plug-in's window: " + error);
    return pixels;
}

juce::Image imageOf(const std::vector<std::uint32_t>& pixels, const juce::Rectangle<int>& bounds)
{
    juce::Image image(juce::Image::RGB, bounds.getWidth(), bounds.getHeight(), false);
    const juce::Image::BitmapData bitmap(image, juce::Image::BitmapData::writeOnly);
    for (int y = 0; y < bounds.getHeight(); ++y)
        for (int x = 0; x < bounds.getWidth(); ++x)
            bitmap.setPixelColour(x, y, juce::Colour(pixels[static_cast<std::size_t>(y * bounds.getWidth() + x)]));
    return image;
}
} // namespace

HostedEditorWindow::HostedEditorWindow(juce::AudioPluginInstance& instance)
{
    if (juce::SystemStats::getEnvironmentVariable("DISPLAY", {}).isEmpty())
        throw HostError("the plug-in's window needs an X display (run under xvfb-run -a)");
    if (!instance.hasEditor())
        throw HostError("the plug-in has no editor");
    editor.reset(instance.createEditorIfNeeded());
    if (editor == nullptr)
        throw HostError("the plug-in did not create its editor");

    editor->setTopLeftPosition(0, 0);
    editor->addToDesktop(juce::ComponentPeer::windowIsTemporary);
    editor->setVisible(true);
}

// The editor goes first, so that the host gives the plug-in's window back and tells the plug-in, before
// its own window (the plug-in's parent) is destroyed.
HostedEditorWindow::~HostedEditorWindow()
{
    editor.reset();
}

juce::Rectangle<int> HostedEditorWindow::requestSize(int width, int height)
{
    editor->setSize(width, height);
    return editor->getLocalBounds();
}

juce::Rectangle<int> HostedEditorWindow::screenBounds() const
{
    return editor->getScreenBounds();
}

void HostedEditorWindow::runMessages(int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil(milliseconds);
}

juce::Image HostedEditorWindow::capture() const
{
    const auto bounds = screenBounds();
    return imageOf(grabWindow(bounds), bounds);
}

juce::Image HostedEditorWindow::captureOncePainted(int timeoutMilliseconds)
{
    // Meters, warble and spectrum keep moving while audio runs: a picture in which less than a tenth
    // of the pixels changed since the previous one holds still.
    const auto deadline = juce::Time::getMillisecondCounter() + static_cast<juce::uint32>(timeoutMilliseconds);
    std::vector<std::uint32_t> previous;
    for (;;)
    {
        runMessages(60);
        const auto bounds = screenBounds();
        auto pixels = grabWindow(bounds);
        const auto black = std::count(pixels.begin(), pixels.end(), 0xff000000u);
        std::size_t changed = pixels.size();
        if (previous.size() == pixels.size())
        {
            changed = 0;
            for (std::size_t i = 0; i < pixels.size(); ++i)
                changed += pixels[i] != previous[i] ? 1 : 0;
        }
        const auto tenth = static_cast<std::ptrdiff_t>(pixels.size() / 10);
        if (black < tenth && static_cast<std::ptrdiff_t>(changed) < tenth)
            return imageOf(pixels, bounds);
        if (juce::Time::getMillisecondCounter() > deadline)
            throw HostError("the plug-in did not paint its window within " + std::to_string(timeoutMilliseconds) + " ms");
        previous = std::move(pixels);
    }
}

void HostedEditorWindow::drag(juce::Point<int> from, juce::Point<int> to, int steps)
{
    const auto origin = screenBounds().getPosition();
    const auto step = [this](const std::string& error) {
        throwIfFailed(error);
        runMessages(20);
    };
    step(movePointerTo(origin.x + from.x, origin.y + from.y));
    step(setPointerButton(PointerButton::press));
    for (int i = 1; i <= std::max(steps, 0); ++i)
    {
        const auto at = from + (to - from) * i / steps;
        step(movePointerTo(origin.x + at.x, origin.y + at.y));
    }
    step(setPointerButton(PointerButton::release));
}

void HostedEditorWindow::click(juce::Point<int> at)
{
    drag(at, at, 0);
}
} // namespace Quillmore::Host
