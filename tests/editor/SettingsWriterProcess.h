#pragma once
// A second process for the settings tests: the editor test binary started again with
// the flag runs one real editor that stores settings over and over, then exits.
#include "editor/QuillmoreAudioProcessorEditor.h"
#include "plugin/QuillmoreAudioProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// Runs body with one real editor of a fresh processor, the framework's GUI set up for it; its result
// is the exit code, 2 when the editor is not the program's.
template <typename Body>
int runWithRealEditor(Body&& body)
{
    const juce::ScopedJuceInitialiser_GUI gui;
    QuillmoreAudioProcessor processor;
    std::unique_ptr<juce::AudioProcessorEditor> created(processor.createEditor());
    auto* editor = dynamic_cast<QuillmoreAudioProcessorEditor*>(created.get());
    return editor == nullptr ? 2 : body(*editor);
}

namespace SettingsWriterProcess
{
constexpr const char* flag = "--settings-writer";

// The arguments that start a writer: wait until the start file exists, then make `rounds` stores of
// each of the two skins in turn, with the hints on or off.
inline juce::StringArray arguments(const juce::File& startFile, int rounds, int firstSkin, int secondSkin, bool hintsOn)
{
    return {juce::File::getSpecialLocation(juce::File::currentExecutableFile).getFullPathName(),
            flag,
            startFile.getFullPathName(),
            juce::String(rounds),
            juce::String(firstSkin),
            juce::String(secondSkin),
            hintsOn ? "1" : "0"};
}

// Whether the process was started as a writer.
inline bool isWriter(int argc, char** argv)
{
    return argc == 7 && juce::String(argv[1]) == flag;
}

// Runs the writer; the exit code is 0 when every store was made.
inline int run(int, char** argv)
{
    const juce::File startFile{juce::String::fromUTF8(argv[2])};
    const int rounds = juce::String(argv[3]).getIntValue();
    const int skins[] = {juce::String(argv[4]).getIntValue(), juce::String(argv[5]).getIntValue()};
    const bool hintsOn = juce::String(argv[6]) == "1";

    return runWithRealEditor([&](QuillmoreAudioProcessorEditor& editor) {
        // Both writers are ready before either writes, so that their saves overlap.
        for (int waited = 0; !startFile.exists(); ++waited)
        {
            if (waited > 60000)
                return 3;
            juce::Thread::sleep(1);
        }

        auto& dialog = editor.optionsDialog;
        dialog.hintsCombo.setSelectedId(hintsOn ? 1 : 2, juce::dontSendNotification);
        for (int round = 0; round < rounds; ++round)
        {
            dialog.onSkinChanged(skins[round % 2]);
            dialog.onClose();
        }
        return 0;
    });
}
} // namespace SettingsWriterProcess
