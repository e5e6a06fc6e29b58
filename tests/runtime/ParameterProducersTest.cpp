// Several threads set parameters while the audio thread runs blocks and the patch reports values
// back; meant to run under ThreadSanitizer as well.
#include "runtime/Engine.h"

#include "tests/runtime/EngineFixture.h"
#include "tests/runtime/RecordingHandler.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>
#include <vector>

using namespace PRT;

namespace
{
constexpr int producers = 3;
constexpr int valuesPerProducer = 2000;
constexpr ParameterIndex audioThreadIndex = 3;

ParameterValue producedValue(int step)
{
    return static_cast<ParameterValue>(step) / 200; // 0.005 to 10: inside the patcher's range
}
} // namespace

TEST(ParameterProducers, ConcurrentSettersReachThePatchInEachThreadsOrder)
{
    Engine engine;
    auto* patcher = new test::ClampingPatcher();
    std::array<std::vector<ParameterValue>, test::RecordingPatcher::numParameters> received;
    patcher->onParameter = [&](ParameterIndex index, ParameterValue value, MillisecondTime) {
        received.at(index).push_back(value);
        patcher->sendParameter(index, false);
    };
    engine.setPatcher(PatcherPtr(patcher));
    engine.prepareToProcess(test::fixtureSampleRate, test::fixtureBlockFrames, false);

    const auto own = engine.createParameterInterface(ParameterInterfaceAsyncMultiProducer, nullptr);
    test::RecordingHandler handler;
    const auto watched = engine.createParameterInterface(ParameterInterfaceAsyncMultiProducer, &handler);

    std::atomic<int> producing{producers};
    std::atomic<bool> audioRunning{false};
    std::atomic<bool> audioDone{false};
    std::vector<std::thread> threads;
    for (int p = 0; p < producers; ++p)
    {
        threads.emplace_back([&, p] {
            while (!audioRunning)
                std::this_thread::yield();
            for (int step = 1; step <= valuesPerProducer; ++step)
                own->setParameterValue(static_cast<ParameterIndex>(p), producedValue(step), 0);
            --producing;
        });
    }
    std::atomic<long> outOfRangeReads{0};
    threads.emplace_back([&] {
        while (!audioDone)
            for (ParameterIndex index = 0; index < test::RecordingPatcher::numParameters; ++index)
                for (ParameterEventInterface* reader : {own.get(), watched.get()})
                {
                    const ParameterValue value = reader->getParameterValue(index);
                    if (value < 0 || value > 10)
                        ++outOfRangeReads;
                }
    });
    std::thread audio([&] {
        // The audio thread sets a parameter of its own every block, as the processor does.
        int block = 0;
        for (int after = 0; after < 13; ++block)
        {
            if (producing == 0)
                ++after;
            own->setParameterValue(audioThreadIndex, static_cast<ParameterValue>(block % 11), 0);
            test::runBlocks(engine);
            audioRunning = true;
        }
        audioDone = true;
    });

    audio.join();
    for (std::thread& thread : threads)
        thread.join();

    EXPECT_EQ(outOfRangeReads, 0);
    std::vector<ParameterValue> produced;
    for (int step = 1; step <= valuesPerProducer; ++step)
        produced.push_back(producedValue(step));
    for (ParameterIndex index = 0; index < producers; ++index)
    {
        SCOPED_TRACE(index);
        EXPECT_EQ(received[index], produced);
        EXPECT_EQ(own->getParameterValue(index), 10);
        EXPECT_EQ(watched->getParameterValue(index), 10);
    }
    EXPECT_GE(received[audioThreadIndex].size(), 14u); // one per block
    EXPECT_FALSE(handler.parameters.empty());
}
