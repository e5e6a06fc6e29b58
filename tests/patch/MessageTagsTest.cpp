#include "patch/core/ClockIds.h"
#include "patch/core/GeneratedPatcher.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/MessageTags.h"

#include "tests/patch/PatchEngine.h"

#include <gtest/gtest.h>

using namespace PRT;

// The tags are folded from their texts at compile time.
static_assert(tags::setup.hash == 0x17f32c7d);
static_assert(HashedText("OutputAmp/number~_obj-137").hash == 0x43dc3e49);

TEST(MessageTags, HashesMatchTheTagTable)
{
    const struct
    {
        const HashedText& tag;
        const char* text;
        MessageTag hash;
    } table[] = {
        {tags::setup, "setup", 0x17f32c7d},     {tags::valin, "valin", 0x25a08786},
        {tags::valout, "valout", 0xcd02b92d},   {tags::format, "format", 0x374297d7},
        {tags::listin, "listin", 0x56c3e483},   {tags::listout, "listout", 0x41b39b70},
        {tags::monitor, "monitor", 0x4bf04a3a}, {tags::assign, "assign", 0x04aac1cf},
        {tags::mode, "mode", 0x0673b343},       {tags::sig, "sig", 0x390a1131},
        {tags::startupbang, "startupbang", 0xf18a7415}, {tags::bangin, "bangin", 0x6a9c42bd},
        {tags::bangout, "bangout", 0x822ccbb6}, {tags::echoSpec, "EchoSpec", 0x89256700},
    };
    for (const auto& row : table)
    {
        EXPECT_STREQ(row.tag.text, row.text);
        EXPECT_EQ(row.tag.hash, row.hash) << row.text;
    }
}

TEST(MessageTags, ObjectIdsAreTheHashesOfTheirPaths)
{
    const struct
    {
        const char* path;
        MessageTag hash;
    } table[] = {
        {"OutputAmp/number~_obj-137", 0x43dc3e49},       {"OutputAmp/number~_obj-148", 0x43dd3e89},
        {"FixStartupBurp/loadbang_obj-130", 0x053eb3ad}, {"FixStartupBurp/button_obj-112", 0x51c95445},
        {"FixStartupBurp/message_obj-115", 0xdb8580f1},  {"FixStartupBurp/message_obj-4", 0x34193b30},
        {"toggle_obj-149", 0x7b7bd555},                  {"number~_obj-24", 0x35bd8862},
        {"button_obj-167", 0x99c0e16f},                  {"number_obj-210", 0xc4bf81e5},
    };
    for (const auto& row : table)
        EXPECT_EQ(HashedText(row.path).hash, row.hash) << row.path;
}

TEST(ClockIds, ALoadBangAnswersTheLoadClockOfItsClass)
{
    class Loader final : public GeneratedPatcher
    {
    public:
        Loader() : GeneratedPatcher({"Loader", 0, 0}, 0) { load.onFire = [this] { ++fires; }; }
        LoadBang load{*this, HashedText("Loader/loadbang_obj-1")};
        int fires = 0;

    private:
        void processBlock(const SampleValue* const*, SampleValue* const*, Index) override {}
    };

    test::PatchEngine patch;
    Loader& loader = patch.install(new Loader());
    patch.prepare(48000.0f, 64);
    patch.engine.scheduleClockEvent(&loader, 0xcc0bcc09, 0.0);
    patch.engine.scheduleClockEvent(&loader, clocks::monitorA, 0.0);
    patch.processBlocks(1);
    EXPECT_EQ(loader.fires, 1);
}
