#include "editor/SettingsFile.h"

#include "plugin/QuillmoreUserFolder.h"

#include <limits>
#include <optional>

namespace
{
constexpr const char* applicationName = "Quillmore";
constexpr const char* fileSuffix = "settings";
constexpr int pendingSaveDelayMs = 3000;

// A leading whole number (after blanks, with an optional sign), clamped to the int range; nothing
// when the text does not start with one. A file edited by hand may hold anything.
std::optional<int> leadingWholeNumber(const juce::String& text)
{
    auto p = text.getCharPointer();
    while (p.isWhitespace())
        ++p;
    bool negative = false;
    if (*p == '-' || *p == '+')
        negative = (p.getAndAdvance() == '-');
    if (!p.isDigit())
        return std::nullopt;

    constexpr juce::int64 limit = juce::int64(std::numeric_limits<int>::max()) + 1;
    juce::int64 magnitude = 0;
    while (p.isDigit())
    {
        magnitude = std::min(magnitude * 10 + (p.getAndAdvance() - '0'), limit);
    }
    const auto value = negative ? -magnitude : magnitude;
    return static_cast<int>(juce::jlimit<juce::int64>(std::numeric_limits<int>::min(),
                                                      std::numeric_limits<int>::max(), value));
}
} // namespace

SettingsFile::SettingsFile()
{
    juce::PropertiesFile::Options options;
    options.applicationName = applicationName;
    options.filenameSuffix = fileSuffix;
#if JUCE_LINUX || JUCE_BSD
    // The framework would put the folder straight under the home folder; the XDG configuration folder
    // is where it belongs, next to the user presets. An absolute folder name takes its place.
    options.folderName = Quillmore::getQuillmoreUserFolder().getFullPathName();
#else
    options.folderName = "ZarnPeloq/Quillmore";
#endif
    options.commonToAllUsers = false;
    options.ignoreCaseOfKeyNames = false;
    options.storageFormat = juce::PropertiesFile::storeAsXML;
    options.millisecondsBeforeSaving = pendingSaveDelayMs;
    options.processLock = &lock;
    properties.setStorageParameters(options);
}

juce::PropertiesFile& SettingsFile::userSettings()
{
    auto* settings = properties.getUserSettings();
    jassert(settings != nullptr);
    return *settings;
}

int SettingsFile::readSkinId()
{
    auto& settings = userSettings();
    if (!settings.containsKey(skinIdKey))
        return defaultSkinId;
    return leadingWholeNumber(settings.getValue(skinIdKey)).value_or(0);
}

bool SettingsFile::readShowHints()
{
    auto& settings = userSettings();
    if (!settings.containsKey(showHintsKey))
        return true;
    const auto text = settings.getValue(showHintsKey).trim();
    if (const auto number = leadingWholeNumber(text))
        return *number != 0;
    return !text.equalsIgnoreCase("false");
}

void SettingsFile::storeSkinId(int skinId)
{
    auto& settings = userSettings();
    settings.setValue(skinIdKey, skinId);
    settings.saveIfNeeded();
}

void SettingsFile::storeShowHints(bool show)
{
    auto& settings = userSettings();
    settings.setValue(showHintsKey, show);
    settings.saveIfNeeded();
}

juce::File SettingsFile::getFile() const
{
    return properties.getStorageParameters().getDefaultFile();
}
