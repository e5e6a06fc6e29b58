#pragma once

#include "runtime/EngineInterface.h"
#include "runtime/EventHandler.h"
#include "runtime/EventVariant.h"
#include "runtime/NullPatcher.h"
#include "runtime/ParameterEventInterface.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace PRT::test
{

// Sends, every block, the kinds of list that the plug-in's patch sends in one engine call: one-value
// monitor reports and frame markers, a 256-value band list and a 128-value scope list. Each list counts
// up from a first value of its own, so whoever holds it can tell it from any other. Sending allocates
// nothing of its own.
class ListSendingPatcher : public NullPatcher
{
public:
    static constexpr size_t listLengths[] = {1, 256, 128, 1};
    static constexpr size_t listsPerBlock = sizeof(listLengths) / sizeof(listLengths[0]);
    static constexpr MessageTag tag = 0x89256700;

    ListSendingPatcher() { outgoing.reserve(256); }

    void process(const SampleValue* const* inputs, Index numInputs, SampleValue* const* outputs, Index numOutputs,
                 Index sampleFrames) override
    {
        NullPatcher::process(inputs, numInputs, outputs, numOutputs, sampleFrames);
        for (size_t length : listLengths)
        {
            outgoing.clear();
            const float first = static_cast<float>(sent++ * 512);
            for (size_t i = 0; i < length; ++i)
                outgoing.push(first + static_cast<float>(i));
            getEngine()->sendListMessage(tag, 0, outgoing, getEngine()->getCurrentTime());
        }
    }

    long sent = 0;

private:
    list outgoing;
};

// A list as it arrived, to tell later whether it still holds what it held then.
struct ReceivedList
{
    explicit ReceivedList(const MessageEvent& event)
        : values(event.payload), first(values && !values->empty() ? (*values)[0] : -1.0f),
          length(values ? values->size() : 0)
    {
    }

    bool intact() const
    {
        if (!values || values->size() != length || length == 0)
            return false;
        for (size_t i = 0; i < length; ++i)
            if ((*values)[i] != first + static_cast<float>(i))
                return false;
        return true;
    }

    std::shared_ptr<list> values;
    float first;
    size_t length;
};

// Takes the lists of a ListSendingPatcher, counts a fault for each that arrives out of order or
// changed, and keeps the last few it received, checking each again when it lets go of it. It drains
// its interface when told of events, unless another thread does. Keeping nothing, it allocates nothing.
class ListCheckingHandler : public EventHandler
{
public:
    explicit ListCheckingHandler(size_t keep = 0, bool drainWhenTold = true)
        : kept(keep, ReceivedList(MessageEvent())), drainsWhenTold(drainWhenTold)
    {
    }

    void eventsAvailable() override
    {
        if (drainsWhenTold)
            getLinkedInterface()->drainEvents();
    }

    void handleMessageEvent(const MessageEvent& event) override
    {
        ReceivedList arrived(event);
        const long serial = static_cast<long>(arrived.first) / 512;
        const bool inOrder = received == 0 || serial == lastSerial + 1;
        if (!inOrder || arrived.length != ListSendingPatcher::listLengths[serial % ListSendingPatcher::listsPerBlock] ||
            !arrived.intact())
            ++faults;
        lastSerial = serial;
        ++received;
        if (!kept.empty())
            keep(kept[static_cast<size_t>(received) % kept.size()], std::move(arrived));
    }

    // Checks and lets go of every list still kept.
    void releaseAll()
    {
        for (ReceivedList& held : kept)
            keep(held, ReceivedList(MessageEvent()));
    }

    long received = 0;
    long faults = 0;

private:
    void keep(ReceivedList& place, ReceivedList&& arrived)
    {
        if (place.values && !place.intact())
            ++faults;
        place = std::move(arrived);
    }

    std::vector<ReceivedList> kept;
    bool drainsWhenTold;
    long lastSerial = -1;
};

} // namespace PRT::test
