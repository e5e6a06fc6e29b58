#pragma once

#include "patch/core/MessageTags.h"
#include "plugin/QuillmoreAudioProcessor.h"
#include "runtime/EventHandler.h"

#include <array>

// The handler of the processor's own parameter interface: the patch's messages arrive here on the
// audio thread, at the end of each engine block. Out of the echo analyser's "EchoSpec" lists, read as
// one stream of values, it assembles frames of 256 values, each begun by the marker -2048, and hands
// every complete frame to the processor's double buffer. A frame may be spread over any number of
// lists; a marker restarts the frame, and values outside a frame are dropped. Nothing here allocates
// or locks.
class QuillmoreAudioProcessor::EchoSpecHandler : public PRT::EventHandler
{
public:
    static constexpr float frameStartMarker = -2048.0f;

    explicit EchoSpecHandler(QuillmoreAudioProcessor& owner) : owner(owner) {}

    // Takes the queued events at once, so the queue never grows and they arrive on the audio thread.
    void eventsAvailable() override;
    void handleMessageEvent(const PRT::MessageEvent& event) override;
    // Only the spectrum lists: the patch's other reports are then never queued, nor collected.
    bool takesMessage(PRT::MessageTag tag) override { return tag == PRT::tags::echoSpec.hash; }

private:
    void take(float value);

    QuillmoreAudioProcessor& owner;
    bool inFrame = false;
    int frameCount = 0;
    std::array<float, spectrumFrameSize> frameValues{};
};
