// The bundle's preset interface called as a careless or hostile host might call it.
#include "plugin/PresetAccessInterface.h"
#include "tests/e2e/BuiltBundle.h"

#include <pluginterfaces/vst/ivstcomponent.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <limits>

using Steinberg::kInvalidArgument;
using Steinberg::kResultFalse;
using Steinberg::kResultOk;

TEST(PresetAccess, AnswersOnlyItsOwnIdAndRefusesWhatItCannotServe)
{
    auto plugin = loadBuiltBundle();
    auto* component = Quillmore::Host::vst3ComponentOf(*plugin.instance);
    ASSERT_NE(component, nullptr);

    void* object = nullptr;
    ASSERT_EQ(component->queryInterface(Quillmore::presetAccessIid, &object), kResultOk);
    auto* access = static_cast<Quillmore::IPresetAccess*>(object);
    void* again = nullptr;
    EXPECT_EQ(access->queryInterface(Quillmore::presetAccessIid, &again), kResultOk);
    EXPECT_EQ(again, object);
    access->release();

    Steinberg::TUID otherId;
    std::memcpy(otherId, Quillmore::presetAccessIid, sizeof(otherId));
    otherId[15] = static_cast<Steinberg::int8>(otherId[15] ^ 1);
    void* none = &otherId;
    EXPECT_NE(component->queryInterface(otherId, &none), kResultOk);
    EXPECT_EQ(none, nullptr);

    const Steinberg::int32 factory = Quillmore::IPresetAccess::factoryPresets, user = Quillmore::IPresetAccess::userPresets;
    constexpr auto huge = std::numeric_limits<Steinberg::int32>::max(), lowest = std::numeric_limits<Steinberg::int32>::min();
    EXPECT_EQ(access->getPresetCount(factory), 79);
    for (const auto kind : { -1, 2, huge, lowest })
        EXPECT_EQ(access->getPresetCount(kind), 0) << kind;

    std::array<Steinberg::char8, 64> text {};
    const auto size = static_cast<Steinberg::int32>(text.size());
    const std::pair<Steinberg::int32, Steinberg::int32> outside[] { { factory, -1 }, { factory, 79 }, { factory, huge },
                                                                   { factory, lowest }, { user, 0 }, { 5, 0 } };
    for (const auto& [kind, index] : outside)
    {
        EXPECT_EQ(access->getPresetName(kind, index, text.data(), size), kInvalidArgument) << kind << ", " << index;
        EXPECT_EQ(access->getPresetCategory(kind, index, text.data(), size), kInvalidArgument) << kind << ", " << index;
        EXPECT_EQ(access->loadPreset(kind, index), kInvalidArgument) << kind << ", " << index;
    }
    EXPECT_EQ(access->getPresetName(factory, 0, nullptr, size), kInvalidArgument);
    EXPECT_EQ(access->getPresetName(factory, 0, text.data(), 0), kInvalidArgument);
    EXPECT_EQ(access->getPresetName(factory, 0, text.data(), lowest), kInvalidArgument);
    EXPECT_EQ(access->getUserPresetFolder(nullptr, size), kInvalidArgument);

    // A text that does not fit is cut, still terminated, and said to be cut.
    EXPECT_EQ(access->getPresetName(factory, 0, text.data(), 6), kResultFalse);
    EXPECT_STREQ(text.data(), "Clean");
    EXPECT_EQ(access->getPresetName(factory, 0, text.data(), size), kResultOk);
    EXPECT_STREQ(text.data(), "Clean Default");
    EXPECT_EQ(access->getPresetCategory(factory, 0, text.data(), size), kResultOk);
    EXPECT_STREQ(text.data(), "Pinned");

    EXPECT_EQ(access->release(), 0u);
}
