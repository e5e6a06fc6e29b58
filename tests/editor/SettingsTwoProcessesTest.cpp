// Two real editors in two processes storing their settings at once, as two hosts (or two sandboxed
// plug-in processes) on one machine do: the file stays whole throughout and at the end.
#include "editor/SettingsFile.h"
#include "tests/editor/SettingsHome.h"
#include "tests/editor/SettingsWriterProcess.h"

#include <set>

TEST(SettingsFile, TwoEditorsInTwoProcessesStoringAtOnceLeaveAWholeFile)
{
    SettingsHome home; // the writers inherit its folders
    TemporaryFolder signals;
    const auto startFile = signals.path().getChildFile("start");
    constexpr int rounds = 300;

    juce::ChildProcess first, second;
    ASSERT_TRUE(first.start(SettingsWriterProcess::arguments(startFile, rounds, 2, 3, true)));
    ASSERT_TRUE(second.start(SettingsWriterProcess::arguments(startFile, rounds, 5, 6, false)));
    ASSERT_TRUE(startFile.create().wasOk());

    // Meanwhile this process reads through settings objects of its own, which load under the lock:
    // once a writer's skin has been read, a half-written file would read as the default skin again.
    const std::set<int> written{2, 3, 5, 6};
    bool seenAWrite = false;
    int reads = 0;
    while (first.isRunning() || second.isRunning())
    {
        SettingsFile reader;
        const int skin = reader.readSkinId();
        if (written.count(skin) != 0)
            seenAWrite = true;
        else
            ASSERT_FALSE(seenAWrite) << "read skin " << skin << " after " << reads << " reads";
        ++reads;
    }

    for (auto* writer : {&first, &second})
    {
        ASSERT_TRUE(writer->waitForProcessToFinish(120000));
        EXPECT_EQ(writer->getExitCode(), 0u) << writer->readAllProcessOutput();
    }

    const auto skin = home.storedValue("skinId");
    const auto hints = home.storedValue("showHints");
    ASSERT_TRUE(skin.has_value() && hints.has_value()) << home.settingsFile().loadFileAsString();
    EXPECT_EQ(written.count(skin->getIntValue()), 1u) << *skin;
    EXPECT_TRUE(*hints == "0" || *hints == "1") << *hints;
    SettingsFile reader;
    EXPECT_EQ(reader.readSkinId(), skin->getIntValue());
}
