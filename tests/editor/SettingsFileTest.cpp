// The per-user settings file read and written for real, each test in its own home: where it lives,
// what hostile or broken contents and things that are no settings file read as, that every store is on
// disk when it returns, and that the framework's format stays as it was.
#include "editor/SettingsFile.h"
#include "plugin/UserPresetFolder.h"
#include "tests/editor/SettingsHome.h"
#include "tests/editor/SettingsProbeProcess.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <functional>
#include <utility>

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

// A failed save says so; the values stay in memory for the editor's life.
TEST(SettingsFile, AFolderInPlaceOfTheFileKeepsTheValuesInMemory)
{
    SettingsHome home;
    ASSERT_TRUE(home.settingsFile().createDirectory());
    SettingsFile settings;
    EXPECT_EQ(settings.readSkinId(), 1);
    EXPECT_FALSE(settings.storeSkinId(4));
    EXPECT_FALSE(settings.storeShowHints(false));
    EXPECT_FALSE(settings.storeShowHints(false)) << "a value stored again is still not on disk";
    EXPECT_EQ(settings.readSkinId(), 4);
    EXPECT_FALSE(settings.readShowHints());
    EXPECT_TRUE(home.settingsFile().isDirectory());
}

namespace
{
// Whether the path itself (not what a link points to) is a regular file.
bool isRegularFile(const juce::File& file)
{
    struct stat status {};
    return ::lstat(file.getFullPathName().toRawUTF8(), &status) == 0 && S_ISREG(status.st_mode);
}

const char* const settingsHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
} // namespace

// Whatever stands at the file's place, a real editor opens at once (in a process of its own, killed if
// it blocks), and the options dialog either replaces the thing with a settings file or reports that
// the choice could not be saved. The last row is an ordinary file, read and replaced as ever.
TEST(SettingsFile, AnythingInPlaceOfTheFileOpensTheEditorAtOnceAndTheDialogReplacesItOrSaysItFailed)
{
    enum class Save
    {
        replaces,
        fails
    };
    const struct
    {
        const char* what;
        std::function<void(const SettingsHome&)> put;
        int skinRead;
        bool hintsRead;
        Save save;
    } cases[] = {
        {"a FIFO", [](const SettingsHome& home) { ASSERT_EQ(::mkfifo(home.settingsFile().getFullPathName().toRawUTF8(), 0644), 0); },
         1, true, Save::replaces},
        {"a link to /dev/zero",
         [](const SettingsHome& home) { ASSERT_TRUE(juce::File("/dev/zero").createSymbolicLink(home.settingsFile(), false)); },
         1, true, Save::replaces},
        {"a link to /dev/urandom",
         [](const SettingsHome& home) { ASSERT_TRUE(juce::File("/dev/urandom").createSymbolicLink(home.settingsFile(), false)); },
         1, true, Save::replaces},
        {"a folder",
         [](const SettingsHome& home) {
             ASSERT_TRUE(home.settingsFile().createDirectory());
             ASSERT_TRUE(home.settingsFile().getChildFile("kept").replaceWithText("mine"));
         },
         1, true, Save::fails},
        {"a 100 MB file that starts as a settings file",
         [](const SettingsHome& home) {
             home.writeSettings("5", "0");
             ASSERT_EQ(::truncate(home.settingsFile().getFullPathName().toRawUTF8(), 100 << 20), 0);
         },
         1, true, Save::replaces},
        {"XML that the parser loops on",
         [](const SettingsHome& home) {
             home.writeSettings(juce::String(settingsHeader) + "<PROPERTIES><VALUE name=\"skinId\" val=\"5\"/><?x?>a</PROPERTIES>");
         },
         1, true, Save::replaces},
        {"a value that the parser loops on when it is written back",
         [](const SettingsHome& home) {
             home.writeSettings(juce::String(settingsHeader)
                                + "<PROPERTIES><VALUE name=\"skinId\" val=\"5\"/><VALUE name=\"note\" val=\"&lt;a&gt;&lt;?x?&gt;b&lt;/a&gt;\"/></PROPERTIES>");
         },
         5, true, Save::replaces},
        {"an ordinary settings file", [](const SettingsHome& home) { home.writeSettings("5", "0"); }, 5, false, Save::replaces},
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        SettingsHome home;
        ASSERT_TRUE(home.settingsFile().getParentDirectory().createDirectory());
        c.put(home);

        juce::ChildProcess probe;
        ASSERT_TRUE(probe.start(SettingsProbeProcess::arguments(3), juce::ChildProcess::wantStdOut));
        if (!probe.waitForProcessToFinish(30000))
        {
            probe.kill();
            ADD_FAILURE() << "the editor blocked";
            continue;
        }
        const auto output = probe.readAllProcessOutput();
        EXPECT_EQ(probe.getExitCode(), 0u);
        const auto report = SettingsProbeProcess::parse(output);
        ASSERT_TRUE(report.has_value()) << output;

        EXPECT_EQ(report->skinRead, c.skinRead);
        EXPECT_EQ(report->hintsRead, c.hintsRead);
        if (c.save == Save::replaces)
        {
            EXPECT_FALSE(report->reportedAfterPick);
            EXPECT_FALSE(report->reportedAfterClose);
            ASSERT_TRUE(isRegularFile(home.settingsFile()));
            EXPECT_LT(home.settingsFile().getSize(), 1024);
            EXPECT_EQ(home.storedValue("skinId"), juce::String("3"));
            EXPECT_EQ(home.storedValue("showHints"), juce::String("0"));
        }
        else
        {
            EXPECT_TRUE(report->reportedAfterPick);
            EXPECT_TRUE(report->reportedAfterClose);
            EXPECT_EQ(report->reportTitle, "Could not save settings");
            EXPECT_TRUE(home.settingsFile().isDirectory());
            EXPECT_EQ(home.settingsFile().getChildFile("kept").loadFileAsString(), "mine");
        }
    }
}

// The file is the framework's properties file: whatever form the framework wrote it in is read, and
// a save writes the very bytes the framework writes, keys it does not know included.
TEST(SettingsFile, ReadsEveryFormOfTheFrameworksPropertiesFileAndWritesItsXml)
{
    TemporaryFolder scratch;
    const auto frameworkFile = [&scratch](juce::PropertiesFile::StorageFormat format, const char* skinId) {
        juce::PropertiesFile::Options options;
        options.storageFormat = format;
        options.millisecondsBeforeSaving = -1;
        const auto file = scratch.path().getChildFile("framework-" + juce::String(static_cast<int>(format)));
        file.deleteFile();
        juce::PropertiesFile properties(file, options);
        properties.setValue("skinId", skinId);
        properties.setValue("showHints", false);
        properties.setValue("other", "<kept a=\"1\"/>");
        EXPECT_TRUE(properties.save());
        juce::MemoryBlock bytes;
        EXPECT_TRUE(file.loadFileAsData(bytes));
        return bytes;
    };

    const std::pair<juce::PropertiesFile::StorageFormat, const char*> formats[] = {
        {juce::PropertiesFile::storeAsXML, "XML"},
        {juce::PropertiesFile::storeAsBinary, "binary"},
        {juce::PropertiesFile::storeAsCompressedBinary, "compressed binary"}};
    for (const auto& [format, name] : formats)
    {
        SCOPED_TRACE(name);
        SettingsHome home;
        home.writeSettings(frameworkFile(format, "6"));
        SettingsFile settings;
        EXPECT_EQ(settings.readSkinId(), 6);
        EXPECT_FALSE(settings.readShowHints());

        ASSERT_TRUE(settings.storeSkinId(2));
        juce::MemoryBlock written;
        ASSERT_TRUE(home.settingsFile().loadFileAsData(written));
        EXPECT_EQ(written.toString(), frameworkFile(juce::PropertiesFile::storeAsXML, "2").toString());
    }
}
