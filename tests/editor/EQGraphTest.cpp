// The EQ graph bound to the processor's parameters: its axis, what the parameters make it show, its
// handles dragged through a real window, and its curve and shades probed in what it paints.
#include "editor/EQGraph.h"
#include "editor/EQGraphBindings.h"
#include "editor/UiLookAndFeel.h"
#include "plugin/QuillmoreAudioProcessor.h"
#include "tests/editor/EditorTestBed.h"
#include "tests/editor/ParameterGestures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>

using namespace EditorTestBed;

namespace
{
const float notANumber = std::numeric_limits<float>::quiet_NaN();
const float infinity = std::numeric_limits<float>::infinity();

// The graph's size in the window at 750 x 475 and at 1800 x 1140.
constexpr int smallWidth = 215, smallHeight = 66;
constexpr int largeWidth = 517, largeHeight = 162;

// Skin 1's colours of the graph: background, left shade start and end, right shade start and end.
constexpr juce::uint32 background = 0xf0030405;
constexpr juce::uint32 leftStart = 0x001500dc, leftEnd = 0xffff327a;
constexpr juce::uint32 rightStart = 0xffff8451, rightEnd = 0x03ea00a1;

class EQGraphTest : public ::testing::Test
{
protected:
    EQGraphTest()
    {
        lookAndFeel.setColour(UiLookAndFeel::displayBackgroundColourId, juce::Colour(background));
        lookAndFeel.setColour(UiLookAndFeel::eqHighPassShadeColourId, juce::Colour(leftStart));
        lookAndFeel.setColour(UiLookAndFeel::eqHighPassShadeEndColourId, juce::Colour(leftEnd));
        lookAndFeel.setColour(UiLookAndFeel::eqRolloffShadeColourId, juce::Colour(rightStart));
        lookAndFeel.setColour(UiLookAndFeel::eqRolloffShadeEndColourId, juce::Colour(rightEnd));
        graph.setLookAndFeel(&lookAndFeel);
        graph.setSlopeWidth(0.11f);
        graph.setRolloffWidth(0.4f);
        graph.setColourIds(UiLookAndFeel::displayBackgroundColourId, UiLookAndFeel::eqHighPassShadeColourId,
                           UiLookAndFeel::eqHighPassShadeEndColourId, UiLookAndFeel::eqRolloffShadeColourId,
                           UiLookAndFeel::eqRolloffShadeEndColourId);
        graph.setSize(smallWidth, smallHeight);
        attachments = Quillmore::makeEqGraphAttachments(processor.apvts, graph);
        Quillmore::installEqGraphDragCallbacks(graph, processor.apvts);
    }

    ~EQGraphTest() override { graph.setLookAndFeel(nullptr); }

    juce::RangedAudioParameter& parameter(const char* id) { return *processor.apvts.getParameter(id); }
    float valueOf(const char* id) { return parameter(id).convertFrom0to1(parameter(id).getValue()); }
    void set(const char* id, float value) { parameter(id).setValueNotifyingHost(parameter(id).convertTo0to1(value)); }

    // Where the mouse finds a position along the plot, on a level (0 the middle line, +1 the top).
    juce::Point<float> at(double position, double level = 0.0) const
    {
        const auto area = graph.plotArea();
        return {area.getX() + static_cast<float>(position) * area.getWidth(),
                area.getCentreY() - static_cast<float>(level) * area.getHeight() * 0.5f};
    }

    // The value a frequency parameter takes for a position under the pointer.
    float legalHz(const char* id, double position)
    {
        const auto& range = parameter(id).getNormalisableRange();
        return range.snapToLegalValue(std::clamp(static_cast<float>(EQGraph::xToHz(position)), range.start, range.end));
    }

    QuillmoreAudioProcessor processor;
    UiLookAndFeel lookAndFeel;
    EQGraph graph;
    Quillmore::EqGraphAttachments attachments; // after the graph: goes first
};

void expectColourNear(juce::Colour seen, juce::Colour expected, int tolerance, const std::string& what)
{
    EXPECT_NEAR(seen.getRed(), expected.getRed(), tolerance) << what << ": " << seen.toDisplayString(true);
    EXPECT_NEAR(seen.getGreen(), expected.getGreen(), tolerance) << what << ": " << seen.toDisplayString(true);
    EXPECT_NEAR(seen.getBlue(), expected.getBlue(), tolerance) << what << ": " << seen.toDisplayString(true);
}

// How white a pixel is: its weakest channel.
int whiteness(juce::Colour c)
{
    return std::min({c.getRed(), c.getGreen(), c.getBlue()});
}

// The row of the whitest pixel in a column, from row `top` down.
int whitestRow(const juce::Image& image, int x, int top)
{
    int best = top;
    for (int y = top; y < image.getHeight(); ++y)
        if (whiteness(image.getPixelAt(x, y)) > whiteness(image.getPixelAt(x, best)))
            best = y;
    return best;
}
} // namespace

TEST(EQGraphAxis, MapsTwentyHertzAndTwentyEightKilohertzToTheEdgesAndInnerFrequenciesByTheLogPositionToThe1Point5)
{
    struct Case
    {
        double hz, position;
    };
    const Case cases[] = {{20.0, 0.0},           {31.5, 0.015702248},   {100.0, 0.104718453},
                          {440.0, 0.278720770},  {1000.0, 0.396838663}, {2500.0, 0.544133045},
                          {8000.0, 0.752161965}, {15000.0, 0.873586805}, {18000.0, 0.909922963},
                          {28000.0, 1.0}};
    for (const auto& c : cases)
    {
        EXPECT_NEAR(EQGraph::hzToX(c.hz), c.position, 1.0e-9) << c.hz << " Hz";
        EXPECT_NEAR(EQGraph::xToHz(c.position), c.hz, c.hz * 1.0e-8) << c.position;
    }
    EXPECT_NEAR(EQGraph::xToHz(0.5), 1918.520590, 1.0e-5);

    // Beyond the axis and hostile values land on its ends.
    EXPECT_EQ(EQGraph::hzToX(5.0), 0.0);
    EXPECT_EQ(EQGraph::hzToX(-1.0e9), 0.0);
    EXPECT_EQ(EQGraph::hzToX(96000.0), 1.0);
    EXPECT_EQ(EQGraph::hzToX(infinity), 1.0);
    EXPECT_EQ(EQGraph::hzToX(notANumber), 0.0);
    EXPECT_DOUBLE_EQ(EQGraph::xToHz(-0.5), 20.0);
    EXPECT_DOUBLE_EQ(EQGraph::xToHz(7.0), 28000.0);
    EXPECT_DOUBLE_EQ(EQGraph::xToHz(notANumber), 20.0);

    EXPECT_EQ(EQGraph::hzText(20.0), "20 Hz");
    EXPECT_EQ(EQGraph::hzText(999.4), "999 Hz");
    EXPECT_EQ(EQGraph::hzText(EQGraph::xToHz(EQGraph::hzToX(1000.0))), "1.00 kHz");
    EXPECT_EQ(EQGraph::hzText(1000.0), "1.00 kHz");
    EXPECT_EQ(EQGraph::hzText(12500.0), "12.50 kHz");
}

TEST_F(EQGraphTest, ParametersSetTheHandlesAndTexts)
{
    struct Case
    {
        float highPass, q, rolloff;
        double hpfPos, displayQ, rolloffPos;
        const char *highPassText, *rolloffText;
    };
    const Case cases[] = {
        {20.0f, 0.1f, 18000.0f, 0.0, -1.0, 0.909922963, "HPF: 20 Hz, Q: 0.10", "HF Rolloff: 18.00 kHz"},
        {440.0f, 1.05f, 440.0f, 0.278720770, 0.0, 0.278720770, "HPF: 440 Hz, Q: 1.05", "HF Rolloff: 440 Hz"},
        {2500.0f, 2.0f, 20.0f, 0.544133045, 1.0, 0.0, "HPF: 2.50 kHz, Q: 2.00", "HF Rolloff: 20 Hz"},
        {1000.0f, 1.3f, 999.0f, 0.396838663, 0.263157895, 0.396686436, "HPF: 1.00 kHz, Q: 1.30", "HF Rolloff: 999 Hz"},
        {15000.0f, 0.8f, 8000.0f, 0.873586805, -0.263157895, 0.752161965, "HPF: 15.00 kHz, Q: 0.80", "HF Rolloff: 8.00 kHz"},
    };
    for (const auto& c : cases)
    {
        set("HighPass", c.highPass);
        set("HighPassQ", c.q);
        set("HighRolloff", c.rolloff);
        EXPECT_NEAR(graph.getHighPassPosition(), c.hpfPos, 1.0e-6) << c.highPass;
        EXPECT_NEAR(graph.getDisplayQ(), c.displayQ, 1.0e-6) << c.q;
        EXPECT_NEAR(graph.getRolloffPosition(), c.rolloffPos, 1.0e-6) << c.rolloff;
        EXPECT_EQ(graph.highPassText(), c.highPassText);
        EXPECT_EQ(graph.rolloffText(), c.rolloffText);
    }

    // Saturate and Degrade set the shades over their ranges.
    set("Saturate", 0.0f);
    set("Degrade", 0.0f);
    EXPECT_NEAR(graph.getSaturationShade(), 0.001, 1.0e-9);
    EXPECT_NEAR(graph.getDegradeShade(), 1.0, 1.0e-9);
    set("Saturate", 100.0f);
    set("Degrade", 100.0f);
    EXPECT_NEAR(graph.getSaturationShade(), 0.8, 1.0e-9);
    EXPECT_NEAR(graph.getDegradeShade(), 0.2, 1.0e-9);
    set("Saturate", 50.0f);
    set("Degrade", 25.0f);
    EXPECT_NEAR(graph.getSaturationShade(), 0.4005, 1.0e-7);
    EXPECT_NEAR(graph.getDegradeShade(), 0.8, 1.0e-7);
}

TEST_F(EQGraphTest, OpensWithTheParametersCurrentValues)
{
    EXPECT_EQ(graph.getName(), "EQGraph");
    // The defaults: HighPass 20 Hz, HighPassQ 0.8, HighRolloff 18 kHz, Saturate and Degrade 0.
    EXPECT_EQ(graph.getHighPassPosition(), 0.0);
    EXPECT_NEAR(graph.getDisplayQ(), (0.8 - 0.1) * 2.0 / 1.9 - 1.0, 1.0e-6);
    EXPECT_NEAR(graph.getRolloffPosition(), 0.909922963, 1.0e-6);
    EXPECT_NEAR(graph.getSaturationShade(), 0.001, 1.0e-9);
    EXPECT_NEAR(graph.getDegradeShade(), 1.0, 1.0e-9);

    // A second graph bound to a state whose values moved shows them at once.
    set("HighPass", 1000.0f);
    set("Degrade", 100.0f);
    EQGraph another;
    const auto anotherAttachments = Quillmore::makeEqGraphAttachments(processor.apvts, another);
    EXPECT_NEAR(another.getHighPassPosition(), 0.396838663, 1.0e-6);
    EXPECT_NEAR(another.getDegradeShade(), 0.2, 1.0e-9);
}

TEST_F(EQGraphTest, HostileValuesKeepTheDisplayOnTheAxis)
{
    const auto& highPassRange = parameter("HighPass").getNormalisableRange();
    const auto& qRange = parameter("HighPassQ").getNormalisableRange();
    const auto& percentRange = parameter("Saturate").getNormalisableRange();

    graph.highPassChanged(1000.0f, highPassRange);
    graph.highPassChanged(notANumber, highPassRange);
    EXPECT_NEAR(graph.getHighPassPosition(), 0.396838663, 1.0e-6) << "not a number: ignored";
    graph.highPassChanged(infinity, highPassRange);
    EXPECT_EQ(graph.getHighPassPosition(), 1.0);
    graph.highPassChanged(-infinity, highPassRange);
    EXPECT_EQ(graph.getHighPassPosition(), 0.0);
    graph.highPassChanged(1.0e30f, highPassRange);
    EXPECT_EQ(graph.getHighPassPosition(), 1.0);
    // A value of at most 1.0001 is a normalised one: the legal value at that point of the range.
    graph.highPassChanged(0.5f, highPassRange);
    EXPECT_NEAR(graph.getHighPassPosition(), EQGraph::hzToX(highPassRange.snapToLegalValue(highPassRange.convertFrom0to1(0.5f))), 1.0e-9);
    graph.rolloffChanged(-5.0f, parameter("HighRolloff").getNormalisableRange());
    EXPECT_EQ(graph.getRolloffPosition(), 0.0);

    graph.highPassQChanged(infinity, qRange);
    EXPECT_EQ(graph.getDisplayQ(), 1.0);
    graph.highPassQChanged(notANumber, qRange);
    EXPECT_EQ(graph.getDisplayQ(), 1.0);
    graph.highPassQChanged(-1.0e30f, qRange);
    EXPECT_NEAR(graph.getDisplayQ(), -1.0, 1.0e-8);

    graph.saturationChanged(infinity, percentRange);
    graph.degradationChanged(-infinity, percentRange);
    EXPECT_NEAR(graph.getSaturationShade(), 0.8, 1.0e-9);
    EXPECT_NEAR(graph.getDegradeShade(), 1.0, 1.0e-9);
    graph.saturationChanged(notANumber, percentRange);
    graph.degradationChanged(notANumber, percentRange);
    EXPECT_NEAR(graph.getSaturationShade(), 0.8, 1.0e-9);
    EXPECT_NEAR(graph.getDegradeShade(), 1.0, 1.0e-9);

    // Widths that are not finite leave the graph as it was: the high-pass region, at the right end,
    // starts 0.3 left of the slope, which is 0.11 wide.
    graph.highPassChanged(infinity, highPassRange);
    const auto regionStart = at(1.0 - 0.11 - 0.3).x;
    EXPECT_NEAR(graph.hpfHitRect().getX(), regionStart, 1.0e-3f);
    graph.setSlopeWidth(notANumber);
    graph.setRolloffWidth(infinity);
    EXPECT_NEAR(graph.hpfHitRect().getX(), regionStart, 1.0e-3f);

    // It draws and takes the mouse at any size down to none.
    for (const auto& size : {juce::Point<int>(0, 0), juce::Point<int>(1, 1), juce::Point<int>(3, 200)})
    {
        graph.setSize(size.x, size.y);
        render(graph);
        DesktopWindow window(graph);
        window.drag({0.0f, 0.0f}, {2.0f, 2.0f});
    }
    EXPECT_EQ(graph.getDragMode(), EQGraph::dragNone);
}

TEST_F(EQGraphTest, HighPassDragSetsTheFrequencyUnderThePointerInOneGesture)
{
    set("HighPass", 1000.0f);
    set("HighPassQ", 1.05f);
    ParameterGestures highPass(parameter("HighPass"));
    ParameterGestures q(parameter("HighPassQ"));
    ParameterGestures rolloff(parameter("HighRolloff"));
    DesktopWindow window(graph);

    window.press(at(graph.getHighPassPosition()));
    EXPECT_EQ(graph.getDragMode(), EQGraph::dragHighPass);
    EXPECT_EQ(highPass.begins, 1);
    // Positions under the pointer, and beyond both ends: the axis stops at 20 Hz and 28 kHz, the
    // parameter at its own 15 kHz.
    struct Case
    {
        double position;
        float hz;
    };
    const Case cases[] = {{0.6, legalHz("HighPass", 0.6)},
                          {0.25, legalHz("HighPass", 0.25)},
                          {0.8, legalHz("HighPass", 0.8)},
                          {1.4, 15000.0f},
                          {-0.3, 20.0f},
                          {0.45, legalHz("HighPass", 0.45)}};
    for (const auto& c : cases)
    {
        window.dragTo(at(c.position));
        EXPECT_NEAR(valueOf("HighPass"), c.hz, 0.12f) << "at " << c.position;
        EXPECT_NEAR(graph.getHighPassPosition(), EQGraph::hzToX(valueOf("HighPass")), 1.0e-6) << "the parameter's value shown";
        EXPECT_NEAR(valueOf("HighPassQ"), 1.05f, 1.0e-4f) << "level with the press: the Q stays";
    }
    window.release(at(0.45));

    EXPECT_EQ(highPass.begins, 1);
    EXPECT_EQ(highPass.ends, 1);
    EXPECT_FALSE(highPass.changedOutsideGesture);
    EXPECT_GT(q.changes, 0);
    EXPECT_EQ(q.begins, 0) << "the Q follows without a gesture of its own";
    EXPECT_EQ(rolloff.changes, 0);
    EXPECT_EQ(rolloff.begins, 0);
    EXPECT_EQ(graph.getDragMode(), EQGraph::dragNone);
}

TEST_F(EQGraphTest, HighPassDragUpRaisesTheQByHalfItsRangePerPlotHeight)
{
    set("HighPass", 1000.0f);
    set("HighPassQ", 1.05f); // display Q 0
    ParameterGestures highPass(parameter("HighPass"));
    DesktopWindow window(graph);
    const auto handle = graph.getHighPassPosition();
    const auto plotHeight = graph.plotArea().getHeight();

    window.press(at(handle));
    struct Case
    {
        float plotHeightsUp, q;
    };
    // Q = (display Q + 1) * 0.95 + 0.1, display Q clamped to -1..1.
    const Case cases[] = {{0.2f, 1.24f}, {-0.4f, 0.67f}, {-2.0f, 0.1f}, {3.0f, 2.0f}, {0.0f, 1.05f}};
    for (const auto& c : cases)
    {
        window.dragTo(at(handle) - juce::Point<float>(0.0f, c.plotHeightsUp * plotHeight));
        EXPECT_NEAR(valueOf("HighPassQ"), c.q, 1.0e-4f) << c.plotHeightsUp << " plot heights up";
        EXPECT_NEAR(valueOf("HighPass"), 1000.0f, 0.12f) << "straight up: the frequency stays";
    }
    window.release(at(handle));
    EXPECT_EQ(highPass.begins, 1);
    EXPECT_EQ(highPass.ends, 1);
}

TEST_F(EQGraphTest, RolloffDragSetsTheFrequencyUnderThePointerInOneGesture)
{
    ParameterGestures rolloff(parameter("HighRolloff"));
    ParameterGestures highPass(parameter("HighPass"));
    DesktopWindow window(graph);
    const auto handle = graph.getRolloffPosition(); // 18 kHz
    window.press(at(handle, -0.5));
    EXPECT_EQ(graph.getDragMode(), EQGraph::dragRolloff);

    struct Case
    {
        double position;
        float hz;
    };
    const Case cases[] = {{0.7, legalHz("HighRolloff", 0.7)},
                          {1.5, 18000.0f},
                          {0.5, legalHz("HighRolloff", 0.5)},
                          {-1.0, 20.0f},
                          {0.95, legalHz("HighRolloff", 0.95)}};
    for (const auto& c : cases)
    {
        window.dragTo(at(c.position, 0.9)); // up or down moves nothing here
        EXPECT_NEAR(valueOf("HighRolloff"), c.hz, 1.01f) << "at " << c.position;
        EXPECT_NEAR(graph.getRolloffPosition(), EQGraph::hzToX(valueOf("HighRolloff")), 1.0e-6);
    }
    window.release(at(0.95));

    EXPECT_EQ(rolloff.begins, 1);
    EXPECT_EQ(rolloff.ends, 1);
    EXPECT_FALSE(rolloff.changedOutsideGesture);
    EXPECT_EQ(highPass.changes, 0);
    EXPECT_NEAR(valueOf("HighPassQ"), 0.8f, 1.0e-4f);
}

TEST_F(EQGraphTest, APressOverBothHandlesTakesTheNearerOneAndATieTheHighPass)
{
    DesktopWindow window(graph);
    const auto pressAndSee = [&](double position) {
        window.press(at(position));
        const int mode = graph.getDragMode();
        window.release(at(position));
        return mode;
    };

    // Both handles at 1 kHz: every press is as near to one as to the other.
    set("HighPass", 1000.0f);
    set("HighRolloff", 1000.0f);
    const auto both = graph.getHighPassPosition();
    ASSERT_EQ(both, graph.getRolloffPosition());
    EXPECT_EQ(pressAndSee(both), EQGraph::dragHighPass);
    EXPECT_EQ(pressAndSee(both + 0.03), EQGraph::dragHighPass);
    EXPECT_EQ(valueOf("HighRolloff"), 1000.0f) << "pressing alone moves nothing";

    // The roll-off 0.04 to the right: the regions overlap from 0.05 left of the high-pass to 0.08 right.
    set("HighRolloff", legalHz("HighRolloff", both + 0.04));
    const auto rolloff = graph.getRolloffPosition();
    EXPECT_EQ(pressAndSee(both + 0.01), EQGraph::dragHighPass);
    EXPECT_EQ(pressAndSee(rolloff - 0.005), EQGraph::dragRolloff);
    EXPECT_EQ(pressAndSee(both + 0.075), EQGraph::dragRolloff);
    EXPECT_EQ(pressAndSee(both - 0.045), EQGraph::dragHighPass);
    // Outside both regions a press starts nothing.
    set("HighRolloff", 18000.0f);
    EXPECT_EQ(pressAndSee(0.6), EQGraph::dragNone);
}

TEST_F(EQGraphTest, ShadesFollowDegradeAndSaturate)
{
    set("HighPass", 1000.0f);    // the right shade starts at 0.397 - 0.098
    set("HighRolloff", 18000.0f); // the left shade reaches 0.910 + 0.229
    const auto plot = graph.paintedPlotArea();
    const double leftReach = graph.getRolloffPosition() + 0.229;
    const double rightFrom = graph.getHighPassPosition() - 0.098;
    const auto base = juce::Colour(EQGraph::frameColour).overlaidWith(juce::Colour(background));
    // Below the middle line, clear of the texts and of the curve.
    const int probeY = juce::roundToInt(plot.getY() + 0.8f * plot.getHeight());
    const auto probeX = [&plot](double position) { return static_cast<int>(std::floor(plot.getX() + position * plot.getWidth())); };
    // A stop of a shade: the start colour blended to the end colour by t^k, per channel, alpha included.
    const auto stop = [](juce::uint32 from, juce::uint32 to, double t, double reference, double amount) {
        const auto p = static_cast<float>(std::pow(t, std::log(reference) / std::log(amount)));
        const juce::Colour a(from), b(to);
        const auto mix = [p](float x, float y) { return x + (y - x) * p; };
        return juce::Colour::fromFloatRGBA(mix(a.getFloatRed(), b.getFloatRed()), mix(a.getFloatGreen(), b.getFloatGreen()),
                                           mix(a.getFloatBlue(), b.getFloatBlue()), mix(a.getFloatAlpha(), b.getFloatAlpha()));
    };

    // The left shade, where the right one does not reach, at its stops t = 0.1 and 0.2.
    struct LeftCase
    {
        float degrade;
        double amount;
    };
    std::vector<juce::Colour> leftSeen;
    for (const auto& c : {LeftCase{0.0f, 0.999}, LeftCase{50.0f, 0.6}, LeftCase{100.0f, 0.2}})
    {
        set("Degrade", c.degrade);
        const auto image = render(graph);
        for (const double t : {0.1, 0.2})
        {
            ASSERT_LT(t * leftReach, rightFrom);
            const auto seen = pixel(image, probeX(t * leftReach), probeY);
            expectColourNear(seen, base.overlaidWith(stop(leftStart, leftEnd, t, 0.35, c.amount)), 3,
                             "Degrade " + std::to_string(c.degrade) + ", t " + std::to_string(t));
            if (t == 0.2)
                leftSeen.push_back(seen);
        }
    }
    expectColourNear(leftSeen.front(), base, 1, "not degraded: the left shade all but clear");
    EXPECT_LT(leftSeen.front().getRed() + 25, leftSeen.back().getRed()) << "degraded: pink from early on";

    // The right shade at its stop t = 0.5, over an all but clear left shade (Degrade 0).
    set("Degrade", 0.0f);
    struct RightCase
    {
        float saturate;
        double amount;
    };
    std::vector<juce::Colour> rightSeen;
    for (const auto& c : {RightCase{0.0f, 0.001}, RightCase{50.0f, 0.4005}, RightCase{100.0f, 0.8}})
    {
        set("Saturate", c.saturate);
        const double position = rightFrom + 0.5 * (1.0 - rightFrom);
        const auto seen = pixel(render(graph), probeX(position), probeY);
        expectColourNear(seen, base.overlaidWith(stop(rightStart, rightEnd, 0.5, 0.6, c.amount)), 3,
                         "Saturate " + std::to_string(c.saturate));
        rightSeen.push_back(seen);
    }
    EXPECT_LT(rightSeen.front().getRed() + 100, rightSeen.back().getRed()) << "saturated: orange far to the right";

    writeSnapshot(render(graph), "eq-graph-small-saturated");
    set("Degrade", 100.0f);
    graph.setSize(largeWidth, largeHeight);
    writeSnapshot(render(graph), "eq-graph-degraded-saturated");
    set("Degrade", 0.0f);
    set("Saturate", 0.0f);
    writeSnapshot(render(graph), "eq-graph-clean");
}

TEST_F(EQGraphTest, TheCurvePassesThroughTheHandles)
{
    graph.setSize(largeWidth, largeHeight);
    const auto plot = graph.paintedPlotArea();
    // Rows below the texts; a row's centre lies half a pixel below its top.
    const int top = juce::roundToInt(plot.getY() + 2.0f + 0.18f * plot.getHeight()) + 2;
    const auto column = [&plot](double position) { return static_cast<int>(std::floor(plot.getX() + position * plot.getWidth())); };
    const auto rowOf = [&plot](double level) { return plot.getCentreY() - static_cast<float>(level) * plot.getHeight() * 0.5f; };
    // At the high-pass handle the emphasis is 7/15 into its fade: the level is the display Q times
    // 1 - (3 - 2t) t^2.
    const double t = 7.0 / 15.0;
    const double emphasisAtHandle = 1.0 - (3.0 - 2.0 * t) * t * t;

    struct Case
    {
        float highPass, q, rolloff;
        const char* snapshot;
    };
    const Case cases[] = {{1000.0f, 1.05f, 18000.0f, "eq-graph-flat-emphasis"},
                          {440.0f, 2.0f, 8000.0f, "eq-graph-full-emphasis"},
                          {200.0f, 0.1f, 2500.0f, "eq-graph-soft-emphasis"},
                          {2500.0f, 1.6f, 12000.0f, nullptr}};
    for (const auto& c : cases)
    {
        set("HighPass", c.highPass);
        set("HighPassQ", c.q);
        set("HighRolloff", c.rolloff);
        const auto image = render(graph);
        if (c.snapshot != nullptr)
            writeSnapshot(image, c.snapshot);

        const double hpfPos = graph.getHighPassPosition();
        const double level = graph.getDisplayQ() * emphasisAtHandle;
        const int hpfX = column(hpfPos);
        EXPECT_NEAR(whitestRow(image, hpfX, top) + 0.5f, rowOf(level), 1.5f) << c.highPass << " Hz, Q " << c.q;
        EXPECT_GT(whiteness(image.getPixelAt(hpfX, whitestRow(image, hpfX, top))), 150);

        const int rolloffX = column(graph.getRolloffPosition());
        EXPECT_NEAR(whitestRow(image, rolloffX, top) + 0.5f, rowOf(0.0), 1.0f) << "roll-off at " << c.rolloff << " Hz";
        EXPECT_GT(whiteness(image.getPixelAt(rolloffX, whitestRow(image, rolloffX, top))), 150);

        // Below the high-pass slope the curve lies on its floor, beneath the plot: no line drawn.
        const int belowSlope = column(hpfPos - 0.11 - 0.02);
        if (belowSlope > plot.getX() + 1)
        {
            EXPECT_LT(whiteness(image.getPixelAt(belowSlope, whitestRow(image, belowSlope, top))), 100);
        }
    }
}

TEST_F(EQGraphTest, HoveringAndDraggingHighlightTheHandle)
{
    set("HighPass", 1000.0f);
    set("HighPassQ", 1.05f);
    graph.setSize(largeWidth, largeHeight);
    DesktopWindow window(graph);
    const auto plot = graph.paintedPlotArea();
    const int handleX = static_cast<int>(std::floor(plot.getX() + graph.getHighPassPosition() * plot.getWidth()));
    const int lowY = juce::roundToInt(plot.getY() + 0.8f * plot.getHeight());
    const int middleY = juce::roundToInt(plot.getCentreY() - 0.5f);
    window.hover({1000.0f, 1000.0f});
    const auto idle = render(graph);

    window.hover(at(graph.getHighPassPosition(), 0.5));
    EXPECT_TRUE(graph.isHighPassHovered());
    EXPECT_FALSE(graph.isRolloffHovered());
    EXPECT_EQ(graph.getMouseCursor(), juce::MouseCursor(juce::MouseCursor::UpDownLeftRightResizeCursor));
    const auto hovered = render(graph);
    writeSnapshot(hovered, "eq-graph-hover-highpass");
    // White at alpha 0.08 over the handle's region, and the curve there in pink, 3 pixels wide.
    EXPECT_NEAR(hovered.getPixelAt(handleX, lowY).getGreen(),
                idle.getPixelAt(handleX, lowY).interpolatedWith(juce::Colours::white, 0.08f).getGreen(), 2);
    expectColourNear(hovered.getPixelAt(handleX, middleY), juce::Colour(EQGraph::highlightColour), 40, "pink curve");

    window.hover({1000.0f, 1000.0f});
    EXPECT_FALSE(graph.isHighPassHovered());

    // Dragging the roll-off keeps it highlighted (alpha 0.1) wherever the pointer goes.
    window.press(at(graph.getRolloffPosition()));
    window.dragTo(at(0.7, 0.9));
    window.dragTo({1000.0f, 10.0f});
    EXPECT_TRUE(graph.isRolloffHovered());
    EXPECT_EQ(graph.getMouseCursor(), juce::MouseCursor(juce::MouseCursor::LeftRightResizeCursor));
    const auto dragging = render(graph);
    const int bandX = static_cast<int>(std::floor(plot.getX() + (graph.getRolloffPosition() - 0.05) * plot.getWidth()));
    EXPECT_NEAR(dragging.getPixelAt(bandX, lowY).getGreen(),
                idle.getPixelAt(bandX, lowY).interpolatedWith(juce::Colours::white, 0.1f).getGreen(), 3);
    writeSnapshot(dragging, "eq-graph-dragging-rolloff");
    window.release({1000.0f, 10.0f});
    EXPECT_FALSE(graph.isRolloffHovered());
    EXPECT_EQ(graph.getMouseCursor(), juce::MouseCursor(juce::MouseCursor::NormalCursor));
}

TEST_F(EQGraphTest, AHostThreadChangeReachesTheGraphOnTheMessageThreadOnly)
{
    graph.setVisible(true);
    RepaintRecorder repaints(graph);
    const auto before = graph.getHighPassPosition();
    std::thread host([this] {
        for (int i = 1; i <= 100; ++i)
            parameter("HighPass").setValueNotifyingHost(static_cast<float>(i % 10 + 1) / 10.0f);
    });
    host.join();
    EXPECT_EQ(repaints.offMessageThread(), 0);
    EXPECT_EQ(graph.getHighPassPosition(), before) << "nothing moves off the message thread";

    // The attachment's posted update brings the last value, once.
    deliverPostedMessages();
    EXPECT_NEAR(graph.getHighPassPosition(), EQGraph::hzToX(valueOf("HighPass")), 1.0e-6);
    EXPECT_GT(graph.getHighPassPosition(), 0.0);
    EXPECT_EQ(repaints.onMessageThread(), 1);
    EXPECT_EQ(repaints.offMessageThread(), 0);

    // On the message thread the change shows at once.
    set("HighPass", 1000.0f);
    EXPECT_NEAR(graph.getHighPassPosition(), 0.396838663, 1.0e-6);
    EXPECT_EQ(repaints.onMessageThread(), 2);
}
