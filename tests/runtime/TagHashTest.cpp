#include "runtime/TagHash.h"

#include <gtest/gtest.h>

#include <cstdint>

using PRT::hashString;

static_assert(hashString("") == 0u);
static_assert(hashString("valin") == 0x25A08786u);
static_assert(hashString("alin", 'v') == 0x25A08786u);

TEST(TagHash, KnownTags)
{
    struct Case
    {
        const char* text;
        uint32_t hash;
    };
    const Case cases[] = {
        {"", 0x00000000u},        {"valin", 0x25A08786u},          {"setup", 0x17F32C7Du},
        {"EchoSpec", 0x89256700u}, {"bangin", 0x6A9C42BDu},        {"toggle_obj-173", 0x7B7ED60Cu},
        {"number~_obj-24", 0x35BD8862u}, {"number_obj-22", 0xCB3BC10Cu},
    };
    for (const Case& c : cases)
        EXPECT_EQ(hashString(c.text), c.hash) << '"' << c.text << '"';
}

TEST(TagHash, FirstByteAsSeedGivesTheWholeTextsHash)
{
    for (const char* text : {"valin", "TapeStopper/toggle_obj-136", "x"})
        EXPECT_EQ(hashString(text + 1, static_cast<uint32_t>(text[0])), hashString(text)) << text;
}

TEST(TagHash, BytesAboveSevenBitsCountAsNegative)
{
    // 0xE9 is -23 as a signed byte: 0 * 65599 + (-23) modulo 2^32.
    EXPECT_EQ(hashString("\xE9"), 0xFFFFFFE9u);
    EXPECT_EQ(hashString("a\xE9"), 97u * 65599u - 23u);
}
