// The plug-in's editor opened through VST3 under an X server, as the host tool's snapshot shows it.
#include "tests/e2e/BuiltBundle.h"
#include "tools/host/EditorSnapshot.h"

#include <gtest/gtest.h>

#include <set>

using namespace Quillmore::Host;

TEST(EditorSnapshot, ShowsTheEditorPaintedByThePluginAndWritesAPng)
{
    ASSERT_TRUE(juce::SystemStats::getEnvironmentVariable("DISPLAY", {}).isNotEmpty())
        << "this test needs an X display: run it under xvfb-run -a (tools/run-all-tests.sh does)";

    auto plugin = loadBuiltBundle();
    const auto image = snapshotEditor(*plugin.instance);
    ASSERT_TRUE(image.isValid());
    EXPECT_GE(image.getWidth(), 100);
    EXPECT_GE(image.getHeight(), 50);

    // The host's frame around the plug-in's window is black: a picture that is mostly something else
    // shows the plug-in's own painting. Once the plug-in has parameters of its own, its editor draws a
    // control for each, and so many colours.
    std::set<juce::uint32> colours;
    int black = 0, pixels = 0;
    for (int y = 0; y < image.getHeight(); y += 2)
        for (int x = 0; x < image.getWidth(); x += 2, ++pixels)
        {
            const auto colour = image.getPixelAt(x, y);
            colours.insert(colour.getARGB());
            black += colour.getARGB() == 0xff000000u ? 1 : 0;
        }
    EXPECT_LT(black, pixels / 10) << "the plug-in did not paint its editor";
    const bool ownParameters = plugin.instance->getParameters().size() > 1; // besides the framework's Bypass
    if (ownParameters)
    {
        EXPECT_GE(colours.size(), 8u) << "the editor shows no controls";
    }

    const juce::TemporaryFile png(".png");
    writePng(image, png.getFile());
    const auto readBack = juce::ImageFileFormat::loadFrom(png.getFile());
    ASSERT_TRUE(readBack.isValid());
    EXPECT_EQ(readBack.getBounds(), image.getBounds());
    EXPECT_EQ(readBack.getPixelAt(image.getWidth() / 2, image.getHeight() / 2).getARGB(),
              image.getPixelAt(image.getWidth() / 2, image.getHeight() / 2).getARGB());
}
