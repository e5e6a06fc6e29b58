// The echo spectrum view with the editor's settings: frames drawn on the skewed logarithmic axis and
// the decibel scale, the grid, the LFO range band and the bell, probed pixel by pixel.
#include "editor/SpectrumView.h"
#include "editor/UiLookAndFeel.h"
#include "tests/editor/EditorTestBed.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

using namespace EditorTestBed;

namespace
{
constexpr int width = 450, height = 120;
using Frame = std::array<float, SpectrumView::frameSize>;

// Raw analyser values: the editor scales them by 0.001 and takes 0.65 as 0 dB.
float binValueAtDb(float db)
{
    return 650.0f * std::pow(10.0f, db / 10.0f);
}

Frame flatFrame(float value)
{
    Frame frame;
    frame.fill(value);
    return frame;
}

// The bin whose linear band holds that frequency, and the frequency at its centre.
int binOf(float hz)
{
    return static_cast<int>((hz - 20.0f) / (9000.0f - 20.0f) * SpectrumView::frameSize);
}
float centreOfBin(int bin)
{
    return 20.0f + (static_cast<float>(bin) + 0.5f) / SpectrumView::frameSize * (9000.0f - 20.0f);
}

class SpectrumViewTest : public ::testing::Test
{
protected:
    SpectrumViewTest()
    {
        // Distinct colours so that each part can be told apart on black: the curve green, the grid
        // blue, the band red, the marker and the bell white.
        lookAndFeel.setColour(UiLookAndFeel::spectrumLineColourId, juce::Colour(0xff00ff00));
        lookAndFeel.setColour(UiLookAndFeel::spectrumFillColourId, juce::Colour(0x6600ff00));
        lookAndFeel.setColour(UiLookAndFeel::spectrumMarkerColourId, juce::Colour(0x73ffffff));
        lookAndFeel.setColour(UiLookAndFeel::sideBAccentColourId, juce::Colour(0xffff0000));
        lookAndFeel.setColour(UiLookAndFeel::spectrumGlowColourId, juce::Colour(0x5a0000ff));
        view.setLookAndFeel(&lookAndFeel);
        view.setSettings(SpectrumView::Settings::forEditor());
        view.setSize(width, height);
    }
    ~SpectrumViewTest() override { view.setLookAndFeel(nullptr); }

    // Only the curve: no grid, marker, band or bell over it.
    void showCurveOnly()
    {
        auto settings = view.getSettings();
        settings.showGrid = settings.showBaseMarker = settings.showBell = false;
        settings.rangeBandHeight = settings.rangeTickHeight = settings.rangeBandMinWidth = 0.0f;
        view.setSettings(settings);
    }

    juce::Rectangle<float> bounds() const { return view.getLocalBounds().toFloat(); }

    TestClock clock;
    UiLookAndFeel lookAndFeel;
    SpectrumView view;
};

bool isCurve(juce::Colour c)
{
    return c.getGreen() > 60 && c.getRed() < 40;
}

// The highest row of the curve in a column, or the height when the column has none.
int curveTop(const juce::Image& image, int x)
{
    for (int y = 0; y < image.getHeight(); ++y)
        if (isCurve(image.getPixelAt(x, y)))
            return y;
    return image.getHeight();
}

// The middle of the columns where the curve reaches its highest row.
float peakX(const juce::Image& image)
{
    int top = image.getHeight();
    for (int x = 0; x < image.getWidth(); ++x)
        top = std::min(top, curveTop(image, x));
    int first = -1, last = -1;
    for (int x = 0; x < image.getWidth(); ++x)
        if (curveTop(image, x) <= top + 1)
        {
            first = first < 0 ? x : first;
            last = x;
        }
    return (static_cast<float>(first) + static_cast<float>(last)) * 0.5f + 0.5f;
}

// The highest white pixel's column: the bell's peak.
int bellPeakColumn(const juce::Image& image)
{
    for (int y = 0; y < image.getHeight(); ++y)
    {
        int first = -1, last = -1;
        for (int x = 0; x < image.getWidth(); ++x)
        {
            const auto c = image.getPixelAt(x, y);
            if (c.getRed() > 200 && c.getGreen() > 200 && c.getBlue() > 200)
            {
                first = first < 0 ? x : first;
                last = x;
            }
        }
        if (first >= 0)
            return (first + last) / 2;
    }
    return -1;
}
} // namespace

TEST_F(SpectrumViewTest, OneHotBandPeaksAtTheXOfItsFrequency)
{
    showCurveOnly();
    for (const float hz : {200.0f, 1000.0f, 2500.0f, 6000.0f})
    {
        view.clear();
        auto frame = flatFrame(0.0f);
        const auto bin = binOf(hz);
        frame[static_cast<size_t>(bin)] = binValueAtDb(12.0f);
        view.pushSpectrumFrame(frame.data());
        const auto image = render(view);
        if (hz == 1000.0f)
            writeSnapshot(image, "spectrum-hot-band-1khz");
        // The skewed log axis puts 1 kHz past the middle (a linear one would at a ninth); the bins
        // lean a few pixels towards a symmetric warp below 4 kHz, and the average across five bins
        // widens the peak into a plateau.
        const auto peak = peakX(image);
        EXPECT_NEAR(peak, view.frequencyToX(centreOfBin(bin), bounds()), 10.0f) << hz << " Hz";
        // Averaged with four silent neighbours, the top of the range comes down to a fifth of the height.
        EXPECT_NEAR(curveTop(image, static_cast<int>(peak)), height * 0.8f, 2.0f) << hz << " Hz";
    }
}

TEST_F(SpectrumViewTest, LevelsOnTheDecibelScale)
{
    showCurveOnly();
    struct Case
    {
        float binValue;
        float expectedTop; // rows from the top
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {0.0f, height},                               // silence: the floor
        {binValueAtDb(-50.0f), height},               // the bottom of the range
        {binValueAtDb(-60.0f), height},               // below it
        {binValueAtDb(0.0f), height * 12.0f / 62.0f}, // 0 dB at 50/62 of the height
        {binValueAtDb(12.0f), 0.0f},                  // the top
        {binValueAtDb(40.0f), 0.0f},                  // above it
        {-5.0f, height},                              // negative: nothing
        {nan, height},                                // not a number: silence
        {inf, 0.0f},
        {-inf, height},
    };
    for (const auto& c : cases)
    {
        view.clear();
        const auto frame = flatFrame(c.binValue);
        view.pushSpectrumFrame(frame.data());
        const auto image = render(view);
        if (c.binValue == 0.0f)
            writeSnapshot(image, "spectrum-silent");
        for (const int x : {10, width / 2, width - 10})
        {
            if (c.expectedTop >= height)
            {
                // The floor: only the stroke along the bottom edge.
                EXPECT_EQ(curveTop(image, x), height - 1) << c.binValue << " at x " << x;
            }
            else
                EXPECT_NEAR(curveTop(image, x), c.expectedTop, 1.5f) << c.binValue << " at x " << x;
        }
        for (const auto value : view.getSmoothedBins())
            ASSERT_TRUE(std::isfinite(value));
    }
}

TEST_F(SpectrumViewTest, BlendsEachNewFrameIntoTheLastPerBin)
{
    const auto loud = flatFrame(1000.0f);
    const auto quiet = flatFrame(200.0f);
    view.pushSpectrumFrame(loud.data());
    EXPECT_EQ(view.getSmoothedBins()[7], 1000.0f) << "the first frame is shown as it is";
    view.pushSpectrumFrame(quiet.data());
    EXPECT_EQ(view.getSmoothedBins()[7], 600.0f) << "later ones move halfway";
    view.pushSpectrumFrame(quiet.data());
    EXPECT_EQ(view.getSmoothedBins()[7], 400.0f);

    // A frame of hostile values leaves finite bins, and the spectrum recovers from it.
    auto hostile = flatFrame(std::numeric_limits<float>::infinity());
    hostile[3] = std::numeric_limits<float>::quiet_NaN();
    hostile[4] = -std::numeric_limits<float>::infinity();
    view.pushSpectrumFrame(hostile.data());
    for (int i = 0; i < 200; ++i)
        view.pushSpectrumFrame(quiet.data());
    for (const auto value : view.getSmoothedBins())
        EXPECT_NEAR(value, 200.0f, 1.0f);

    view.clear();
    view.pushSpectrumFrame(loud.data());
    EXPECT_EQ(view.getSmoothedBins()[200], 1000.0f) << "after clear the next frame is shown unsmoothed";
    view.pushSpectrumFrame(nullptr);
    EXPECT_EQ(view.getSmoothedBins()[200], 1000.0f);
}

TEST_F(SpectrumViewTest, GridLinesAndLabelsInsideTheRange)
{
    auto settings = view.getSettings();
    settings.showBell = settings.showBaseMarker = false;
    view.setSettings(settings);
    // A 1 px line at a fractional x shares itself between two columns.
    const auto gridAt = [](const juce::Image& image, int x) {
        int blue = 0;
        for (int y = 0; y < height / 2; ++y)
            blue = std::max(blue, image.getPixelAt(x, y).getBlue() + image.getPixelAt(x + 1, y).getBlue());
        return blue;
    };
    const auto image = render(view);
    writeSnapshot(image, "spectrum-grid");
    for (const float hz : {50.0f, 200.0f, 500.0f, 1000.0f, 2000.0f, 4000.0f, 8000.0f})
    {
        const auto x = static_cast<int>(view.frequencyToNorm(hz) * width);
        EXPECT_GT(gridAt(image, x), 30) << hz << " Hz has its line";
        EXPECT_EQ(gridAt(image, x + 3), 0) << "a 1 px line";
    }
    // The labels sit on the line at 0.8 of the height, the last one kept 1 px inside the view.
    const auto labelRow = [&image](int x) {
        int blue = 0;
        for (int y = static_cast<int>(height * 0.8f); y < height; ++y)
            blue = std::max(blue, static_cast<int>(image.getPixelAt(x, y).getBlue()));
        return blue;
    };
    EXPECT_GT(labelRow(static_cast<int>(view.frequencyToNorm(1000.0f) * width)), 40);
    EXPECT_EQ(labelRow(width - 1), 0);

    // A narrower range drops the lines outside it.
    settings.minHz = 100.0f;
    settings.maxHz = 3000.0f;
    view.setSettings(settings);
    const auto narrow = render(view);
    int lines = 0;
    bool inLine = false;
    for (int x = 0; x < width; ++x)
    {
        const bool lit = narrow.getPixelAt(x, 30).getBlue() > 8;
        lines += lit && !inLine ? 1 : 0;
        inLine = lit;
    }
    EXPECT_EQ(lines, 4) << "200, 500, 1000 and 2000 Hz";
}

TEST_F(SpectrumViewTest, BellStandsAtTheFilterFrequencyAndTheBandSpansTheLfoSweep)
{
    view.setFilterQ(2.0f);
    for (const float hz : {100.0f, 600.0f, 1000.0f, 5000.0f})
    {
        view.setFilterBaseHz(hz);
        const auto image = render(view);
        EXPECT_NEAR(bellPeakColumn(image), view.frequencyToX(hz, bounds()), 1.5f) << hz << " Hz";
        EXPECT_EQ(view.bellCenterX(bounds()), view.frequencyToX(hz, bounds()));
    }

    // Hostile values are ignored; a Q beyond its range is held at its end.
    view.setFilterBaseHz(std::numeric_limits<float>::quiet_NaN());
    view.setFilterQ(std::numeric_limits<float>::quiet_NaN());
    view.setLfoAmountPercent(std::numeric_limits<float>::quiet_NaN());
    EXPECT_NEAR(bellPeakColumn(render(view)), view.frequencyToX(5000.0f, bounds()), 1.5f);
    EXPECT_FLOAT_EQ(view.qToBellWidth(2.0f), 0.1f) << "half width 5 % of the view";
    EXPECT_FLOAT_EQ(view.qToBellWidth(0.01f), 2.0f) << "as wide as the view on each side";

    // The LFO at 50 % sweeps 500..1500 Hz around 1 kHz: the band spans that at the bell's peak line.
    view.setFilterBaseHz(1000.0f);
    view.setLfoAmountPercent(50.0f);
    const auto image = render(view);
    writeSnapshot(image, "spectrum-bell-and-band");
    const int peakRow = static_cast<int>(height * 0.1f);
    const auto bandAt = [&image, peakRow](float x) {
        const auto c = image.getPixelAt(static_cast<int>(x), peakRow);
        return c.getRed() > 150 && c.getGreen() < 100;
    };
    const auto low = view.frequencyToNorm(500.0f) * width;
    const auto high = view.frequencyToX(1500.0f, bounds());
    EXPECT_TRUE(bandAt(low + 3.0f));
    EXPECT_TRUE(bandAt(high - 3.0f));
    EXPECT_FALSE(bandAt(low - 4.0f));
    EXPECT_FALSE(bandAt(high + 4.0f));
    const auto bell = view.bellCenterX(bounds());
    EXPECT_GE(bell, low);
    EXPECT_LE(bell, high);

    // A view with no area paints nothing and survives.
    view.setSize(0, 40);
    EXPECT_NO_FATAL_FAILURE(render(view));
}

TEST_F(SpectrumViewTest, DrawsAnEchoSpectrumInTheSkinsColours)
{
    // The first skin's palette over the display background, as the editor shows it.
    lookAndFeel.setColour(UiLookAndFeel::spectrumLineColourId, juce::Colour(0xff3291b0));
    lookAndFeel.setColour(UiLookAndFeel::spectrumFillColourId, juce::Colour(0x333291b0));
    lookAndFeel.setColour(UiLookAndFeel::spectrumMarkerColourId, juce::Colour(0x73ffffff));
    lookAndFeel.setColour(UiLookAndFeel::sideBAccentColourId, juce::Colour(0xff3291b0));
    lookAndFeel.setColour(UiLookAndFeel::spectrumGlowColourId, juce::Colour(0x5ac86edc));
    // An echo: a level falling with frequency and a resonance where the filter sits.
    Frame frame;
    for (int i = 0; i < SpectrumView::frameSize; ++i)
    {
        const auto hz = centreOfBin(i);
        const auto resonance = 14.0f * std::exp(-std::pow(std::log(hz / 1200.0f) / 0.25f, 2.0f));
        frame[static_cast<size_t>(i)] = binValueAtDb(-6.0f - 9.0f * std::log2(hz / 100.0f) + resonance);
    }
    view.pushSpectrumFrame(frame.data());
    view.setFilterBaseHz(1200.0f);
    view.setFilterQ(0.6f);
    view.setLfoAmountPercent(40.0f);

    const juce::Colour background(0xff141928);
    const auto image = render(view, background);
    writeSnapshot(image, "spectrum-echo-skin1");
    // Under the curve, away from the bell: the fill over the background.
    const auto x = static_cast<int>(view.frequencyToNorm(100.0f) * width) + 3;
    const auto fill = background.overlaidWith(juce::Colour(0x333291b0));
    const auto under = pixel(image, x, height - 3);
    EXPECT_NEAR(under.getBlue(), fill.getBlue(), 2);
    EXPECT_NEAR(under.getGreen(), fill.getGreen(), 2);
    // High up the same column, above the curve: the bare background.
    EXPECT_EQ(pixel(image, x, 2), background);
}
