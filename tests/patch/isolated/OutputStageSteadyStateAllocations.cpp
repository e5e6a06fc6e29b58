// The output stage (output amplifier, then the start-up ramp) must not touch the heap on the audio
// thread once prepared: this binary counts every operator new and platform allocation made while
// blocks run, ramps step, monitors report and the start-up sequence runs again.
#include "patch/core/FixStartupBurp.h"
#include "patch/core/OutputAmp.h"
#include "runtime/EngineCore.h"

#include "tests/common/AllocationCounter.h"
#include "tests/runtime/CountingPlatform.h"

#include <gtest/gtest.h>

#include <vector>

using namespace PRT;

namespace
{
// The end of the top level's output path: the amplifier's output times the start-up ramp.
class OutputStage final : public GeneratedPatcher
{
public:
    OutputStage() : GeneratedPatcher({"OutputStage", 2, 2}, 0) {}

    void initialize() override
    {
        GeneratedPatcher::initialize();
        amp->setupObjects();
        ramp->setupObjects();
        allocateDataRefs();
        scheduleLoadClocks();
    }

    Quillmore::PRTSubpatcher_39* amp = nullptr;
    Quillmore::PRTSubpatcher_56* ramp = nullptr;
    SignalBuffer gain{*this};
    float springControl = 0.0f;

private:
    void createChildren() override
    {
        amp = createChild<Quillmore::PRTSubpatcher_39>();
        ramp = createChild<Quillmore::PRTSubpatcher_56>();
        ramp->onRampValue = [this](float value) { springControl = value; };
    }

    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override
    {
        SampleValue* rampOutputs[] = {gain.get(), nullptr};
        ramp->process(nullptr, 0, rampOutputs, 2, n);
        amp->process(inputs, 2, outputs, 2, n);
        for (Index i = 0; i < n; ++i)
        {
            outputs[0][i] *= gain[i];
            outputs[1][i] *= gain[i];
        }
    }
};
} // namespace

TEST(OutputStageAllocations, SteadyStateBlocksDoNotAllocate)
{
    test::CountingPlatform platform;
    EngineCore engine;
    auto* stage = new OutputStage();
    engine.setPatcher(PatcherPtr(stage));
    engine.prepareToProcess(48000, 64, false);

    std::vector<SampleValue> left(64, 0.5f), right(64, -0.25f), outLeft(64), outRight(64);
    const SampleValue* inputs[] = {left.data(), right.data()};
    SampleValue* outputs[] = {outLeft.data(), outRight.data()};
    engine.process(inputs, 2, outputs, 2, 64, nullptr, nullptr); // first block

    const long platformAllocations = platform.allocations + platform.reallocations;
    float rampPeak = 0.0f;
    const long heapCalls = test::heapCallsDuring([&] {
        for (int block = 0; block < 3000; ++block)
        {
            if (block % 400 == 0)
            {
                stage->amp->updateTime(engine.getCurrentTime());
                stage->amp->setSaturationInput(static_cast<float>(block % 101)); // the drive and level reports change
                stage->amp->setOutputLevelInput(100.0f + static_cast<float>(block % 7));
            }
            if (block == 1500)
                stage->ramp->loadBang.fire(); // the whole start-up sequence again
            engine.process(inputs, 2, outputs, 2, 64, nullptr, nullptr);
            rampPeak = std::max(rampPeak, stage->springControl);
        }
    });

    EXPECT_EQ(heapCalls, 0);
    EXPECT_EQ(platform.allocations + platform.reallocations, platformAllocations);
    EXPECT_EQ(rampPeak, 1.0f); // the work really happened
    EXPECT_GT(stage->amp->driveMonitor.getLastReportedValue(), 0.01f);
    EXPECT_NE(outLeft[63], 0.0f);
}
