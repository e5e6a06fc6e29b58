#include "runtime/EventQueue.h"
#include "runtime/EventVariant.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

using namespace PRT;

namespace
{
template <typename Queue>
class EventQueueTest : public testing::Test
{
protected:
    Queue queue;
};

using QueueKinds = testing::Types<SingleProducerEventQueue<EventVariant>, MultiProducerEventQueue<EventVariant>>;
TYPED_TEST_SUITE(EventQueueTest, QueueKinds);

EventVariant parameterEvent(ParameterIndex index, MillisecondTime time)
{
    return ParameterEvent{index, time, 0, nullptr, nullptr};
}
} // namespace

TYPED_TEST(EventQueueTest, BurstBeyondInitialRoomComesOutInOrder)
{
    for (ParameterIndex i = 0; i < 300; ++i)
        this->queue.enqueue(parameterEvent(i, i * 0.5));

    EventVariant out;
    for (ParameterIndex i = 0; i < 300; ++i)
    {
        ASSERT_TRUE(this->queue.tryDequeue(out));
        ASSERT_EQ(out.get<ParameterEvent>()->index, i);
        ASSERT_EQ(out.getTime(), i * 0.5);
    }
    EXPECT_FALSE(this->queue.tryDequeue(out));
}

TYPED_TEST(EventQueueTest, EmptyQueueLeavesTheTargetUntouched)
{
    EventVariant out = TempoEvent{3, 90};
    EXPECT_FALSE(this->queue.tryDequeue(out));
    ASSERT_EQ(out.getType(), EventType::Tempo);
    EXPECT_EQ(out.get<TempoEvent>()->tempo, 90.0f);
}

TYPED_TEST(EventQueueTest, DequeuedMessageOwnsItsList)
{
    auto values = std::make_shared<list>();
    values->push(1);
    this->queue.enqueue(MessageEvent{1, 2, 0, MessageEvent::List, 0, values, nullptr});
    EXPECT_EQ(values.use_count(), 2);

    EventVariant out;
    ASSERT_TRUE(this->queue.tryDequeue(out));
    EXPECT_EQ(values.use_count(), 2); // the queue's copy is gone, the received one holds the list
    values.reset();
    ASSERT_NE(out.get<MessageEvent>()->payload, nullptr);
    EXPECT_EQ((*out.get<MessageEvent>()->payload)[0], 1.0f);
}

TYPED_TEST(EventQueueTest, QueueReleasesWaitingEventsOnDestruction)
{
    auto values = std::make_shared<list>();
    {
        TypeParam queue;
        queue.enqueue(MessageEvent{1, 2, 0, MessageEvent::List, 0, values, nullptr});
        EXPECT_EQ(values.use_count(), 2);
    }
    EXPECT_EQ(values.use_count(), 1);
}

TYPED_TEST(EventQueueTest, ProducerAndConsumerThreads)
{
    constexpr ParameterIndex count = 5000;
    std::thread producer([this] {
        for (ParameterIndex i = 0; i < count; ++i)
            this->queue.enqueue(parameterEvent(i, 0));
    });
    EventVariant out;
    for (ParameterIndex expected = 0; expected < count;)
    {
        if (this->queue.tryDequeue(out))
        {
            ASSERT_EQ(out.get<ParameterEvent>()->index, expected);
            ++expected;
        }
    }
    producer.join();
    EXPECT_FALSE(this->queue.tryDequeue(out));
}

TEST(MultiProducerEventQueue, EachProducerKeepsItsOwnOrder)
{
    MultiProducerEventQueue<EventVariant> queue;
    constexpr int perThread = 100;
    auto produce = [&](ParameterIndex producerIndex) {
        for (int i = 0; i < perThread; ++i)
            queue.enqueue(ParameterEvent{producerIndex, static_cast<MillisecondTime>(i), 0, nullptr, nullptr});
    };
    std::thread first(produce, 0), second(produce, 1);
    first.join();
    second.join();

    std::vector<int> next(2, 0);
    EventVariant out;
    int total = 0;
    while (queue.tryDequeue(out))
    {
        const auto& e = *out.get<ParameterEvent>();
        ASSERT_LT(e.index, 2u);
        EXPECT_EQ(e.time, next[e.index]) << "producer " << e.index;
        ++next[e.index];
        ++total;
    }
    EXPECT_EQ(total, 2 * perThread);
}
