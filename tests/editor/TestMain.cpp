// The editor tests run on the message thread with the framework's GUI set up, under an X server
// (xvfb-run). Every processor scans the user preset folder: the process looks for it in a fresh
// temporary folder, never in the real home.
#include "tests/editor/SettingsProbeProcess.h"
#include "tests/editor/SettingsWriterProcess.h"
#include "tests/editor/XlibErrors.h"
#include "tests/plugin/TemporaryFolder.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    ignoreXlibErrors();
    if (SettingsWriterProcess::isWriter(argc, argv))
        return SettingsWriterProcess::run(argc, argv);
    if (SettingsProbeProcess::isProbe(argc, argv))
        return SettingsProbeProcess::run(argc, argv);

    const TemporaryFolder configHome;
    ::setenv("XDG_CONFIG_HOME", configHome.path().getFullPathName().toRawUTF8(), 1);
    const juce::ScopedJuceInitialiser_GUI juce;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
