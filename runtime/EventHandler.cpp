#include "runtime/EventHandler.h"

namespace PRT
{
namespace
{
struct HandlerDelivery
{
    EventHandler& handler;

    void operator()(const ParameterEvent& e) const { handler.handleParameterEvent(e); }
    void operator()(const MidiEvent& e) const { handler.handleMidiEvent(e); }
    void operator()(const MessageEvent& e) const { handler.handleMessageEvent(e); }
    void operator()(const PresetEvent& e) const { handler.handlePresetEvent(e); }
    void operator()(const TempoEvent& e) const { handler.handleTempoEvent(e); }
    void operator()(const TransportEvent& e) const { handler.handleTransportEvent(e); }
    void operator()(const BeatTimeEvent& e) const { handler.handleBeatTimeEvent(e); }
    void operator()(const TimeSignatureEvent& e) const { handler.handleTimeSignatureEvent(e); }
    void operator()(const StartupEvent& e) const { handler.handleStartupEvent(e); }
    void operator()(const BBUEvent& e) const { handler.handleBBUEvent(e); }

    template <typename Unhandled>
    void operator()(const Unhandled&) const
    {
    }
};
} // namespace

void deliverToHandler(EventHandler& handler, const EventVariant& event)
{
    event.visit(HandlerDelivery{handler});
}

} // namespace PRT
