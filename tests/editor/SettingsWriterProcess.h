#pragma once
// A second process for the settings tests: the editor test binary started again with
// settingsWriterFlag runs one real editor that stores settings over and over, then exits.
#include <juce_core/juce_core.h>

namespace SettingsWriterProcess
{
constexpr const char* flag = "--settings-writer";

// The arguments that start a writer: wait until the start file exists, then make `rounds` stores of
// each of the two skins in turn, with the hints on or off.
juce::StringArray arguments(const juce::File& startFile, int rounds, int firstSkin, int secondSkin, bool hintsOn);

// Whether the process was started as a writer; if so, run sets the exit code (0 when every store
// was made).
bool isWriter(int argc, char** argv);
int run(int argc, char** argv);
} // namespace SettingsWriterProcess
