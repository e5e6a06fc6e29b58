#pragma once

#include <juce_data_structures/juce_data_structures.h>

// The per-user settings file that every instance of the plug-in on the machine shares: the chosen
// skin ("skinId") and whether hints show ("showHints"). It is read when first used; each editor then
// works on the values in memory. Every store is saved at once, and loading and saving hold the named
// inter-process lock, so that no process reads a half-written file. Message thread only.
class SettingsFile
{
public:
    static constexpr const char* skinIdKey = "skinId";
    static constexpr const char* showHintsKey = "showHints";
    static constexpr const char* lockName = "ZarnPeloq_Quillmore_Settings_Lock";
    static constexpr int defaultSkinId = 1;

    SettingsFile();

    // The stored skin number; 1 when absent. Text that does not start with a whole number counts
    // as 0; numbers beyond the int range are clamped to it.
    int readSkinId();
    // Whether hints show: off for the number 0 or the word "false", on for any other number, and on
    // when absent or unreadable.
    bool readShowHints();

    void storeSkinId(int skinId);
    void storeShowHints(bool show);

    // Where the file is: the program's per-user folder, file "Quillmore.settings".
    juce::File getFile() const;

    juce::ApplicationProperties& getProperties() { return properties; }

private:
    juce::PropertiesFile& userSettings();

    juce::InterProcessLock lock{lockName};
    juce::ApplicationProperties properties;

    JUCE_DECLARE_NON_COPYABLE(SettingsFile)
};
