#include "runtime/String.h"

#include "tests/runtime/CountingPlatform.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(String, GrowsFromSixteenBytesByDoubling)
{
    PRT::String s;
    EXPECT_STREQ(s.c_str(), "");
    EXPECT_EQ(s.capacity(), 0u);

    s.append("[INFO]");
    EXPECT_EQ(s.length(), 6u);
    EXPECT_EQ(s.capacity(), 16u);

    s.append("01234567890123456789");
    EXPECT_EQ(s.length(), 26u);
    EXPECT_EQ(s.capacity(), 32u);
    EXPECT_STREQ(s.c_str(), "[INFO]01234567890123456789");

    s.append("012345"); // 32 bytes need 33 with the terminator
    EXPECT_EQ(s.capacity(), 64u);

    const std::string big(100, 'x');
    PRT::String large;
    large.append(big.c_str());
    EXPECT_EQ(large.capacity(), 128u);
    EXPECT_EQ(large.c_str(), big);
}

TEST(String, CopiesMovesAndCompares)
{
    PRT::String original("state key");
    PRT::String copy(original);
    EXPECT_TRUE(copy == original);
    EXPECT_NE(copy.c_str(), original.c_str());

    PRT::String moved(std::move(copy));
    EXPECT_TRUE(moved == "state key");
    EXPECT_TRUE(copy.empty());

    PRT::String assigned("other");
    assigned = original;
    EXPECT_TRUE(assigned == "state key");
    EXPECT_FALSE(assigned == "state ke");
    assigned.clear();
    EXPECT_TRUE(assigned == "");
    EXPECT_TRUE(PRT::String() == "");
}

TEST(String, MemoryGoesThroughThePlatform)
{
    PRT::test::CountingPlatform platform;
    {
        PRT::String s("abc");
        PRT::String t(s);
        t.append("a longer tail that needs a bigger buffer");
        PRT::String u;
        u = std::move(t);
    }
    EXPECT_EQ(platform.allocations, 3);
    EXPECT_EQ(platform.releases, 3);
}

namespace
{
// Fills every released buffer with '#' first, so that reading a buffer after its release shows.
class ScribblingPlatform : public PRT::PlatformInterfaceStdLib
{
public:
    ScribblingPlatform() : previous(PRT::getPlatform()) { PRT::setPlatform(this); }
    ~ScribblingPlatform() override { PRT::setPlatform(previous); }

    void* malloc(size_t bytes) override
    {
        auto* block = static_cast<size_t*>(PlatformInterfaceStdLib::malloc(bytes + sizeof(size_t) * 2));
        block[0] = bytes;
        return block + 2;
    }
    void free(void* pointer) override
    {
        if (pointer == nullptr)
            return;
        auto* block = static_cast<size_t*>(pointer) - 2;
        std::memset(pointer, '#', block[0]);
        PlatformInterfaceStdLib::free(block);
    }

private:
    PRT::PlatformInterface* previous;
};
} // namespace

TEST(String, AppendsItselfAndItsOwnTailWhetherOrNotItGrows)
{
    ScribblingPlatform platform;
    const struct
    {
        const char* initial;
        size_t tailFrom;
        const char* expected;
    } cases[] = {
        {"abc", 0, "abcabc"},                                                       // room to spare
        {"0123456789", 0, "01234567890123456789"},                                  // grows past 16
        {"0123456789abcdefghij", 4, "0123456789abcdefghij456789abcdefghij"},      // grows past 32
    };
    for (const auto& c : cases)
    {
        PRT::String s(c.initial);
        s.append(s.c_str() + c.tailFrom);
        EXPECT_STREQ(s.c_str(), c.expected) << c.initial;
        EXPECT_EQ(s.length(), std::strlen(c.expected));
    }
}
