// Files in the user preset folder that would hang the framework's XML parser or overflow the stack
// are refused before it sees them; everything a preset file holds still reads.
#include "plugin/UntrustedXml.h"
#include "tests/plugin/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace
{
juce::String nested(int depth)
{
    return juce::String::repeatedString("<a>", depth) + juce::String::repeatedString("</a>", depth);
}
} // namespace

TEST(UntrustedXml, RefusesWhatTheParserMightNotGetThroughAndReadsPresets)
{
    const struct
    {
        const char* name;
        juce::String text;
        bool safe;
    } cases[] = {
        { "preset", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<Parameters>\r\n  <PARAM id=\"EchoTime\" value=\"500.0\"/>\r\n</Parameters>\r\n", true },
        { "instruction in an element before text (hangs the parser)", "<Parameters><?x?>a</Parameters>", false },
        { "instruction after the root", "<Parameters/><?x?>", false },
        { "instruction quoted inside the document", "<p v=\"<?x?>\"/>", false },
        { "instructions, comments and a declaration before the root", "<?xml version=\"1.0\"?><!-- c --><!DOCTYPE p><?y?><p/>", true },
        { "256 elements", "<r>" + juce::String::repeatedString("<a/>", 255) + "</r>", true },
        { "257 elements", "<r>" + juce::String::repeatedString("<a/>", 256) + "</r>", false },
        { "nested 257 deep", nested(257), false },
        { "a gap after '<' still starts an element", juce::String::repeatedString("< a>", 257), false },
        { "an entity declaration (the parser may expand it into itself for ever)",
          "<!DOCTYPE p [<!ENTITY a \"x\">]><p v=\"&a;\"/>", false },
        { "an entity declaration in lower case", "<!DOCTYPE p [<!entity a \"x\">]><p/>", false },
        { "the predefined and numeric references", "<p v=\"&amp;&lt;&gt;&quot;&apos;&#65;&#x42;\"/>", true },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Quillmore::isSafeToParseXml(c.text, 256), c.safe) << c.name;
}

TEST(UntrustedXml, ParsesAPresetFileAndGivesNothingForHostileOnesInTime)
{
    const TemporaryFolder folder;
    const auto file = folder.path().getChildFile("p.xml");

    ASSERT_TRUE(file.replaceWithText("<Parameters><PARAM id=\"Input\" value=\"50\"/></Parameters>"));
    const auto preset = Quillmore::parseUntrustedXml(file);
    ASSERT_NE(preset, nullptr);
    EXPECT_EQ(preset->getChildByName("PARAM")->getStringAttribute("value"), "50");

    // A million levels deep would overflow any stack inside the parser; this returns at once.
    ASSERT_TRUE(file.replaceWithText("<Parameters>" + nested(1000000) + "</Parameters>"));
    EXPECT_EQ(Quillmore::parseUntrustedXml(file), nullptr);

    // The parser would never return from this one.
    ASSERT_TRUE(file.replaceWithText("<Parameters>\r\n <?xml v ?>/"));
    EXPECT_EQ(Quillmore::parseUntrustedXml(file), nullptr);

    // An entity whose value refers to itself: the parser would recurse until the stack overflows.
    ASSERT_TRUE(file.replaceWithText("<!DOCTYPE Parameters [<!ENTITY a \"&xa;\">]>\n"
                                     "<Parameters><PARAM id=\"Input\" value=\"&a;\"/></Parameters>"));
    EXPECT_EQ(Quillmore::parseUntrustedXml(file), nullptr);

    ASSERT_TRUE(file.replaceWithText("not xml"));
    EXPECT_EQ(Quillmore::parseUntrustedXml(file), nullptr);
    EXPECT_EQ(Quillmore::parseUntrustedXml(folder.path().getChildFile("missing.xml")), nullptr);
}
