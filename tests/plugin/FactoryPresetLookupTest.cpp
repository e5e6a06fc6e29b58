#include "plugin/FactoryPresetData.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace
{
std::uint32_t resourceNameHash(const std::string& name)
{
    std::uint32_t hash = 0;
    for (const char c : name)
        hash = hash * 31u + static_cast<std::uint32_t>(static_cast<signed char>(c));
    return hash;
}

// A different name with the same hash: raising one byte by 1 and lowering the next by 31 keeps h * 31 + b.
std::string sameHashTwin(std::string name)
{
    name[0] = static_cast<char>(name[0] + 1);
    name[1] = static_cast<char>(name[1] - 31);
    return name;
}
} // namespace

TEST(FactoryPresetLookup, FindsDocumentsByTheHashOfTheirResourceName)
{
    const struct
    {
        const char* name;
        std::uint32_t hash;
    } examples[] = {
        { "Clean_Default_xml", 0xEF35A3E3u },
        { "Ancient_Record_xml", 0xA13E8350u },
        { "Dub_Snare_xml", 0x0E3E2BE3u },
        { "Just_Keep_Swimming_xml", 0xF42A15BCu },
        { "Bargain_BinTape_xml", 0x665486B4u },
    };

    for (const auto& example : examples)
    {
        SCOPED_TRACE(example.name);
        EXPECT_EQ(resourceNameHash(example.name), example.hash);

        int size = 0;
        const char* data = Quillmore::findFactoryPresetData(example.name, size);
        ASSERT_NE(data, nullptr);
        EXPECT_GT(size, 0);
        EXPECT_TRUE(Quillmore::hasFactoryPresetData(example.name));

        const auto twin = sameHashTwin(example.name);
        ASSERT_NE(twin, example.name);
        int twinSize = 0;
        EXPECT_EQ(Quillmore::findFactoryPresetData(twin.c_str(), twinSize), data);
        EXPECT_EQ(twinSize, size);
    }

    int size = 0;
    ASSERT_NE(Quillmore::findFactoryPresetData("Clean_Default_xml", size), nullptr);
    EXPECT_EQ(size, 1821);
}

TEST(FactoryPresetLookup, NullEmptyUnknownOrMiscasedNamesFindNothing)
{
    for (const char* name : { static_cast<const char*>(nullptr), "", "clean_default_xml", "CLEAN_DEFAULT_XML",
                              "Clean Default", "Clean_Default", "No_Such_Preset_xml" })
    {
        SCOPED_TRACE(name == nullptr ? "(null)" : name);
        int size = 123;
        EXPECT_EQ(Quillmore::findFactoryPresetData(name, size), nullptr);
        EXPECT_EQ(size, 0);
        EXPECT_FALSE(Quillmore::hasFactoryPresetData(name));
    }
}
