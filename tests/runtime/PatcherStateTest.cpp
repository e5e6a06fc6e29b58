#include "runtime/NullPatcher.h"
#include "runtime/PatcherState.h"

#include "tests/runtime/CountingPlatform.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

using namespace PRT;

TEST(PatcherState, AddKeepsTheFirstValueUnderAName)
{
    PatcherState state;
    EXPECT_TRUE(state.isEmpty());
    state.add("x", 1.0f);
    state.add("x", 2.0f);
    state.add("x", "text");
    EXPECT_EQ(state.getFloat("x"), 1.0f);
    EXPECT_EQ(state.getNumEntries(), 1u);
}

TEST(PatcherState, EveryValueKindReadsBack)
{
    PatcherState state;
    list values;
    values.push(3);
    values.push(4);
    state.add("float", 0.5f);
    state.add("double", 0.25);
    state.add("int", int32_t{-7});
    state.add("bool", true);
    state.add("text", "prt");
    state.add("list", values);
    state.add("a", OpaqueValueA{1});
    state.add("b", OpaqueValueB{2});
    state.add("c", OpaqueValueC{3});
    state.add("d", OpaqueValueD{4});
    values.push(5); // the tree holds its own copy

    EXPECT_EQ(state.getFloat("float"), 0.5f);
    EXPECT_EQ(state.getDouble("double"), 0.25);
    EXPECT_EQ(state.getInt("int"), -7);
    EXPECT_TRUE(state.getBool("bool"));
    EXPECT_STREQ(state.getString("text"), "prt");
    const list copy = state.getList("list");
    ASSERT_EQ(copy.size(), 2u);
    EXPECT_EQ(copy[1], 4.0f);
    EXPECT_EQ(state.getOpaqueA("a").bits, 1u);
    EXPECT_EQ(state.getOpaqueB("b").bits, 2u);
    EXPECT_EQ(state.getOpaqueC("c").bits, 3u);
    EXPECT_EQ(state.getOpaqueD("d").bits, 4u);
}

TEST(PatcherState, TypedReadOfMissingOrOtherTypeThrowsAndLeavesAnEntry)
{
    PatcherState state;
    state.add("x", 1.0f);
    EXPECT_THROW(state.getFloat("y"), std::bad_variant_access);
    EXPECT_TRUE(state.contains("y"));
    EXPECT_FALSE(state.isEmpty());
    EXPECT_THROW(state.getDouble("x"), std::bad_variant_access);
    EXPECT_THROW(state.getString("x"), std::bad_variant_access);
    EXPECT_EQ(state.getFloat("x"), 1.0f);
}

TEST(PatcherState, FindFloatNeverThrowsOrInserts)
{
    PatcherState state;
    state.add("value", 0.75f);
    state.add("wide", 0.75);
    EXPECT_EQ(state.findFloat("value"), 0.75f);
    EXPECT_FALSE(state.findFloat("wide").has_value());
    EXPECT_FALSE(state.findFloat("missing").has_value());
    EXPECT_FALSE(state.contains("missing"));
    PatcherStateDummy dummy;
    EXPECT_FALSE(dummy.findFloat("value").has_value());
}

TEST(PatcherState, SubStateLookups)
{
    PatcherState state;
    state.add("a", 1.0f);
    PatcherState& a = state.getSubState("a"); // writing form replaces the float
    EXPECT_TRUE(a.isEmpty());
    a.add("inner", 2.0f);
    EXPECT_EQ(state.getSubState("a").getFloat("inner"), 2.0f);

    const PatcherState& readOnly = state;
    EXPECT_EQ(readOnly.getSubState("a").findFloat("inner"), 2.0f);
    try
    {
        readOnly.getSubState("missing");
        FAIL();
    }
    catch (const std::out_of_range& e)
    {
        EXPECT_STREQ(e.what(), "invalid unordered_map<K, T> key");
    }
    state.add("f", 1.0f);
    EXPECT_THROW(readOnly.getSubState("f"), std::bad_variant_access);
    EXPECT_FALSE(state.contains("missing"));

    state.getSubState("created");
    EXPECT_TRUE(readOnly.getSubState("created").isEmpty());
}

TEST(PatcherState, NumberedSubStateCollections)
{
    PatcherState state;
    state.getSubStateAt("voices", 0).add("gain", 0.5f);
    state.getSubStateAt("voices", 3).add("gain", 0.25f);
    EXPECT_EQ(state.getSubStateAt("voices", 0).getFloat("gain"), 0.5f);

    const PatcherState& readOnly = state;
    EXPECT_EQ(readOnly.getSubStateAt("voices", 3).findFloat("gain"), 0.25f);
    EXPECT_TRUE(readOnly.getSubStateAt("voices", 7).isEmpty()); // may add a holder, never throws for an index
    EXPECT_THROW(readOnly.getSubStateAt("nothing", 0), std::out_of_range);

    state.add("scalar", 1.0f);
    EXPECT_THROW(readOnly.getSubStateAt("scalar", 0), std::bad_variant_access);
    EXPECT_TRUE(state.getSubStateAt("scalar", 0).isEmpty()); // writing form replaces it
}

TEST(PatcherState, MovedInValuesAreOwnedAndReleasedThroughThePlatform)
{
    test::CountingPlatform platform;
    {
        PatcherState state;
        DataRef ref("kept", false);
        ref.setRequestedSizeInBytes(64);
        ref.allocateIfNeeded();
        void* storage = ref.getData();
        state.add("ref", std::move(ref));
        EXPECT_EQ(ref.getData(), nullptr);
        EXPECT_EQ(state.getDataRefEntry("ref").getData(), storage);

        DataRef refused("refused", false);
        refused.setRequestedSizeInBytes(32);
        refused.allocateIfNeeded();
        state.add("ref", std::move(refused)); // existing name: the new reference is destroyed
        EXPECT_EQ(state.getDataRefEntry("ref").getData(), storage);

        state.add("record", StorageRecord(1, 16, platform.malloc(16), 2));
        EXPECT_EQ(state.getStorageRecord("record").size, 16u);
        state.add("record", StorageRecord(1, 8, platform.malloc(8), 1));
        EXPECT_EQ(state.getStorageRecord("record").size, 16u);

        state.getSubState("ref"); // replacing the data reference releases its storage
        EXPECT_FALSE(state.contains("nothing"));
    }
    EXPECT_EQ(platform.outstanding(), 0);
}

namespace
{
struct CountedPatcher : NullPatcher
{
    explicit CountedPatcher(int& destroyedCount) : destroyed(destroyedCount) {}
    ~CountedPatcher() override { ++destroyed; }
    int& destroyed;
};
} // namespace

TEST(PatcherState, OwnedPatcherIsTakenOnceAndARefusedOneIsDestroyed)
{
    int destroyed = 0;
    {
        PatcherState state;
        auto* kept = new CountedPatcher(destroyed);
        state.add("patcher", PatcherPtr(kept));
        state.add("patcher", PatcherPtr(new CountedPatcher(destroyed)));
        EXPECT_EQ(destroyed, 1);

        PatcherPtr taken = state.takeOwnedPatcher("patcher");
        EXPECT_EQ(taken.get(), kept);
        EXPECT_EQ(state.takeOwnedPatcher("patcher"), nullptr);
        EXPECT_TRUE(state.contains("patcher"));

        state.add("left in", PatcherPtr(new CountedPatcher(destroyed)));
    } // the taken patcher and the one left in the tree go now
    EXPECT_EQ(destroyed, 3);
}

TEST(PatcherStateDummy, TakesNothingAndReadsEmpty)
{
    PatcherStateDummy dummy;
    dummy.add("x", 1.0f);
    EXPECT_TRUE(dummy.isEmpty());
    EXPECT_FALSE(dummy.contains("x"));
    EXPECT_EQ(&dummy.getSubState("any"), &dummy);
    EXPECT_EQ(&dummy.getSubStateAt("any", 4), &dummy);
    const PatcherStateDummy& readOnly = dummy;
    EXPECT_EQ(&readOnly.getSubState("any"), &dummy);
    EXPECT_EQ(dummy.getFloat("x"), 0.0f);
    EXPECT_EQ(dummy.getInt("x"), 0);
    EXPECT_FALSE(dummy.getBool("x"));
    EXPECT_STREQ(dummy.getString("x"), "");
    EXPECT_EQ(dummy.getList("x").size(), 0u);
    EXPECT_EQ(dummy.getDataRefEntry("x").getData(), nullptr);
    EXPECT_EQ(dummy.takeOwnedPatcher("x"), nullptr);
}

TEST(DummyPreset, IsAnEmptyMarkedState)
{
    DummyPreset preset;
    EXPECT_TRUE(preset.isDummy());
    EXPECT_TRUE(preset.isEmpty());
    EXPECT_FALSE(PatcherState().isDummy());
}

namespace
{
const std::vector<std::string> parameterNames = {"TrueBypass", "Saturate", "Output", "EchoTime", "SpaceOn"};

// The layout the top-level patcher writes: its id, one sub-state per parameter with its value, and
// each module's sub-state (with nested modules under their own "__sps") under "__sps".
void writePatchLayout(PatcherStateInterface& state)
{
    state.add("__presetid", "prt");
    for (size_t i = 0; i < parameterNames.size(); ++i)
        state.getSubState(parameterNames[i].c_str()).add("value", 0.5f + static_cast<float>(i));
    PatcherStateInterface& modules = state.getSubState("__sps");
    modules.getSubState("OutputAmp");
    PatcherStateInterface& warbler = modules.getSubState("Warbler").getSubState("__sps");
    warbler.getSubState("StDrift").getSubState("__sps").getSubState("Instability");
    warbler.getSubState("DamageCrinkleL");
}

// Applies parameters the way the patch does on the audio thread: a missing, empty or non-float
// entry is skipped.
std::vector<std::pair<std::string, float>> readParameters(PatcherStateInterface& state)
{
    std::vector<std::pair<std::string, float>> applied;
    for (const std::string& name : parameterNames)
    {
        PatcherStateInterface& entry = state.getSubState(name.c_str());
        if (entry.isEmpty())
            continue;
        if (const auto value = entry.findFloat("value"))
            applied.emplace_back(name, *value);
    }
    return applied;
}
} // namespace

TEST(PatcherState, PatchLayoutRoundTrip)
{
    PatcherState state;
    writePatchLayout(state);

    EXPECT_STREQ(state.getString("__presetid"), "prt");
    const auto applied = readParameters(state);
    ASSERT_EQ(applied.size(), parameterNames.size());
    for (size_t i = 0; i < applied.size(); ++i)
    {
        EXPECT_EQ(applied[i].first, parameterNames[i]);
        EXPECT_EQ(applied[i].second, 0.5f + static_cast<float>(i));
    }

    const PatcherState& readOnly = state;
    const PatcherState& modules = readOnly.getSubState("__sps");
    EXPECT_EQ(modules.getNumEntries(), 2u);
    EXPECT_TRUE(modules.getSubState("OutputAmp").isEmpty());
    const PatcherState& warbler = modules.getSubState("Warbler").getSubState("__sps");
    EXPECT_TRUE(warbler.getSubState("StDrift").getSubState("__sps").getSubState("Instability").isEmpty());
    EXPECT_TRUE(warbler.getSubState("DamageCrinkleL").isEmpty());
    EXPECT_EQ(state.getNumEntries(), 1 + parameterNames.size() + 1);
}

TEST(PatcherState, ReadingAForeignLayoutSkipsWhatDoesNotFit)
{
    PatcherState state;
    state.getSubState("Saturate").add("value", 0.25f);
    state.getSubState("Output").add("value", 2.0); // a double, not the float the patch writes
    state.getSubState("EchoTime").add("other", 1.0f);
    state.add("SpaceOn", 1.0f); // a bare value where a sub-state belongs

    const auto applied = readParameters(state);
    EXPECT_EQ(applied, (std::vector<std::pair<std::string, float>>{{"Saturate", 0.25f}}));
}

TEST(PatcherStateDummy, WritesAndReadsOfThePatchLayoutAreHarmless)
{
    PatcherStateDummy dummy;
    writePatchLayout(dummy);
    EXPECT_TRUE(dummy.isEmpty());
    EXPECT_TRUE(readParameters(dummy).empty());
}
