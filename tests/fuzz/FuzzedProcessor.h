#pragma once

#include "plugin/QuillmoreAudioProcessor.h"

#include <cstdlib>

// The one processor of a fuzz target, prepared for playing and kept for the whole run (making one
// costs far more than an input does). Its configuration, user presets included, lives in a folder
// of its own under the system's temporary folder, never in the real home; the folder goes when the
// process ends, after the processor and JUCE.
namespace FuzzedProcessor
{
class Environment
{
public:
    Environment()
    {
        processor.setPlayConfigDetails(2, 2, 48000.0, 256);
        processor.prepareToPlay(48000.0, 256);
    }

private:
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

public:
    QuillmoreAudioProcessor processor;
};

inline QuillmoreAudioProcessor& get()
{
    static Environment environment;
    return environment.processor;
}
} // namespace FuzzedProcessor
