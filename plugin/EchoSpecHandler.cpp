#include "plugin/EchoSpecHandler.h"

#include "runtime/TagHash.h"

#include <cstring>

namespace
{
constexpr const char* echoSpectrumTagText = "EchoSpec";
constexpr PRT::MessageTag echoSpectrumTag = PRT::hashString(echoSpectrumTagText);
} // namespace

void QuillmoreAudioProcessor::EchoSpecHandler::eventsAvailable()
{
    if (auto* source = getLinkedInterface())
        source->drainEvents();
}

void QuillmoreAudioProcessor::EchoSpecHandler::handleMessageEvent(const PRT::MessageEvent& event)
{
    if (event.kind != PRT::MessageEvent::List || event.payload == nullptr || !isEchoSpectrumTag(event.tag))
        return;

    const auto& values = *event.payload;
    for (size_t i = 0; i < values.size(); ++i)
        take(values.data()[i]);
}

bool QuillmoreAudioProcessor::EchoSpecHandler::isEchoSpectrumTag(PRT::MessageTag tag)
{
    if (tag != echoSpectrumTag)
        return false;
    if (!hasLastTag || tag != lastTag)
    {
        const char* text = owner.prtObject.resolveTag(tag);
        lastTag = tag;
        lastTagIsEchoSpectrum = text != nullptr && std::strcmp(text, echoSpectrumTagText) == 0;
        hasLastTag = true;
    }
    return lastTagIsEchoSpectrum;
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
