// The echo spectrum analyser must not touch the heap once its first block has run, at any rate: its
// sweep gathers bins and band values in lists made large enough beforehand, also where the band
// layout has fewer bins than bands (above 144 kHz) or is cut at the Nyquist bin (below 18 kHz). This
// binary counts every operator new and platform allocation while blocks of noise run, and the band
// lists that reach the engine's interface meanwhile.
#include "patch/space/EchoAnalyser.h"
#include "runtime/EngineCore.h"

#include "tests/common/AllocationCounter.h"
#include "tests/patch/ModuleTestRoot.h"
#include "tests/runtime/CountingPlatform.h"
#include "tests/runtime/RecordingInterface.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace PRT;

namespace
{
// Counts the "EchoSpec" band lists handed over, and those with a band of no power, keeping nothing.
class BandListCounter : public test::RecordingInterface
{
public:
    void queueHandlerEvent(EventVariant&& event) override
    {
        const MessageEvent* message = event.get<MessageEvent>();
        if (message == nullptr || message->tag != tags::echoSpec.hash || message->payload == nullptr ||
            message->payload->size() != 256)
            return;
        ++bandLists;
        for (size_t band = 0; band < 256; ++band)
            if (!((*message->payload)[band] > 0.0f))
            {
                ++listsWithAnEmptyBand;
                break;
            }
    }

    void flushParameterNotifications(MillisecondTime) override {}

    int bandLists = 0;
    int listsWithAnEmptyBand = 0;
};
} // namespace

TEST(EchoAnalyserAllocations, BlocksAfterTheFirstDoNotAllocateAtAnyRate)
{
    for (float rate : {8000.0f, 48000.0f, 176400.0f, 192000.0f})
    {
        SCOPED_TRACE(rate);
        test::CountingPlatform platform;
        EngineCore engine;
        BandListCounter counter;
        engine.registerInterface(&counter);
        engine.setPatcher(PatcherPtr(new test::ModuleTestRoot<Quillmore::PRTSubpatcher_55>()));
        constexpr Index block = 256;
        engine.prepareToProcess(rate, block, false);

        std::vector<SampleValue> left(block), right(block), outLeft(block), outRight(block);
        const SampleValue* inputs[] = {left.data(), right.data()};
        SampleValue* outputs[] = {outLeft.data(), outRight.data()};
        std::minstd_rand random(1);
        std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
        auto run = [&] {
            for (float& x : left)
                x = noise(random);
            engine.process(inputs, 2, outputs, 2, block, nullptr, nullptr);
        };
        run(); // the first block: load clock and data-reference notices

        const long platformCalls = platform.allocations + platform.reallocations;
        long heapCalls = 0;
        constexpr int frames = 40;
        for (int b = 1; b < frames * 4096 / static_cast<int>(block); ++b)
            heapCalls += test::heapCallsDuring(run);

        EXPECT_EQ(heapCalls, 0);
        EXPECT_EQ(platform.allocations + platform.reallocations, platformCalls);
        EXPECT_EQ(counter.bandLists, frames - 1) << "a band list per frame from the second sweep on";
        EXPECT_EQ(counter.listsWithAnEmptyBand, 0);
        engine.unregisterInterface(&counter);
    }
}
