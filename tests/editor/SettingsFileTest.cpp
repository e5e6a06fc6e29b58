// The per-user settings file read and written for real, each test in its own home: where it lives,
// what hostile or broken contents read as, and that every store is on disk when it returns.
#include "editor/SettingsFile.h"
#include "plugin/UserPresetFolder.h"
#include "tests/editor/SettingsHome.h"

#include <climits>

TEST(SettingsFile, LivesInTheXdgConfigFolderNextToTheUserPresetsElseUnderDotConfig)
{
    SettingsHome home;
    const auto expected = home.settingsFile();
    {
        SettingsFile settings;
        EXPECT_EQ(settings.getFile(), expected);
        EXPECT_EQ(settings.getFile().getParentDirectory(), Quillmore::getUserPresetFolder().getParentDirectory());
        settings.storeSkinId(3);
    }
    EXPECT_EQ(home.storedValue("skinId"), juce::String("3"));
    EXPECT_FALSE(home.homeFolder().getChildFile("ZarnPeloq").exists()) << "nothing goes straight under the home folder";

    for (const std::optional<std::string>& unusable : {std::optional<std::string>(), std::optional<std::string>(""),
                                                       std::optional<std::string>("relative/config")})
    {
        const ScopedEnvironmentVariable xdg("XDG_CONFIG_HOME", unusable);
        EXPECT_EQ(SettingsFile().getFile(), home.homeFolder().getChildFile(".config/ZarnPeloq/Quillmore/Quillmore.settings"))
            << unusable.value_or("(unset)");
    }
}

TEST(SettingsFile, ReadsHostileAndBrokenContentsAsNumbersOrDefaults)
{
    const juce::String header = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    const auto text = [](const juce::String& t) { return juce::MemoryBlock(t.toRawUTF8(), t.getNumBytesAsUTF8()); };
    const auto document = [&header, &text](const juce::String& skinId, const juce::String& showHints) {
        return text(header + "<PROPERTIES><VALUE name=\"skinId\" val=\"" + skinId + "\"/><VALUE name=\"showHints\" val=\""
               + showHints + "\"/></PROPERTIES>");
    };
    juce::MemoryOutputStream binary;
    binary.write("PROP", 4);
    binary.writeInt(0x7fffffff);
    binary.writeString("skinId");
    binary.writeString("5");

    const struct
    {
        const char* what;
        juce::MemoryBlock contents;
        int skinId;
        bool showHints;
    } cases[] = {
        {"empty file", {}, 1, true},
        {"not XML", text("skinId=4\nshowHints=0\n"), 1, true},
        {"cut off", text(header + "<PROPERTIES><VALUE name=\"skinId\" val=\"4\""), 1, true},
        {"another root", text(header + "<SETTINGS><VALUE name=\"skinId\" val=\"4\"/></SETTINGS>"), 1, true},
        {"keys in another case",
         text(header + "<PROPERTIES><VALUE name=\"SKINID\" val=\"4\"/><VALUE name=\"ShowHints\" val=\"0\"/></PROPERTIES>"), 1, true},
        {"plain values", document("4", "0"), 4, false},
        {"blanks and a fraction", document(" 7.9 ", " 1 "), 7, true},
        {"NaN", document("nan", "NaN"), 0, true},
        {"words", document("three", "false"), 0, false},
        {"empty values", document("", ""), 0, true},
        {"beyond int", document("99999999999", "-99999999999"), INT_MAX, true},
        {"below int", document("-99999999999", "0"), INT_MIN, false},
        {"nested XML as a value", text(header + "<PROPERTIES><VALUE name=\"skinId\"><X a=\"1\"/></VALUE></PROPERTIES>"), 0, true},
        {"the binary format with a count far beyond its values", binary.getMemoryBlock(), 5, true},
    };

    for (const auto& c : cases)
    {
        SettingsHome home;
        home.writeSettings(c.contents);
        SettingsFile settings;
        EXPECT_EQ(settings.readSkinId(), c.skinId) << c.what;
        EXPECT_EQ(settings.readShowHints(), c.showHints) << c.what;
    }
}

TEST(SettingsFile, AStoreIsOnDiskWhenItReturnsAndKeepsTheOtherKey)
{
    SettingsHome home;
    home.writeSettings("3", "0");
    SettingsFile settings;
    settings.storeSkinId(6);
    EXPECT_EQ(home.storedValue("skinId"), juce::String("6"));
    EXPECT_EQ(home.storedValue("showHints"), juce::String("0"));

    settings.storeShowHints(true);
    EXPECT_EQ(home.storedValue("showHints"), juce::String("1"));

    SettingsFile another;
    EXPECT_EQ(another.readSkinId(), 6);
    EXPECT_TRUE(another.readShowHints());
}

TEST(SettingsFile, AnUnreadableFileGivesTheDefaultsAndTheFirstStoreReplacesIt)
{
    juce::MemoryBlock garbage(16 * 1024 * 1024);
    juce::Random(41).fillBitsRandomly(garbage.getData(), garbage.getSize());

    SettingsHome home;
    home.writeSettings(garbage);

    SettingsFile settings;
    EXPECT_EQ(settings.readSkinId(), 1);
    EXPECT_TRUE(settings.readShowHints());
    settings.storeSkinId(2);
    EXPECT_EQ(home.storedValue("skinId"), juce::String("2"));
    EXPECT_LT(home.settingsFile().getSize(), 1024);
}

// A failed save is not reported: the values stay in memory for the editor's life.
TEST(SettingsFile, AFolderInPlaceOfTheFileKeepsTheValuesInMemory)
{
    SettingsHome home;
    ASSERT_TRUE(home.settingsFile().createDirectory());
    SettingsFile settings;
    EXPECT_EQ(settings.readSkinId(), 1);
    settings.storeSkinId(4);
    settings.storeShowHints(false);
    EXPECT_EQ(settings.readSkinId(), 4);
    EXPECT_FALSE(settings.readShowHints());
    EXPECT_TRUE(home.settingsFile().isDirectory());
}
