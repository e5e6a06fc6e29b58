#include "runtime/NamedRegistry.h"

#include "tests/runtime/CountingPlatform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace PRT;

// Names up to 255 characters fit the entry with their terminator; anything longer is turned away
// whole (AddressSanitizer would report a copy past the entry's buffer).
TEST(NamedRegistry, NamesAreKeptWholeOrNotAtAll)
{
    struct Case
    {
        size_t length;
        bool registered;
    };
    for (const Case c : {Case{0, true}, Case{1, true}, Case{254, true}, Case{255, true}, Case{256, false},
                         Case{257, false}, Case{4096, false}})
    {
        SCOPED_TRACE(c.length);
        const std::string name(c.length, static_cast<char>('a' + c.length % 26));
        int pointee = 0;
        test::CountingPlatform platform;
        const size_t before = getNamedEntries().size();

        EXPECT_EQ(registerNamed(42, name.c_str(), &pointee), 42);

        const std::vector<NamedEntry> entries = getNamedEntries();
        if (c.registered)
        {
            ASSERT_EQ(entries.size(), before + 1);
            EXPECT_EQ(std::string(entries.back().name), name);
            EXPECT_EQ(entries.back().pointer, &pointee);
            EXPECT_TRUE(platform.printedErrors.empty());
        }
        else
        {
            EXPECT_EQ(entries.size(), before);
            EXPECT_EQ(platform.printedErrors.size(), 1u);
            for (const std::string& line : platform.printedErrors)
                EXPECT_NE(line.find("longer than 255 characters"), std::string::npos);
        }
    }
}

TEST(NamedRegistry, NullNameIsNotRegistered)
{
    const size_t before = getNamedEntries().size();
    EXPECT_EQ(registerNamed(7, nullptr, nullptr), 7);
    EXPECT_EQ(getNamedEntries().size(), before);
}

TEST(NamedRegistry, EntriesKeepRegistrationOrder)
{
    int first = 0, second = 0;
    registerNamed(0, "order-first", &first);
    registerNamed(0, "order-second", &second);
    const std::vector<NamedEntry> entries = getNamedEntries();
    ASSERT_GE(entries.size(), 2u);
    EXPECT_STREQ(entries[entries.size() - 2].name, "order-first");
    EXPECT_EQ(entries[entries.size() - 2].pointer, &first);
    EXPECT_STREQ(entries.back().name, "order-second");
    EXPECT_EQ(entries.back().pointer, &second);
}
