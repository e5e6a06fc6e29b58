#pragma once

#include "patch/core/PatchLatency.h"
#include "patch/core/SignalBuffer.h"

namespace PRT
{

// The signals of one channel through the top level's block graph, named after what they carry.
// headsFeedback and previousInput outlive the block: the Heads chain's input and the bypass path's
// source for the next block; so does the last sample of each of the two one-sample delays.
struct QuillmoreChannelSignals
{
    explicit QuillmoreChannelSignals(GeneratedPatcher& patcher) : owner(patcher) {}

    GeneratedPatcher& owner;

    SignalBuffer scaledInput{owner};   // the input × 0.8 × input gain
    SignalBuffer previousInput{owner}; // the raw input of the previous block
    SignalBuffer dry{owner};           // the raw input a block and a sample ago × bypass weight
    OneSampleDelay dryDelay;           // its sample beyond the block

    SignalBuffer hiss{owner};
    SignalBuffer gatedHiss{owner};
    SignalBuffer duckedHiss{owner};

    SignalBuffer headsFeedback{owner}; // a copy kept from the previous block
    SignalBuffer warbled{owner};
    SignalBuffer stopped{owner};
    SignalBuffer filtered{owner};
    SignalBuffer heads{owner};    // the end of the Heads chain
    SignalBuffer headsSkipped{owner}; // the chain's input a sample late, in step with its output
    OneSampleDelay headsSkippedDelay;
    SignalBuffer headsMix{owner}; // the chain crossfaded with its skipped input under HeadsOn

    SignalBuffer sectionInput{owner}; // what enters the Space section
    SignalBuffer echoFeed{owner};
    SignalBuffer echo{owner};
    SignalBuffer echoMix{owner};
    SignalBuffer echoToSprings{owner};
    SignalBuffer springFeed{owner};
    SignalBuffer highPassed{owner};
    SignalBuffer springA{owner};
    SignalBuffer springB{owner};
    SignalBuffer springs{owner}; // the Space section's mix

    SignalBuffer mixed{owner}; // the mix after both sections, then the output amplifier's output
};

} // namespace PRT
