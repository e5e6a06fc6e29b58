// The patcher swap against a process call running on another thread.
#include "runtime/Engine.h"

#include "tests/runtime/EngineFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

using namespace PRT;
using test::RecordingPatcher;

namespace
{
class ObservedEngine : public Engine
{
public:
    bool swapPending() const { return swapLock.load() != 0; }
};

// What a holding patcher did; outlives the patcher.
struct HoldingRecord
{
    std::atomic<int> blocks{0};
    std::atomic<int> finishedBlocks{0};
    std::atomic<int> destroyed{0};
};

// Counts its blocks; one block can be held inside the patcher's process until released.
class HoldingPatcher : public RecordingPatcher
{
public:
    explicit HoldingPatcher(HoldingRecord& counters) : record(counters)
    {
        onProcess = [this] {
            ++record.blocks;
            if (holdNextBlock.exchange(false))
            {
                held.set_value();
                release.get_future().wait();
            }
            ++record.finishedBlocks;
        };
    }
    ~HoldingPatcher() override { ++record.destroyed; }

    std::atomic<bool> holdNextBlock{false};
    std::promise<void> held;
    std::promise<void> release;
    HoldingRecord& record;
};

// Runs one block on a thread of its own and returns once the patcher holds it.
std::thread startHeldBlock(Engine& engine, HoldingPatcher& patcher)
{
    patcher.holdNextBlock = true;
    std::thread audio([&engine] { test::runBlocks(engine); });
    patcher.held.get_future().wait();
    return audio;
}

std::vector<SampleValue> processFilled(Engine& engine, SampleValue fill)
{
    std::vector<SampleValue> samples(2 * test::fixtureBlockFrames, fill);
    SampleValue* outputs[] = {samples.data(), samples.data() + test::fixtureBlockFrames};
    engine.process(nullptr, 0, outputs, 2, test::fixtureBlockFrames, nullptr, nullptr);
    return samples;
}
} // namespace

TEST(EngineSwap, ASwapWaitsForTheRunningBlockAndCallsThatMeetItAreSkipped)
{
    ObservedEngine engine;
    HoldingRecord outgoingRecord;
    auto* outgoing = new HoldingPatcher(outgoingRecord);
    engine.setPatcher(PatcherPtr(outgoing));
    engine.prepareToProcess(test::fixtureSampleRate, test::fixtureBlockFrames, false);
    std::thread audio = startHeldBlock(engine, *outgoing);

    std::atomic<int> blocksWhenInstalled{-1};
    std::atomic<int> destroyedWhenInstalled{-1};
    auto* incoming = new RecordingPatcher();
    incoming->onInitialize = [&] {
        blocksWhenInstalled = outgoingRecord.finishedBlocks.load();
        destroyedWhenInstalled = outgoingRecord.destroyed.load();
    };
    std::atomic<bool> swapped{false};
    std::thread swapper([&] {
        EXPECT_TRUE(engine.setPatcher(PatcherPtr(incoming)));
        swapped = true;
    });
    while (!engine.swapPending())
        std::this_thread::yield();

    // While the swap waits: nothing enters, and a skipped block is silence, not stale samples.
    const auto skipped = processFilled(engine, 5);
    EXPECT_EQ(std::count(skipped.begin(), skipped.end(), 0.0f), static_cast<long>(skipped.size()));
    EXPECT_EQ(outgoingRecord.blocks, 1);
    EXPECT_FALSE(engine.prepareToProcess(96000, 32, false));
    EXPECT_TRUE(engine.getPreset()->isDummy());
    auto unapplied = std::make_unique<PatcherState>();
    unapplied->add("gain", 3.0f);
    engine.setPreset(std::move(unapplied));
    EXPECT_FALSE(swapped);

    outgoing->release.set_value();
    audio.join();
    swapper.join();
    EXPECT_EQ(blocksWhenInstalled, 1); // installed only after the held block finished
    EXPECT_EQ(destroyedWhenInstalled, 1);
    EXPECT_EQ(engine.getCurrentPatcher(), incoming);
    EXPECT_EQ(incoming->values[0], 0); // the preset offered during the swap was not applied

    // Prepared like the old patcher (the refused prepare changed nothing); processing goes on.
    EXPECT_EQ(incoming->getSampleRate(), test::fixtureSampleRate);
    const auto processed = processFilled(engine, 5);
    EXPECT_EQ(std::count(processed.begin(), processed.end(), 1.0f), static_cast<long>(processed.size()));
}

TEST(EngineSwap, ASwapThatWaitsTooLongGivesUpAndTheOldPatcherKeepsProcessing)
{
    ObservedEngine engine;
    engine.setSwapTimeout(std::chrono::milliseconds(20));
    HoldingRecord outgoingRecord, offeredRecord;
    auto* outgoing = new HoldingPatcher(outgoingRecord);
    engine.setPatcher(PatcherPtr(outgoing));
    engine.prepareToProcess(test::fixtureSampleRate, test::fixtureBlockFrames, false);
    std::thread audio = startHeldBlock(engine, *outgoing);

    EXPECT_FALSE(engine.setPatcher(PatcherPtr(new HoldingPatcher(offeredRecord))));
    EXPECT_EQ(offeredRecord.destroyed, 1);
    EXPECT_EQ(outgoingRecord.destroyed, 0);
    EXPECT_FALSE(engine.swapPending());

    outgoing->release.set_value();
    audio.join();
    EXPECT_EQ(engine.getCurrentPatcher(), outgoing);
    const auto processed = processFilled(engine, 5);
    EXPECT_EQ(std::count(processed.begin(), processed.end(), 1.0f), static_cast<long>(processed.size()));
    EXPECT_EQ(outgoingRecord.blocks, 2);
    EXPECT_TRUE(engine.prepareToProcess(test::fixtureSampleRate, test::fixtureBlockFrames, false));
    EXPECT_EQ(offeredRecord.destroyed, 1);
    EXPECT_EQ(offeredRecord.blocks, 0);
}
