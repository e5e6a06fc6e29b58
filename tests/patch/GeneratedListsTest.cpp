#include "patch/core/GeneratedLists.h"

#include "tests/runtime/CountingPlatform.h"
#include "tests/runtime/ListValues.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using namespace PRT;
using test::contents;
using test::makeIndexList;

TEST(GeneratedLists, BuildersHaveTheirContentsAndCapacities)
{
    EXPECT_EQ(contents(makeSingleValueList(2.5f)), std::vector<float>{2.5f});
    EXPECT_EQ(contents(makeSingleValueList(int32_t(-7))), std::vector<float>{-7.0f});
    EXPECT_EQ(contents(makeSingleValueList(0.1)), std::vector<float>{0.1f});
    EXPECT_EQ(makeSingleValueList(1.0f).capacity(), 8u);

    const list setup = makeScopeSetupList(48000.0f, 1);
    EXPECT_EQ(contents(setup), (std::vector<float>{1, 1, 48000, 0, 1, 0, 0, 128, 1}));
    EXPECT_EQ(setup.capacity(), 16u);

    const list divisions = makeSyncDivisionList();
    EXPECT_EQ(contents(divisions), (std::vector<float>{0.0625f, 0.125f, 1.0f / 6, 0.1875f, 0.25f, 1.0f / 3, 0.375f,
                                                       0.5f, 2.0f / 3, 0.75f, 1, 4.0f / 3, 1.5f, 2, 3, 4}));
    EXPECT_EQ(divisions.capacity(), 24u);
}

TEST(GeneratedLists, AssigningASingleValueReusesPreparedStorage)
{
    list prepared = makeSingleValueList(0.0f);
    test::CountingPlatform platform;
    for (float v : {1.0f, -3.0f, 9.5f})
    {
        assignSingleValue(prepared, v);
        EXPECT_EQ(contents(prepared), std::vector<float>{v});
    }
    EXPECT_EQ(platform.allocations + platform.reallocations, 0);
}

TEST(GeneratedLists, ListShiftTakesElementsOffTheFront)
{
    const struct
    {
        std::vector<float> source;
        size_t n;
        std::vector<float> taken, left;
    } cases[] = {
        {{1, 2, 3, 4}, 3, {1, 2, 3}, {4}},
        {{1, 2, 3, 4}, 10, {1, 2, 3, 4}, {}},
        {{1, 2, 3, 4}, 0, {}, {1, 2, 3, 4}},
        {{}, 2, {}, {}},
        {{5, 6, 7, 8, 9, 10, 11, 12, 13}, 9, {5, 6, 7, 8, 9, 10, 11, 12, 13}, {}},
    };
    for (const auto& c : cases)
    {
        list source;
        for (float v : c.source)
            source.push(v);
        const list taken = listShift(source, c.n);
        EXPECT_EQ(contents(taken), c.taken) << "n " << c.n;
        EXPECT_EQ(contents(source), c.left) << "n " << c.n;
        if (!c.taken.empty())
        {
            EXPECT_EQ(taken.capacity(), (c.taken.size() & ~size_t(7)) + 8) << "capacity as for a copy";
        }
    }
}

TEST(GeneratedLists, SortParallelListsCarriesTheValuesAlong)
{
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round)
    {
        indexlist keys;
        list values;
        const int count = 1 + round * 3;
        for (int i = 0; i < count; ++i)
        {
            const uint32_t key = random() % 10; // with repeats
            keys.push(key);
            values.push(static_cast<float>(key) * 100.0f + static_cast<float>(i));
        }
        sortParallelLists(keys, values, 0, count - 1);
        const std::vector<uint32_t> sortedKeys = contents(keys);
        EXPECT_TRUE(std::is_sorted(sortedKeys.begin(), sortedKeys.end()));
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(static_cast<uint32_t>(values[i] / 100.0f), keys[i]) << "the value moved with its key";
    }
}

TEST(GeneratedLists, SortParallelListsKeepsEqualKeysInOrderAndSortsOnlyTheRange)
{
    // All keys 0, as the top level sorts its 48 parameter indices: the order stays.
    indexlist keys, indices;
    for (uint32_t i = 0; i < 48; ++i)
    {
        keys.push(0);
        indices.push(i);
    }
    sortParallelLists(keys, indices, 0, 47);
    for (uint32_t i = 0; i < 48; ++i)
        EXPECT_EQ(indices[i], i);

    indexlist partKeys = makeIndexList({9, 5, 3, 1, 0});
    indexlist partValues = makeIndexList({90, 50, 30, 10, 0});
    sortParallelLists(partKeys, partValues, 1, 3);
    EXPECT_EQ(contents(partKeys), (std::vector<uint32_t>{9, 1, 3, 5, 0}));
    EXPECT_EQ(contents(partValues), (std::vector<uint32_t>{90, 10, 30, 50, 0}));
}

TEST(GeneratedLists, SortParallelListsReportsABadRangeOnceAndStaysInBounds)
{
    test::CountingPlatform platform;
    indexlist keys = makeIndexList({2, 1});
    indexlist values = makeIndexList({20, 10});
    sortParallelLists(keys, values, 0, 3);
    EXPECT_EQ(platform.printedErrors, std::vector<std::string>{"list index out of range"});
    EXPECT_EQ(keys.size(), 2u);
}
