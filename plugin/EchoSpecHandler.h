#pragma once

#include "plugin/QuillmoreAudioProcessor.h"
#include "runtime/EventHandler.h"

// The handler of the processor's own parameter interface: the patch's messages (among them the echo
// analyser's "EchoSpec" lists) arrive here on the audio thread, at the end of each engine block.
class QuillmoreAudioProcessor::EchoSpecHandler : public PRT::EventHandler
{
public:
    explicit EchoSpecHandler(QuillmoreAudioProcessor& owner) : owner(owner) {}

    // Takes the queued events at once, so the queue never grows and they arrive on the audio thread.
    void eventsAvailable() override;

private:
    [[maybe_unused]] QuillmoreAudioProcessor& owner;
};
