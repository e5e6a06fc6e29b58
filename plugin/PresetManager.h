#pragma once

#include "plugin/UserPresetEntry.h"
#include "plugin/UserPresetFolder.h"

#include <juce_audio_processors/juce_audio_processors.h>

// The user's presets: one XML file per preset in one folder, and the list of them in memory with the
// current one. Everything here runs on the message thread; the parameter state is copied and replaced
// under its own lock.
//
// Operations that touch the folder return whether they worked. When one fails, the list, the
// entries and the files stay as they were.
class PresetManager
{
public:
    // Scans folder at once; the folder is not created until something is written to it.
    explicit PresetManager(juce::AudioProcessorValueTreeState& parameters,
                           juce::File folder = Quillmore::getUserPresetFolder());

    const juce::File& getFolder() const { return folder; }
    const juce::Array<UserPresetEntry>& getEntries() const { return entries; }
    int getCurrentIndex() const { return currentIndex; }

    // Rebuilds the list from the preset files in the folder, sorted by name ignoring case. Files that
    // are not XML (or that JUCE's parser might not get through, parseUntrustedXml), whose root is not a
    // "Parameters" tree, or that give a parameter a value that is not a finite number, are left out.
    void rescanUserPresets();

    // Replaces the parameter state with the entry's tree, stripped of unknown parameters.
    bool loadPreset(int index);

    // Writes the current parameters to a new file named after the trimmed name ("Preset n" when it
    // is blank; N(2).xml ... when N.xml is taken), appends the preset and makes it current.
    bool saveCurrentAsPreset(const juce::String& name);

    // Writes the current parameters into the entry and its existing file. A file deleted behind the
    // store's back is not created again: that counts as a failure.
    bool overwritePreset(int index);

    // Renames the entry and moves its file, unchanged, to one named after the trimmed new name (an
    // entry whose file is gone gets it written there). A name whose file is the entry's own file keeps
    // the file where it is.
    bool renamePreset(int index, const juce::String& newName);

    // Removes the entry and deletes its file.
    bool deletePreset(int index);

private:
    bool isValidIndex(int index) const { return index >= 0 && index < entries.size(); }
    juce::ValueTree copyStrippedState() const;

    juce::AudioProcessorValueTreeState& parameters;
    const juce::File folder;
    juce::Array<UserPresetEntry> entries;
    int currentIndex = -1;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(PresetManager)
};
