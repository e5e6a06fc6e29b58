#include "tools/host/EscapedText.h"
#include "tools/host/TextColumns.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace Quillmore::Host;

TEST(EscapedText, ControlCharactersAndBackslashesAreWrittenAsEscapes)
{
    const std::pair<juce::String, juce::String> cases[] {
        { "Plain Name 1/8", "Plain Name 1/8" },
        { "Line\nBreak", "Line\\nBreak" },
        { "Tab\tStop\r", "Tab\\tStop\\r" },
        { "Back\\nslash", "Back\\\\nslash" }, // never the same as the escaped line break
        { juce::String::charToString(7) + juce::String::charToString(0x1b) + juce::String::charToString(0x7f), "\\x07\\x1b\\x7f" },
        { juce::String::charToString(0x85) + "a" + juce::String::charToString(0x2028), "\\x85a\\u2028" },
        { juce::String::fromUTF8("Bänd \xe2\x99\xaa"), juce::String::fromUTF8("Bänd \xe2\x99\xaa") },
    };
    for (const auto& [text, escaped] : cases)
        EXPECT_EQ(escapedForOneLine(text), escaped) << escaped;
}

TEST(EscapedText, ColumnsKeepEachRowOnOneLine)
{
    std::ostringstream out;
    printColumns({ { "category", "name" }, { "Mine", "Two\nLines" }, { "Yours\t", "x" } }, out);
    EXPECT_EQ(out.str(), "category  name\n"
                         "Mine      Two\\nLines\n"
                         "Yours\\t   x\n");
}
