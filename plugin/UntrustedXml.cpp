#include "plugin/UntrustedXml.h"

#include "plugin/BoundedFileRead.h"

#include <string_view>

namespace Quillmore
{
namespace
{
// "<!ENTITY" in any case, as the parser matches it.
bool declaresEntityAt(std::string_view utf8, size_t at)
{
    constexpr std::string_view declaration("<!entity");
    if (utf8.size() - at < declaration.size())
        return false;
    for (size_t i = 0; i < declaration.size(); ++i)
        if (juce::CharacterFunctions::toLowerCase(static_cast<juce::juce_wchar>(utf8[at + i])) != declaration[i])
            return false;
    return true;
}
} // namespace

bool isSafeToParseXml(const juce::String& text, int maximumElements)
{
    const std::string_view utf8(text.toRawUTF8(), text.getNumBytesAsUTF8());
    bool insideDocument = false;
    int elements = 0;
    for (size_t at = utf8.find('<'); at != std::string_view::npos; at = utf8.find('<', at + 1))
    {
        const char next = at + 1 < utf8.size() ? utf8[at + 1] : '\0';
        if (next == '?')
        {
            if (insideDocument)
                return false;
        }
        else if (declaresEntityAt(utf8, at))
        {
            return false;
        }
        else if (next != '/' && next != '!')
        {
            insideDocument = true;
            if (++elements > maximumElements)
                return false;
        }
    }
    return true;
}

std::unique_ptr<juce::XmlElement> parseUntrustedXml(const juce::File& file, int maximumElements)
{
    const auto text = readBoundedRegularFile(file, maximumUntrustedXmlBytes);
    return text ? parseUntrustedXmlText(*text, maximumElements) : nullptr;
}

std::unique_ptr<juce::XmlElement> parseUntrustedXmlText(const juce::String& text, int maximumElements)
{
    if (!isSafeToParseXml(text, maximumElements))
        return nullptr;
    return juce::XmlDocument::parse(text);
}
} // namespace Quillmore
