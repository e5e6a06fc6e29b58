#pragma once

#include "plugin/QuillmoreAudioProcessor.h"

#include <cstdlib>

// The one processor of a fuzz target, prepared for playing and kept for the whole run (making one
// costs far more than an input does); each input starts from the state it had when it was new, so that
// a finding replays alone as it happened. Its configuration, user presets included, lives in a folder
// of its own under the system's temporary folder, never in the real home; the folder goes when the
// process ends, after the processor and JUCE.
class FuzzedProcessor
{
public:
    // The processor, as it was when new; made on the first call.
    static QuillmoreAudioProcessor& startingFresh()
    {
        static FuzzedProcessor made;
        made.processor.setStateInformation(made.freshState.getData(), static_cast<int>(made.freshState.getSize()));
        return made.processor;
    }

private:
    FuzzedProcessor()
    {
        processor.setPlayConfigDetails(2, 2, 48000.0, 256);
        processor.prepareToPlay(48000.0, 256);
        processor.getStateInformation(freshState);
    }

    struct ConfigHome
    {
        ConfigHome()
        {
            folder.createDirectory();
            ::setenv("XDG_CONFIG_HOME", folder.getFullPathName().toRawUTF8(), 1);
        }
        ~ConfigHome() { folder.deleteRecursively(); }

        const juce::File folder = juce::File::getSpecialLocation(juce::File::tempDirectory)
                                      .getNonexistentChildFile("quillmore-fuzz-config", {});
    };

    const ConfigHome configHome;
    // The parameter state needs JUCE's message manager.
    const juce::ScopedJuceInitialiser_GUI juce;
    QuillmoreAudioProcessor processor;
    juce::MemoryBlock freshState;
};
