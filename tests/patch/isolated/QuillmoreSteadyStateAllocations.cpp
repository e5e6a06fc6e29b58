// The whole patch must not touch the heap on the audio thread once its first block has run: this
// binary counts every operator new and platform allocation made while blocks run, the switches and
// sends glide, the monitors report, the echo changes its time, sync and feedback, and the start-up
// ramp opens.
#include "patch/core/QuillmoreModules.h"
#include "runtime/EngineCore.h"

#include "tests/common/AllocationCounter.h"
#include "tests/runtime/CountingPlatform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <utility>
#include <vector>

using namespace PRT;

TEST(QuillmoreAllocations, BlocksAfterTheFirstDoNotAllocate)
{
    test::CountingPlatform platform;
    EngineCore engine;
    auto* top = new Quillmore();
    engine.setPatcher(PatcherPtr(top));
    engine.prepareToProcess(48000, 128, false);
    auto set = [&](ParameterIndex index, float value) {
        engine.scheduleEvent(ParameterEvent{index, engine.getCurrentTime(), value, nullptr, nullptr});
    };
    set(params::TrueBypass, 0);

    std::vector<SampleValue> left(128), right(128), outLeft(128), outRight(128);
    const SampleValue* inputs[] = {left.data(), right.data()};
    SampleValue* outputs[] = {outLeft.data(), outRight.data()};
    auto block = [&](int b) {
        for (size_t i = 0; i < 128; ++i)
        {
            left[i] = 0.5f * std::sin(0.03f * static_cast<float>(b * 128 + static_cast<int>(i)));
            right[i] = -left[i];
        }
        engine.process(inputs, 2, outputs, 2, 128, nullptr, nullptr);
    };
    block(0); // the first block: load clocks, parameter bangs, data-reference notices

    // Each step changes a handful of parameters between blocks; the changes reach the modules and
    // the weights inside the next block.
    const std::vector<std::pair<ParameterIndex, float>> changes[] = {
        {{params::SendRetMode, 1}, {params::EchoSend, 70}, {params::SpringSend, 40}, {params::Order, 1}},
        {{params::HeadsOn, 0}, {params::Saturate, 80}, {params::Input, 150}, {params::EchoToSpring, 60}},
        {{params::SpaceOn, 0}, {params::TrueBypass, 1}, {params::EchoSend, 10}, {params::SpringSize, 11}},
        {{params::SendRetMode, 0}, {params::HeadsOn, 1}, {params::SpaceOn, 1}, {params::TrueBypass, 0}},
        {{params::EchoMix, 60}, {params::EchoFdbck, 115}, {params::EchoSyncOn, 1}, {params::EchoSyncDiv, 3},
         {params::hostTempo, 97}, {params::EchoFilterLFOAmount, 80}, {params::EchoStOffset, -0.6f}},
        {{params::EchoSyncOn, 0}, {params::EchoTime, 40}, {params::EchoFilterFreq, 3000}, {params::EchoFilterQ, 1.5f}},
    };
    const long platformCalls = platform.allocations + platform.reallocations;
    long heapCalls = 0;
    float loudest = 0.0f;
    for (int b = 1; b < 3300; ++b)
    {
        if (b % 100 == 0)
            for (const auto& [index, value] : changes[(b / 100) % std::size(changes)])
                set(index, value);
        heapCalls += test::heapCallsDuring([&] { block(b); });
        loudest = std::max(loudest, std::fabs(outLeft[64]));
    }

    EXPECT_EQ(heapCalls, 0);
    EXPECT_EQ(platform.allocations + platform.reallocations, platformCalls);
    EXPECT_GT(loudest, 0.4f) << "audio came through";
    EXPECT_EQ(top->gen01.controls.gen01Gate, 1.0f) << "the start-up ramp opened";
    EXPECT_NEAR(top->numberTilde_obj_24.getLastReportedValue(), 0.4f, 0.01f) << "the send monitors reported";
}
