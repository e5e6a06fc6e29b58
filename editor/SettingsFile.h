#pragma once

#include <juce_data_structures/juce_data_structures.h>
#include <juce_events/juce_events.h>

// The per-user settings file that every instance of the plug-in on the machine shares: the chosen
// skin ("skinId") and whether hints show ("showHints"), in the framework's properties-file format. It
// is read when first used; each editor then works on the values in memory. Every store is saved at
// once, and loading and saving hold the named inter-process lock, so that no process reads a
// half-written file. Message thread only.
//
// Anyone may have put anything at the file's place, so it is read as the user presets are: only a
// regular file of a settings file's size is read, without ever blocking (a FIFO or a device gives the
// defaults at once), and only XML that the framework's parser is sure to get through is parsed. A save
// writes a new file beside it and moves it over whatever is there; it fails on a folder.
class SettingsFile : private juce::PropertySet, private juce::Timer
{
public:
    static constexpr const char* skinIdKey = "skinId";
    static constexpr const char* showHintsKey = "showHints";
    static constexpr const char* lockName = "ZarnPeloq_Quillmore_Settings_Lock";
    static constexpr int defaultSkinId = 1;

    SettingsFile();
    // Saves a change still pending.
    ~SettingsFile() override;

    // The stored skin number; 1 when absent. Text that does not start with a whole number counts
    // as 0; numbers beyond the int range are clamped to it.
    int readSkinId();
    // Whether hints show: off for the number 0 or the word "false", on for any other number, and on
    // when absent or unreadable.
    bool readShowHints();

    // Each stores the value and saves at once. False when the file could not be written; the value
    // is kept in memory all the same, and the next store tries again.
    bool storeSkinId(int skinId);
    bool storeShowHints(bool show);

    // Where the file is: the program's per-user folder, file "Quillmore.settings".
    const juce::File& getFile() const { return file; }

private:
    void loadOnce();
    bool saveIfNeeded();
    bool save();
    void propertyChanged() override;
    void timerCallback() override;

    const juce::File file;
    juce::InterProcessLock lock{lockName};
    bool loaded = false;
    bool needsWriting = false;

    JUCE_DECLARE_NON_COPYABLE(SettingsFile)
};
