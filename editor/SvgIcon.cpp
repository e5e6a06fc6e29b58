#include "editor/SvgIcon.h"

namespace Quillmore
{
std::unique_ptr<juce::Drawable> loadSvgIcon(const char* data, int size)
{
    if (data == nullptr || size <= 0)
        return nullptr;
    const auto xml = juce::XmlDocument::parse(juce::String::fromUTF8(data, size));
    if (xml == nullptr)
        return nullptr;
    return juce::Drawable::createFromSVG(*xml);
}
} // namespace Quillmore
