#include "patch/core/Button.h"
#include "patch/core/ClockIds.h"
#include "patch/core/GeneratedPatcher.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/MessageBox.h"
#include "patch/core/MessageTags.h"
#include "patch/core/NumberBox.h"
#include "patch/core/SignalMonitor.h"
#include "patch/core/SignalScope.h"
#include "patch/core/Slider.h"
#include "patch/core/Toggle.h"

#include "tests/patch/PatchEngine.h"
#include "tests/runtime/CountingPlatform.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace PRT;
using namespace PRT::test;

namespace
{
// One object of each kind in one class, installed in the real engine, which carries what they send.
class ObjectBench final : public GeneratedPatcher
{
public:
    ObjectBench() : GeneratedPatcher({"Bench", 1, 1}, 0)
    {
        number.onValue = [this](float v) { driven.push_back(v); };
        toggle.onValue = [this](float v) { driven.push_back(v); };
        slider.onValue = [this](float v) { driven.push_back(v); };
        box.onOutput = [this](const list& l) { boxOutputs.emplace_back(l.data(), l.data() + l.size()); };
        loadMessage.onOutput = [this](const list& l) { boxOutputs.emplace_back(l.data(), l.data() + l.size()); };
    }

    NumberBox number{*this, HashedText("Bench/number_obj-1")};
    Toggle toggle{*this, HashedText("Bench/toggle_obj-2")};
    Slider slider{*this, HashedText("Bench/slider_obj-3")};
    MessageBox box{*this, HashedText("Bench/message_obj-4")};
    LoadMessage loadMessage{*this, HashedText("Bench/loadmess_obj-5"), clocks::loadObjectB, {0.9f}};
    SignalMonitor ramp{*this, HashedText("Bench/number~_obj-6"), clocks::monitorB, 1.0f};
    SignalScope scope{*this, HashedText("Bench/scope~_obj-7"), 128};
    Slider sizeSlider{*this, HashedText("Bench/slider_obj-8"), 0.0f, 5.0f};
    Button button{*this, HashedText("Bench/button_obj-9")};
    SignalBuffer rampOutput{*this};

    std::vector<float> driven;
    std::vector<std::vector<float>> boxOutputs;

private:
    void processBlock(const SampleValue* const*, SampleValue* const*, Index) override {}
};

class InterfaceObjectsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        bench = &patch.install(new ObjectBench());
        patch.prepare(48000.0f, 64);
        patch.takeSent();
    }

    // (tag, value) of each number message sent for object.
    std::vector<std::pair<MessageTag, float>> numbersSentFor(const PatchObject& object)
    {
        std::vector<std::pair<MessageTag, float>> found;
        for (const SentMessage& m : patch.takeSent())
            if (m.objectId == object.getId() && m.kind == MessageEvent::Number)
                found.emplace_back(m.tag, m.number);
        return found;
    }

    PatchEngine patch;
    ObjectBench* bench = nullptr;
};
} // namespace

TEST_F(InterfaceObjectsTest, NumberBoxFormatsDecideWhetherFractionsSurvive)
{
    const struct
    {
        float formatMessage;
        int64_t format;
        float in, stored;
    } cases[] = {
        {6, 6, 2.5f, 2.5f}, {0, 0, 2.5f, 2.0f},  {0, 0, -2.5f, -2.0f}, {5.9f, 5, 2.5f, 2.0f},
        {7, 6, 2.5f, 2.5f}, {9.7f, 6, -0.75f, -0.75f}, {-1, 0, 0.99f, 0.0f}, {-4, 0, 3.7f, 3.0f},
    };
    for (const auto& c : cases)
    {
        bench->processNumMessage(tags::format.hash, bench->number.getId(), 0.0, c.formatMessage);
        EXPECT_EQ(bench->number.getFormat(), c.format) << "format " << c.formatMessage;
        bench->processNumMessage(tags::valin.hash, bench->number.getId(), 0.0, c.in);
        EXPECT_EQ(bench->number.getValue(), c.stored) << c.in << " with format " << c.format;
        EXPECT_EQ(bench->driven.back(), c.stored);
        EXPECT_EQ(numbersSentFor(bench->number),
                  (std::vector<std::pair<MessageTag, float>>{{tags::valout.hash, c.stored}}));
    }

    bench->number.setRange(-96.0f, 0.0f);
    bench->number.setUp(NumberBox::floatFormat);
    bench->number.setNumberValue(-120.5f);
    EXPECT_EQ(bench->number.getValue(), -96.0f) << "clamped before it is stored";
    EXPECT_EQ(numbersSentFor(bench->number), (std::vector<std::pair<MessageTag, float>>{
                                                 {tags::setup.hash, 1.0f}, {tags::valout.hash, -96.0f}}));
}

TEST_F(InterfaceObjectsTest, ToggleHoldsOneForAnythingButZero)
{
    const struct
    {
        float in, held;
    } cases[] = {{0.2f, 1}, {std::nanf(""), 1}, {0, 0}, {-3, 1}, {-0.0f, 0}, {1, 1}};
    for (const auto& c : cases)
    {
        bench->processNumMessage(tags::valin.hash, bench->toggle.getId(), 0.0, c.in);
        EXPECT_EQ(bench->toggle.getValue(), c.held) << c.in;
        EXPECT_EQ(numbersSentFor(bench->toggle), (std::vector<std::pair<MessageTag, float>>{{tags::valout.hash, c.held}}));
    }
}

TEST_F(InterfaceObjectsTest, SliderReportsItsPositionAndDrivesTheMappedValue)
{
    bench->processNumMessage(tags::valin.hash, bench->slider.getId(), 0.0, 64.0f);
    EXPECT_EQ(bench->driven.back(), 0.5f);
    EXPECT_EQ(numbersSentFor(bench->slider), (std::vector<std::pair<MessageTag, float>>{{tags::valout.hash, 64.0f}}));

    bench->slider.setSliderFromRange(1.7f, 0.0f, 1.0f);
    EXPECT_EQ(bench->slider.getPosition(), 128.0f) << "a patch value is clamped to its range first";
    bench->slider.setSliderFromRange(2.5f, 0.0f, 5.0f);
    EXPECT_EQ(bench->slider.getPosition(), 64.0f);

    float driven = -1;
    bench->sizeSlider.onValue = [&](float v) { driven = v; };
    bench->sizeSlider.setSliderValue(32.0f);
    EXPECT_EQ(driven, 1.25f) << "mapped onto the slider's own output range";
}

TEST_F(InterfaceObjectsTest, MessageBoxStoresListsAndOutputsOnABang)
{
    bench->processNumMessage(tags::listin.hash, bench->box.getId(), 0.0, 3.0f);
    EXPECT_EQ(bench->box.getContent().size(), 1u);
    EXPECT_EQ(bench->box.getContent()[0], 3.0f);
    std::vector<SentMessage> sent = patch.takeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].tag, tags::listout.hash);
    EXPECT_EQ(sent[0].values, std::vector<float>{3.0f});
    EXPECT_TRUE(bench->boxOutputs.empty()) << "setting the content does not fire the box";

    bench->processBangMessage(tags::listin.hash, bench->box.getId(), 0.0);
    EXPECT_EQ(bench->boxOutputs, std::vector<std::vector<float>>{{3.0f}});
    EXPECT_TRUE(patch.takeSent().empty()) << "a bang sends no listout";

    list values;
    for (float v : {0.0f, 0.0f, 0.3f, 5.0f, 0.3f, 10.0f, 0.0f, 5.0f, 1.0f})
        values.push(v);
    bench->processListMessage(tags::listin.hash, bench->box.getId(), 0.0, values);
    EXPECT_EQ(bench->box.getContent().size(), 9u);
    sent = patch.takeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].values.size(), 9u);

    bench->box.setUp({1.2f});
    EXPECT_EQ(patch.takeSent()[0].values, std::vector<float>{1.2f});
}

TEST_F(InterfaceObjectsTest, ButtonReportsThenRuns)
{
    Button& button = bench->button;
    std::vector<std::string> order;
    button.onBang = [&] { order.push_back(patch.takeSent().empty() ? "run before bangout" : "run after bangout"); };
    bench->processBangMessage(tags::bangin.hash, button.getId(), 0.0);
    EXPECT_EQ(order, std::vector<std::string>{"run after bangout"});
    bench->processBangMessage(tags::bangout.hash, button.getId(), 0.0);
    EXPECT_EQ(order.size(), 1u) << "only bangin presses it";
}

TEST_F(InterfaceObjectsTest, LoadMessageFiresAtItsClockAndOnStartupbang)
{
    patch.processBlocks(1);
    EXPECT_TRUE(bench->boxOutputs.empty()) << "nobody scheduled its load clock";

    bench->scheduleLoadClocks();
    patch.processBlocks(1);
    EXPECT_EQ(bench->boxOutputs, std::vector<std::vector<float>>{{0.9f}});

    bench->processBangMessage(tags::startupbang.hash, bench->loadMessage.getId(), patch.engine.getCurrentTime());
    EXPECT_EQ(bench->boxOutputs.size(), 2u);
}

TEST_F(InterfaceObjectsTest, MonitorModesAndSetValues)
{
    SignalMonitor& monitor = bench->ramp;
    EXPECT_EQ(monitor.getOutputMode(), SignalMonitor::RampToSetValue);
    const struct
    {
        float mode;
        int expected;
    } cases[] = {{2, SignalMonitor::FollowInput}, {3, SignalMonitor::FollowInput}, {1, SignalMonitor::RampToSetValue},
                 {0, SignalMonitor::RampToSetValue}, {2.5f, SignalMonitor::RampToSetValue}};
    for (const auto& c : cases)
    {
        bench->processNumMessage(tags::mode.hash, monitor.getId(), 0.0, c.mode);
        EXPECT_EQ(monitor.getOutputMode(), c.expected) << "mode " << c.mode;
    }

    bench->processNumMessage(tags::sig.hash, monitor.getId(), 0.0, 0.7f);
    EXPECT_EQ(monitor.getSetValue(), 0.7f);
    list one;
    one.push(0.4f);
    bench->processListMessage(tags::sig.hash, monitor.getId(), 0.0, one);
    EXPECT_EQ(monitor.getSetValue(), 0.4f);

    test::CountingPlatform platform;
    bench->processListMessage(tags::sig.hash, monitor.getId(), 0.0, list());
    bench->processListMessage(tags::sig.hash, monitor.getId(), 0.0, list());
    EXPECT_EQ(monitor.getSetValue(), 0.0f) << "an empty list gives 0";
    EXPECT_EQ(platform.printedErrors, std::vector<std::string>{"list index out of range"}) << "reported once";
    patch.takeSent();

    monitor.setNumberTildeInput(0.3f);
    EXPECT_EQ(numbersSentFor(monitor), (std::vector<std::pair<MessageTag, float>>{{tags::assign.hash, 0.3f}}));
    bench->processNumMessage(tags::mode.hash, monitor.getId(), 0.0, 2.0f);
    monitor.setNumberTildeInput(0.6f);
    EXPECT_TRUE(numbersSentFor(monitor).empty()) << "no assign while the output follows the input";
    EXPECT_EQ(monitor.getSetValue(), 0.6f);
}

TEST_F(InterfaceObjectsTest, MonitorOutputRampsToTheSetValueOrFollowsTheInput)
{
    SignalMonitor& monitor = bench->ramp; // ramp time 1 ms: 48 steps at 48 kHz
    std::vector<float> input(64, -5.0f), output(64, 0.0f);

    monitor.setNumberTildeInput(0.96f);
    monitor.process(input.data(), output.data(), 64);
    for (int i = 0; i < 48; ++i)
        ASSERT_NEAR(output[i], 0.02f * static_cast<float>(i + 1), 1e-5f) << i;
    for (int i = 48; i < 64; ++i)
        ASSERT_EQ(output[i], 0.96f) << i;

    bench->processNumMessage(tags::mode.hash, monitor.getId(), 0.0, 2.0f);
    monitor.process(input.data(), output.data(), 64);
    EXPECT_EQ(output[0], -5.0f);
    EXPECT_EQ(output[63], -5.0f);

    // Back to ramping: the set value is unchanged, so the output jumps back to where the ramp ended.
    bench->processNumMessage(tags::mode.hash, monitor.getId(), 0.0, 1.0f);
    monitor.process(input.data(), output.data(), 64);
    EXPECT_EQ(output[0], 0.96f);
}

TEST_F(InterfaceObjectsTest, ScopeKeepsTheSignedPeakOfEachInterval)
{
    // Interval 128: one value per 128 samples, 128 values per list.
    std::vector<float> block(128);
    std::vector<float> expected;
    for (int interval = 0; interval < 128; ++interval)
    {
        for (int i = 0; i < 128; ++i)
            block[i] = 0.1f * std::sin(static_cast<float>(i));
        const float peak = interval % 2 == 0 ? 0.9f : -0.8f;
        block[interval % 128] = peak;
        expected.push_back(peak);
        bench->scope.process(block.data(), 128);
    }
    const std::vector<SentMessage> sent = patch.takeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].objectId, bench->scope.getId());
    EXPECT_EQ(sent[0].values, expected);
}

TEST_F(InterfaceObjectsTest, ScopeThatNobodyListensToReportsOnlyWhatCameAfterSomeoneDoes)
{
    // A report half collected, then loud blocks while no interface is there to take "monitor":
    // nothing is sent, and nothing of either may linger.
    std::vector<float> block(96, 5.0f);
    for (int i = 0; i < 20; ++i)
        bench->scope.process(block.data(), 96);
    patch.engine.unregisterInterface(&patch.interface);
    for (int i = 0; i < 200; ++i)
        bench->scope.process(block.data(), 96);
    patch.engine.registerInterface(&patch.interface);
    EXPECT_TRUE(patch.takeSent().empty());

    std::vector<float> quiet(128, 0.25f);
    for (int interval = 0; interval < 128; ++interval)
        bench->scope.process(quiet.data(), 128);
    const std::vector<SentMessage> sent = patch.takeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].values, std::vector<float>(128, 0.25f));
}
