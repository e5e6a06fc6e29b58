#include "plugin/EchoSpecHandler.h"

void QuillmoreAudioProcessor::EchoSpecHandler::eventsAvailable()
{
    if (auto* source = getLinkedInterface())
        source->drainEvents();
}
