#include "tools/host/HostEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
// Every plug-in instance scans the user preset folder: the test process keeps its configuration in a
// fresh folder of its own, never in the real home.
class TemporaryConfigHome
{
public:
    TemporaryConfigHome()
        : folder(juce::File::getSpecialLocation(juce::File::tempDirectory).getNonexistentChildFile("quillmore-e2e-config", {}))
    {
        folder.createDirectory();
        ::setenv("XDG_CONFIG_HOME", folder.getFullPathName().toRawUTF8(), 1);
    }
    ~TemporaryConfigHome() { folder.deleteRecursively(); }

private:
    const juce::File folder;
};
} // namespace

// The tests run on the message thread of a host environment, as plug-ins must be driven from it.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    const TemporaryConfigHome configHome;
    Quillmore::Host::HostEnvironment environment;
    return RUN_ALL_TESTS();
}
