#include "runtime/Engine.h"
#include "runtime/MessageListPool.h"

#include "tests/runtime/CountingPlatform.h"
#include "tests/runtime/EngineFixture.h"
#include "tests/runtime/ListSendingPatcher.h"
#include "tests/runtime/ListValues.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

using namespace PRT;
using test::contents;
using test::makeList;

namespace
{
// A pool of two slots of four values; list storage goes through the counting platform, so a list
// that does not come from a slot shows as a platform allocation.
class MessageListPoolTest : public testing::Test
{
protected:
    test::CountingPlatform platform;
    MessageListPool pool{2, 4};
};
} // namespace

TEST_F(MessageListPoolTest, SharesCopiesFromSlotsAndRecyclesThem)
{
    const list a = makeList({1, 2, 3}), b = makeList({4}), c = makeList({5, 6, 7, 8});
    const long before = platform.allocations;

    auto first = pool.share(a);
    auto second = pool.share(b);
    const float* firstStorage = first->data();
    EXPECT_EQ(contents(*first), contents(a));
    EXPECT_EQ(contents(*second), contents(b));
    first.reset();
    auto again = pool.share(c);
    EXPECT_EQ(again->data(), firstStorage) << "the slot came back with its storage";
    EXPECT_EQ(contents(*again), contents(c));
    EXPECT_EQ(contents(*second), contents(b)) << "a list still held is left alone";
    EXPECT_EQ(platform.allocations, before);
}

TEST_F(MessageListPoolTest, FallsBackToAllocatingWhenNoSlotFits)
{
    const list tooLong = makeList({1, 2, 3, 4, 5}), a = makeList({1}), b = makeList({2}), c = makeList({3});
    const long before = platform.allocations;

    auto longList = pool.share(tooLong);
    EXPECT_EQ(platform.allocations - before, 1) << "longer than a slot: allocated";
    auto first = pool.share(a);
    auto second = pool.share(b);
    EXPECT_EQ(platform.allocations - before, 1);
    auto third = pool.share(c);
    EXPECT_EQ(platform.allocations - before, 2) << "every slot out: allocated";

    EXPECT_EQ(contents(*longList), contents(tooLong));
    EXPECT_EQ(contents(*first), contents(a));
    EXPECT_EQ(contents(*second), contents(b));
    EXPECT_EQ(contents(*third), contents(c));
}

TEST(MessageListPool, AWeakReferenceKeepsTheSlotOut)
{
    MessageListPool single(1, 4);
    auto held = single.share(makeList({1}));
    const float* storage = held->data();
    std::weak_ptr<list> watcher = held;
    held.reset();

    // The shared pointer's record still lives in the slot: it must not be handed out again yet.
    auto meanwhile = single.share(makeList({2}));
    EXPECT_NE(meanwhile->data(), storage);
    EXPECT_TRUE(watcher.expired());
    watcher.reset();
    meanwhile.reset();
    EXPECT_EQ(single.share(makeList({3}))->data(), storage);
}

TEST(MessageListPool, ListsOutliveThePool)
{
    test::CountingPlatform platform;
    std::shared_ptr<list> kept;
    {
        MessageListPool pool(3, 8);
        kept = pool.share(makeList({7, 8, 9}));
    }
    EXPECT_EQ(contents(*kept), (std::vector<float>{7, 8, 9}));
    EXPECT_GT(platform.outstanding(), 0);
    kept.reset(); // the last holder takes the pool's memory with it
    EXPECT_EQ(platform.outstanding(), 0);
}

namespace
{
std::unique_ptr<ParameterEventInterface> makeHandlerInterface(Engine& engine, EventHandler& handler)
{
    return engine.createParameterInterface(ParameterInterfaceAsyncMultiProducer, &handler);
}
} // namespace

// Handlers that keep hundreds of lists across engine calls, far more than the engine's slots, while
// the patch goes on sending: every kept list holds its values until its handler lets go.
TEST(EngineListMessages, HandlersKeepingListsSeeThemIntact)
{
    Engine engine;
    auto* patcher = new test::ListSendingPatcher();
    engine.setPatcher(PatcherPtr(patcher));
    engine.prepareToProcess(test::fixtureSampleRate, 256, false);
    test::ListCheckingHandler hoarder(300), brief(3);
    const auto hoarding = makeHandlerInterface(engine, hoarder);
    const auto keepingBriefly = makeHandlerInterface(engine, brief);

    test::runBlocks(engine, 500, 256);
    hoarder.releaseAll();
    brief.releaseAll();

    EXPECT_EQ(patcher->sent, 500 * static_cast<long>(test::ListSendingPatcher::listsPerBlock));
    for (const test::ListCheckingHandler* handler : {&hoarder, &brief})
    {
        EXPECT_EQ(handler->received, patcher->sent);
        EXPECT_EQ(handler->faults, 0);
    }
}

// A handler served on another thread: it drains, checks and keeps lists there and drops them there
// while the engine hands out and refills slots on this one (run under ThreadSanitizer as well).
TEST(EngineListMessages, HandlerOnAnotherThreadReleasesLists)
{
    Engine engine;
    auto* patcher = new test::ListSendingPatcher();
    engine.setPatcher(PatcherPtr(patcher));
    engine.prepareToProcess(test::fixtureSampleRate, 256, false);
    test::ListCheckingHandler remote(40, false), local(2);
    const auto remoteInterface = makeHandlerInterface(engine, remote);
    const auto localInterface = makeHandlerInterface(engine, local);

    std::atomic<bool> sending{true};
    std::thread drainer([&] {
        while (sending.load())
            remoteInterface->drainEvents();
        remoteInterface->drainEvents();
        remote.releaseAll();
    });
    test::runBlocks(engine, 3000, 256);
    sending = false;
    drainer.join();
    local.releaseAll();

    for (const test::ListCheckingHandler* handler : {&remote, &local})
    {
        EXPECT_EQ(handler->received, patcher->sent);
        EXPECT_EQ(handler->faults, 0);
    }
}
