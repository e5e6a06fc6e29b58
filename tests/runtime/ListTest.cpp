#include "runtime/List.h"

#include "tests/runtime/CountingPlatform.h"
#include "tests/runtime/ListValues.h"

#include <gtest/gtest.h>

#include <vector>

using PRT::list;
using PRT::test::contents;
using PRT::test::makeList;

namespace
{
// Every list here runs on a counting platform: its error flag is its own, and the test checks that
// nothing leaks.
class ListTest : public testing::Test
{
protected:
    void TearDown() override { EXPECT_EQ(platform.outstanding(), 0); }

    PRT::test::CountingPlatform platform;
};
} // namespace

TEST_F(ListTest, CapacityGrowsInStepsOfEightAheadOfTheSize)
{
    list l;
    EXPECT_EQ(l.capacity(), 0u);
    EXPECT_EQ(l.data(), nullptr);
    const std::vector<std::pair<int, size_t>> expected = {{1, 8}, {7, 8}, {8, 16}, {15, 16}, {16, 24}, {24, 32}};
    int pushed = 0;
    for (const auto& [count, capacity] : expected)
    {
        while (pushed < count)
            l.push(static_cast<float>(pushed++));
        EXPECT_EQ(l.capacity(), capacity) << "after " << count << " pushes";
        EXPECT_GT(l.capacity(), l.size());
    }
    for (int i = 0; i < pushed; ++i)
        ASSERT_EQ(l[i], static_cast<float>(i));
}

TEST_F(ListTest, Reserve)
{
    list empty;
    empty.reserve(8);
    EXPECT_EQ(empty.capacity(), 16u);
    EXPECT_EQ(empty.size(), 0u);

    list l = makeList({1, 2, 3});
    l.reserve(5);
    EXPECT_EQ(l.capacity(), 8u);
    l.reserve(20);
    EXPECT_EQ(l.capacity(), 24u);
    EXPECT_EQ(contents(l), (std::vector<float>{1, 2, 3}));
}

TEST_F(ListTest, CopiesTakeCapacityFromTheSize)
{
    const list three = makeList({1, 2, 3});
    const list copy(three);
    EXPECT_EQ(copy.capacity(), 8u);
    EXPECT_EQ(contents(copy), contents(three));

    const list empty;
    const list emptyCopy(empty);
    EXPECT_EQ(emptyCopy.capacity(), 0u);
    EXPECT_EQ(emptyCopy.data(), nullptr);

    const list ten = makeList({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    list target = makeList({9});
    target = ten;
    EXPECT_EQ(target.capacity(), 16u);
    EXPECT_EQ(target.size(), 10u);
    list& self = target;
    target = self;
    EXPECT_EQ(target.size(), 10u);
    EXPECT_EQ(target[9], 10.0f);

    list big(ten);
    big = three; // fits: keeps the storage
    EXPECT_EQ(big.capacity(), 16u);
    EXPECT_EQ(contents(big), contents(three));
}

TEST_F(ListTest, OutOfRangeAccessYieldsZeroAndReportsOnce)
{
    list l = makeList({1, 2, 3});
    const list& readOnly = l;
    EXPECT_EQ(readOnly[5], 0.0f);
    EXPECT_EQ(readOnly[static_cast<size_t>(-1)], 0.0f);
    l[7] = 42.0f; // lands in the spare
    EXPECT_EQ(l[7], 0.0f);
    EXPECT_EQ(l.size(), 3u);
    EXPECT_EQ(contents(l), (std::vector<float>{1, 2, 3}));
    list other;
    EXPECT_EQ(other[0], 0.0f);
    EXPECT_EQ(platform.printedErrors, (std::vector<std::string>{"list index out of range"}));
}

TEST_F(ListTest, SwapElements)
{
    list l = makeList({1, 2, 3});
    l.swapElements(0, 2);
    EXPECT_EQ(contents(l), (std::vector<float>{3, 2, 1}));
    l.swapElements(1, 9);
    EXPECT_EQ(contents(l), (std::vector<float>{3, 0, 1}));
}

TEST_F(ListTest, ShiftTakesTheFirstElement)
{
    list l = makeList({1, 2, 3, 4, 5, 6, 7, 8, 9});
    EXPECT_EQ(l.shift(), 1.0f);
    EXPECT_EQ(contents(l), (std::vector<float>{2, 3, 4, 5, 6, 7, 8, 9}));
    for (float expected = 2; expected <= 9; ++expected)
        EXPECT_EQ(l.shift(), expected);
    EXPECT_TRUE(l.empty());
    EXPECT_EQ(l.shift(), 0.0f);
    EXPECT_EQ(platform.printedErrors, (std::vector<std::string>{"cannot shift out of empty list"}));
}

TEST_F(ListTest, MovedListLeavesSourceEmpty)
{
    list source = makeList({1, 2});
    list moved(std::move(source));
    EXPECT_EQ(contents(moved), (std::vector<float>{1, 2}));
    EXPECT_EQ(source.size(), 0u);
    EXPECT_EQ(source.data(), nullptr);
    source = std::move(moved);
    EXPECT_EQ(contents(source), (std::vector<float>{1, 2}));
}

TEST_F(ListTest, IntegerTwinBehavesAlike)
{
    PRT::indexlist keys;
    for (uint32_t i = 0; i < 8; ++i)
        keys.push(i * 10);
    EXPECT_EQ(keys.capacity(), 16u);
    keys.swapElements(0, 7);
    EXPECT_EQ(keys[0], 70u);
    EXPECT_EQ(keys[7], 0u);
    EXPECT_EQ(keys[8], 0u);
}

TEST_F(ListTest, AllListMemoryGoesThroughThePlatform)
{
    {
        list l;
        for (int i = 0; i < 100; ++i)
            l.push(static_cast<float>(i));
        list copy(l);
        copy.reserve(200);
        copy.shift();
        EXPECT_GT(platform.allocations, 0);
    }
    EXPECT_EQ(platform.allocations, platform.releases);
}
