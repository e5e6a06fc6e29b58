#include "tools/host/EditorSnapshot.h"

#include "tools/host/HostError.h"
#include "tools/host/X11Screen.h"

#include <algorithm>

namespace Quillmore::Host
{
namespace
{
bool allBlack(const std::vector<std::uint32_t>& pixels)
{
    return std::all_of(pixels.begin(), pixels.end(), [](std::uint32_t pixel) { return pixel == 0xff000000u; });
}
} // namespace

juce::Image snapshotEditor(juce::AudioPluginInstance& instance, int timeoutMilliseconds)
{
    if (juce::SystemStats::getEnvironmentVariable("DISPLAY", {}).isEmpty())
        throw HostError("an editor snapshot needs an X display (run under xvfb-run -a)");
    if (!instance.hasEditor())
        throw HostError("the plug-in has no editor");

    // A hosted editor's component only frames the plug-in's own window, which the plug-in paints
    // itself: the picture has to come from the screen, not from the component.
    std::unique_ptr<juce::AudioProcessorEditor> editor(instance.createEditorIfNeeded());
    if (editor == nullptr)
        throw HostError("the plug-in did not create its editor");

    editor->setTopLeftPosition(0, 0);
    editor->addToDesktop(juce::ComponentPeer::windowIsTemporary);
    editor->setVisible(true);

    // The host's frame is black until the plug-in paints; the picture is taken once the window shows
    // something else and has stopped changing.
    const auto bounds = editor->getScreenBounds();
    const ScreenArea area { bounds.getX(), bounds.getY(), bounds.getWidth(), bounds.getHeight() };
    const auto deadline = juce::Time::getMillisecondCounter() + static_cast<juce::uint32>(timeoutMilliseconds);
    std::vector<std::uint32_t> previous, pixels;
    std::string error;
    do
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil(250);
        previous = std::move(pixels);
        pixels = grabScreenArea(area, error);
    } while (!pixels.empty() && (allBlack(pixels) || pixels != previous) && juce::Time::getMillisecondCounter() < deadline);

    editor->removeFromDesktop();
    editor.reset();
    juce::MessageManager::getInstance()->runDispatchLoopUntil(50);

    if (pixels.empty())
        throw HostError("cannot capture the editor: " + error);

    juce::Image image(juce::Image::RGB, area.width, area.height, false);
    const juce::Image::BitmapData bitmap(image, juce::Image::BitmapData::writeOnly);
    for (int y = 0; y < area.height; ++y)
        for (int x = 0; x < area.width; ++x)
            bitmap.setPixelColour(x, y, juce::Colour(pixels[static_cast<std::size_t>(y * area.width + x)]));
    return image;
}

void writePng(const juce::Image& image, const juce::File& file)
{
    juce::MemoryOutputStream png;
    juce::PNGImageFormat format;
    if (!image.isValid() || !format.writeImageToStream(image, png)
        || !file.getParentDirectory().createDirectory() || !file.replaceWithData(png.getData(), png.getDataSize()))
        throw HostError("cannot write " + file.getFullPathName().toStdString());
}
} // namespace Quillmore::Host
