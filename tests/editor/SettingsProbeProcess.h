#pragma once
// A second process for the settings tests: the editor test binary started again with the flag opens
// one real editor in the home it inherits, picks a skin and hints off in the options dialog, closes it
// and tells what it saw on standard output. A settings file that blocks the editor blocks only this
// process, which the test can kill.
#include "tests/editor/SettingsWriterProcess.h"

#include <iostream>
#include <optional>

namespace SettingsProbeProcess
{
constexpr const char* flag = "--settings-probe";

inline juce::StringArray arguments(int skinToPick)
{
    return {juce::File::getSpecialLocation(juce::File::currentExecutableFile).getFullPathName(), flag,
            juce::String(skinToPick)};
}

inline bool isProbe(int argc, char** argv)
{
    return argc == 3 && juce::String(argv[1]) == flag;
}

// What the probe saw: the skin and hint mode the editor opened with, and whether the editor reported a
// failed save after the skin was picked and after the dialog closed.
struct Report
{
    int skinRead = -1;
    bool hintsRead = false;
    bool reportedAfterPick = false;
    bool reportedAfterClose = false;
    juce::String reportTitle;
};

inline int run(int, char** argv)
{
    const int skin = juce::String(argv[2]).getIntValue();
    return runWithRealEditor([skin](QuillmoreAudioProcessorEditor& editor) {
        std::cout << "read " << editor.settings.readSkinId() << ' ' << editor.areHintsShown() << std::endl;

        auto& dialog = editor.optionsDialog;
        auto& failure = editor.presetErrorDialog;
        editor.showOptionsDialog();
        dialog.skinCombo.setSelectedId(skin, juce::sendNotificationSync);
        std::cout << "pick " << failure.isVisible() << ' ' << failure.title << std::endl;
        failure.okButton.onClick();

        dialog.hintsCombo.setSelectedId(2, juce::dontSendNotification);
        dialog.onClose();
        std::cout << "close " << failure.isVisible() << ' ' << failure.title << std::endl;
        return 0;
    });
}

// The report in the probe's output; nothing when a line is missing.
inline std::optional<Report> parse(const juce::String& output)
{
    Report report;
    int found = 0;
    for (const auto& line : juce::StringArray::fromLines(output))
    {
        auto words = juce::StringArray::fromTokens(line, " ", {});
        if (words.size() < 2)
            continue;
        const auto rest = line.fromFirstOccurrenceOf(" ", false, false).fromFirstOccurrenceOf(" ", false, false);
        if (words[0] == "read" && words.size() == 3)
        {
            report.skinRead = words[1].getIntValue();
            report.hintsRead = words[2] == "1";
            ++found;
        }
        else if (words[0] == "pick")
        {
            report.reportedAfterPick = words[1] == "1";
            ++found;
        }
        else if (words[0] == "close")
        {
            report.reportedAfterClose = words[1] == "1";
            report.reportTitle = rest;
            ++found;
        }
    }
    if (found != 3)
        return std::nullopt;
    return report;
}
} // namespace SettingsProbeProcess
