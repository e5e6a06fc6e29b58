#include "plugin/PresetFileName.h"
#include "tests/plugin/TemporaryFolder.h"

#include <gtest/gtest.h>

TEST(PresetFileName, ReplacesTheNineReservedCharactersAndNothingElse)
{
    const struct
    {
        const char* name;
        const char* expected;
    } cases[] = {
        { "Dub/Echo", "Dub_Echo" },
        { "a\\b:c*d?e\"f<g>h|i", "a_b_c_d_e_f_g_h_i" },
        { "//", "__" },
        { "  Tape.Echo (old) ", "  Tape.Echo (old) " },
        { "~Warm", "~Warm" },
        { "Hall \xc3\xa9t\xc3\xa9", "Hall \xc3\xa9t\xc3\xa9" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Quillmore::sanitiseFileName(juce::String::fromUTF8(c.name)), juce::String::fromUTF8(c.expected)) << c.name;
}

TEST(PresetFileName, FirstFreeFileCountsOnInBrackets)
{
    TemporaryFolder folder;
    const auto& dir = folder.path();
    for (const char* taken : { "Warm.xml", "Warm(2).xml", "Cold(7).xml", "Cold.xml", "Hot(x).xml" })
        ASSERT_TRUE(dir.getChildFile(taken).create().wasOk());

    const struct
    {
        const char* name;
        const char* expected;
    } cases[] = {
        { "Fresh", "Fresh.xml" },
        { "Warm", "Warm(3).xml" },
        { "Warm(2)", "Warm(3).xml" },
        { "Cold(7)", "Cold(8).xml" },
        { "Hot(x)", "Hot(x)(2).xml" },
        { "Dub/Echo", "Dub_Echo.xml" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Quillmore::firstFreePresetFile(dir, c.name), dir.getChildFile(c.expected)) << c.name;
}

TEST(PresetFileName, NameStartingWithTildeStaysInTheFolder)
{
    TemporaryFolder folder;
    const auto file = Quillmore::firstFreePresetFile(folder.path(), "~Warm");
    EXPECT_EQ(file.getParentDirectory(), folder.path());
    EXPECT_EQ(file.getFileName(), "~Warm.xml");
    EXPECT_EQ(Quillmore::presetFileFor(folder.path(), "~Warm"), file);
}
