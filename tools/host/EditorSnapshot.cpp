#include "tools/host/EditorSnapshot.h"

#include "tools/host/HostError.h"
#include "tools/host/HostedEditorWindow.h"

namespace Quillmore::Host
{
juce::Image snapshotEditor(juce::AudioPluginInstance& instance, int timeoutMilliseconds)
{
    juce::Image image;
    {
        HostedEditorWindow window(instance);
        image = window.captureOncePainted(timeoutMilliseconds);
    }
    juce::MessageManager::getInstance()->runDispatchLoopUntil(50);
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
