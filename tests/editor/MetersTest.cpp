// The stereo LED meter, the warble meters and the warble history, probed pixel by pixel.
#include "editor/HistoryGraph.h"
#include "editor/StereoLedVUMeter.h"
#include "editor/UiLookAndFeel.h"
#include "editor/VerticalMeter.h"
#include "tests/editor/EditorTestBed.h"

#include <gtest/gtest.h>

#include <limits>

using namespace EditorTestBed;

namespace
{
const float notANumber = std::numeric_limits<float>::quiet_NaN();
const float infinity = std::numeric_limits<float>::infinity();

// A 130 x 26 meter: units of 2 pixels. Segment i spans x = 2 + 8i to 8 + 8i; the left row y = 2 to 12,
// the right row 14 to 24; the clip lights x = 122 to 128.
constexpr int segmentX(int i)
{
    return 5 + 8 * i;
}
constexpr int leftRowY = 7, rightRowY = 19, clipX = 125;

int litSegments(const juce::Image& image, int rowY)
{
    int lit = 0;
    for (int i = 0; i < StereoLedVUMeter::segments; ++i)
        lit += pixel(image, segmentX(i), rowY) != juce::Colour(StereoLedVUMeter::unlitColour) ? 1 : 0;
    return lit;
}

// The row of pixels the white (left) line passes through in one column: the reddest, as the right
// line is drawn in green here.
int lineY(const juce::Image& image, int x)
{
    int best = 0, reddest = -1;
    for (int y = 0; y < image.getHeight(); ++y)
        if (image.getPixelAt(x, y).getRed() > reddest)
        {
            reddest = image.getPixelAt(x, y).getRed();
            best = y;
        }
    return best;
}
} // namespace

TEST(StereoLedVUMeter, LightsTheSegmentsUpToTheLevelAndTheClipLights)
{
    UiLookAndFeel lookAndFeel;
    lookAndFeel.setColour(UiLookAndFeel::displayBackgroundColourId, juce::Colour(0xff191919));
    lookAndFeel.setColour(UiLookAndFeel::ledLowColourId, juce::Colour(0xff1500dc));
    lookAndFeel.setColour(UiLookAndFeel::ledHighColourId, juce::Colour(0xffea00a1));
    StereoLedVUMeter meter;
    meter.setLookAndFeel(&lookAndFeel);
    meter.setColourIds(UiLookAndFeel::displayBackgroundColourId, UiLookAndFeel::ledLowColourId,
                       UiLookAndFeel::ledHighColourId, UiLookAndFeel::overdriveColourId);
    meter.setSize(130, 26);

    struct Case
    {
        float level;
        int lit;
    };
    const Case cases[] = {{0.0f, 1}, {0.06f, 1}, {0.0667f, 2}, {0.5f, 8}, {0.93f, 14}, {0.94f, 15}, {1.0f, 15},
                          {notANumber, 1},  {-3.0f, 1}, {infinity, 15},     {7.0f, 15}};
    for (const auto& c : cases)
    {
        meter.setLevels(c.level, 0.5f);
        const auto image = render(meter);
        EXPECT_EQ(litSegments(image, leftRowY), c.lit) << "level " << c.level;
        EXPECT_EQ(litSegments(image, rightRowY), 8);
    }

    meter.setLevels(0.5f, 1.0f);
    meter.setClipLights(false, true);
    const auto image = render(meter);
    writeSnapshot(image, "led-meter");
    EXPECT_EQ(pixel(image, clipX, leftRowY), juce::Colour(StereoLedVUMeter::unlitColour));
    EXPECT_EQ(pixel(image, clipX, rightRowY), juce::Colour(0xffff9650)) << "the overdrive colour";
    EXPECT_EQ(pixel(image, 1, 1), juce::Colour(0xff191919)) << "the display background";
    // Colours go by index, not by level: the lowest is the low colour, the eighth the midpoint.
    EXPECT_EQ(pixel(image, segmentX(0), leftRowY), juce::Colour(0xff1500dc));
    const auto middle = pixel(image, segmentX(7), leftRowY);
    EXPECT_NEAR(middle.getRed(), (0x15 + 0xea) / 2, 1);
    EXPECT_NEAR(middle.getBlue(), (0xdc + 0xa1) / 2, 1);
    EXPECT_EQ(pixel(image, segmentX(14), rightRowY), juce::Colour(0xffea00a1));
    meter.setLookAndFeel(nullptr);
}

TEST(StereoLedVUMeter, FallsBackToItsOwnColoursUnderAnEmptyPalette)
{
    UiLookAndFeel lookAndFeel;
    for (const auto id : {UiLookAndFeel::displayBackgroundColourId, UiLookAndFeel::ledLowColourId,
                          UiLookAndFeel::ledHighColourId, UiLookAndFeel::overdriveColourId})
        lookAndFeel.setColour(id, juce::Colour(0x00000000));
    StereoLedVUMeter meter;
    meter.setLookAndFeel(&lookAndFeel);
    meter.setColourIds(UiLookAndFeel::displayBackgroundColourId, UiLookAndFeel::ledLowColourId,
                       UiLookAndFeel::ledHighColourId, UiLookAndFeel::overdriveColourId);
    meter.setSize(130, 26);
    meter.setLevels(1.0f, 1.0f);
    meter.setClipLights(true, true);
    const auto image = render(meter);
    EXPECT_EQ(pixel(image, 1, 1), juce::Colour(StereoLedVUMeter::fallbackBackground));
    EXPECT_EQ(pixel(image, segmentX(0), leftRowY), juce::Colour(StereoLedVUMeter::fallbackLow));
    EXPECT_EQ(pixel(image, segmentX(14), leftRowY), juce::Colour(StereoLedVUMeter::fallbackHigh));
    EXPECT_EQ(pixel(image, clipX, leftRowY), juce::Colour(StereoLedVUMeter::fallbackClip));
    meter.setLookAndFeel(nullptr);
}

TEST(VerticalMeter, FillsUpFromTheBottomInItsSkinColour)
{
    UiLookAndFeel lookAndFeel;
    VerticalMeter meter(juce::Colour(0xff05080a), juce::Colour(0xffff32b4));
    meter.setLookAndFeel(&lookAndFeel);
    meter.setSize(10, 100);
    meter.setColourId(UiLookAndFeel::displayBackgroundColourId);
    meter.setFillColourId(UiLookAndFeel::warbleColourId);

    // No skin yet: the fixed colours.
    meter.setValue(0.5f);
    auto image = render(meter);
    EXPECT_EQ(pixel(image, 5, 25), juce::Colour(0xff05080a));
    EXPECT_EQ(pixel(image, 5, 75), juce::Colour(0xffff32b4));

    lookAndFeel.setColour(UiLookAndFeel::displayBackgroundColourId, juce::Colour(0xff191919));
    lookAndFeel.setColour(UiLookAndFeel::warbleColourId, juce::Colour(0xffde7437));
    image = render(meter);
    writeSnapshot(image, "warble-meter-half");
    EXPECT_EQ(pixel(image, 5, 25), juce::Colour(0xff191919));
    EXPECT_EQ(pixel(image, 5, 75), juce::Colour(0xffde7437)) << "the skin colours the bar";

    meter.setValue(0.0f);
    EXPECT_EQ(pixel(render(meter), 5, 98), juce::Colour(0xff191919));
    meter.setValue(1.0f);
    EXPECT_EQ(pixel(render(meter), 5, 1), juce::Colour(0xffde7437));
    meter.setValue(notANumber);
    EXPECT_EQ(meter.getValue(), 0.0f);
    meter.setValue(9.0f);
    EXPECT_EQ(meter.getValue(), 1.0f);

    // A fully transparent skin colour falls back to the fixed one.
    lookAndFeel.setColour(UiLookAndFeel::warbleColourId, juce::Colour(0x00000000));
    EXPECT_EQ(pixel(render(meter), 5, 50), juce::Colour(0xffff32b4));
    meter.setLookAndFeel(nullptr);
}

TEST(HistoryGraph, SmoothsEachValueAndPutsTheNewestFirst)
{
    HistoryGraph graph(juce::Colour(0xffff32b4), juce::Colours::white);
    graph.setSize(300, 60);
    ASSERT_EQ(graph.getHistoryL().size(), 300u);
    EXPECT_EQ(graph.getHistoryL().back(), 0.5f);

    graph.pushValues(1.0f, 0.0f);
    EXPECT_FLOAT_EQ(graph.getHistoryL().front(), 0.5f + 0.5f * 0.65f);
    EXPECT_FLOAT_EQ(graph.getHistoryR().front(), 0.5f - 0.5f * 0.65f);
    graph.pushValues(1.0f, 0.0f);
    EXPECT_FLOAT_EQ(graph.getHistoryL()[0], 0.825f + 0.175f * 0.65f);
    EXPECT_FLOAT_EQ(graph.getHistoryL()[1], 0.825f);
    EXPECT_EQ(graph.getHistoryL().size(), 300u) << "the oldest dropped out";

    // Shrinking drops the oldest values, growing appends resting ones on the old end.
    graph.setSize(200, 60);
    EXPECT_EQ(graph.getHistoryL().size(), 200u);
    EXPECT_FLOAT_EQ(graph.getHistoryL()[1], 0.825f);
    graph.setSize(250, 60);
    EXPECT_EQ(graph.getHistoryL().size(), 250u);
    EXPECT_EQ(graph.getHistoryL()[249], 0.5f);

    // Hostile values: not a number holds the line, others are brought into 0..1.
    graph.pushValues(notANumber, infinity);
    EXPECT_FLOAT_EQ(graph.getHistoryL()[0], graph.getHistoryL()[1]);
    EXPECT_GT(graph.getHistoryR()[0], graph.getHistoryR()[1]);
    EXPECT_LE(graph.getHistoryR()[0], 1.0f);

    graph.reset();
    for (const auto value : graph.getHistoryL())
        EXPECT_EQ(value, 0.5f);
    graph.pushValues(0.5f, 0.5f);
    EXPECT_EQ(graph.getHistoryR().front(), 0.5f) << "reset the smoothing too";

    HistoryGraph narrow(juce::Colour(0xffff32b4), juce::Colours::white);
    narrow.setSize(1, 60);
    narrow.pushValues(0.9f, 0.1f);
    narrow.pushValues(0.9f, 0.1f);
    EXPECT_EQ(narrow.getHistoryL().size(), 1u);
    EXPECT_NO_FATAL_FAILURE(render(narrow));
}

TEST(HistoryGraph, ScrollsToTheRightOnePixelPerValue)
{
    UiLookAndFeel lookAndFeel;
    lookAndFeel.setColour(UiLookAndFeel::warbleColourId, juce::Colour(0xff00ff00));
    HistoryGraph graph(juce::Colour(0xffff32b4), juce::Colours::white);
    graph.setLookAndFeel(&lookAndFeel);
    graph.setLineColourId(UiLookAndFeel::warbleColourId);
    graph.setSize(100, 50);
    graph.reset();

    // A warble kick on the left channel: one value of 0.825, drawn 8.75 pixels from the top.
    graph.pushValues(1.0f, 0.5f);
    auto image = render(graph);
    EXPECT_NEAR(lineY(image, 0), 9, 1);
    EXPECT_NEAR(lineY(image, 50), 25, 1);

    for (int step = 0; step < 9; ++step)
        graph.pushValues(0.5f, 0.5f);
    graph.pushValues(0.5f, 0.2f);
    image = render(graph);
    writeSnapshot(image, "warble-history");
    // Ten values later the kick stands ten pixels to the right; the newest values, back at rest, on the
    // left.
    EXPECT_NEAR(lineY(image, 10), 9, 1);
    EXPECT_NEAR(lineY(image, 0), 25, 1);
    EXPECT_NEAR(lineY(image, 40), 25, 1);
    // The right channel's newest value (0.305) leaves the white line at the left edge, in the skin's
    // warble colour.
    const auto right = pixel(image, 0, 33);
    EXPECT_GT(right.getGreen(), 60);
    EXPECT_LT(right.getRed(), 30);
    graph.setLookAndFeel(nullptr);
}
