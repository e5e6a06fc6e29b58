// Every processor scans the user preset folder when it is made: the whole test process looks for it in
// a fresh temporary folder, never in the real home. The parameter state needs JUCE's message manager.
#include "tests/plugin/TemporaryFolder.h"

#include <juce_events/juce_events.h>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    const TemporaryFolder configHome;
    ::setenv("XDG_CONFIG_HOME", configHome.path().getFullPathName().toRawUTF8(), 1);
    const juce::ScopedJuceInitialiser_GUI juce;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
