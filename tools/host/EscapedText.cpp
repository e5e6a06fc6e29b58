#include "tools/host/EscapedText.h"

namespace Quillmore::Host
{
juce::String escapedForOneLine(const juce::String& text)
{
    juce::String escaped;
    for (auto c = text.getCharPointer(); !c.isEmpty(); ++c)
    {
        const auto character = *c;
        if (character == '\\')
            escaped << "\\\\";
        else if (character == '\n')
            escaped << "\\n";
        else if (character == '\t')
            escaped << "\\t";
        else if (character == '\r')
            escaped << "\\r";
        else if (character < 0x20 || (character >= 0x7f && character < 0xa0))
            escaped << "\\x" << juce::String::toHexString(static_cast<int>(character)).paddedLeft('0', 2);
        else if (character == 0x2028 || character == 0x2029) // line and paragraph separators
            escaped << "\\u" << juce::String::toHexString(static_cast<int>(character));
        else
            escaped << juce::String::charToString(character);
    }
    return escaped;
}
} // namespace Quillmore::Host
