#include "plugin/EchoSpecHandler.h"

void QuillmoreAudioProcessor::EchoSpecHandler::eventsAvailable()
{
    if (auto* source = getLinkedInterface())
        source->drainEvents();
}

void QuillmoreAudioProcessor::EchoSpecHandler::handleMessageEvent(const PRT::MessageEvent& event)
{
    if (event.kind != PRT::MessageEvent::List || event.payload == nullptr || !takesMessage(event.tag))
        return;

    const auto& values = *event.payload;
    for (size_t i = 0; i < values.size(); ++i)
        take(values.data()[i]);
}

void QuillmoreAudioProcessor::EchoSpecHandler::take(float value)
{
    if (value == frameStartMarker)
    {
        inFrame = true;
        frameCount = 0;
        return;
    }
    if (!inFrame)
        return;

    frameValues[static_cast<size_t>(frameCount++)] = value;
    if (frameCount == spectrumFrameSize)
    {
        owner.writeSpectrumFrame(frameValues.data());
        inFrame = false;
        frameCount = 0;
    }
}
