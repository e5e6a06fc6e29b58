// The XY handle over the spectrum, bound to the processor's echo filter parameters and dragged through
// its window: frequency along the view's axis, Q down the overlay, one gesture per drag.
#include "editor/SpectrumView.h"
#include "editor/SpectrumXYOverlay.h"
#include "plugin/QuillmoreAudioProcessor.h"
#include "tests/editor/EditorTestBed.h"
#include "tests/editor/ParameterGestures.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace EditorTestBed;

namespace
{
constexpr float width = 450.0f, height = 150.0f;

class SpectrumXYOverlayTest : public ::testing::Test
{
protected:
    SpectrumXYOverlayTest()
    {
        view.setSettings(SpectrumView::Settings::forEditor());
        view.setSize(static_cast<int>(width), static_cast<int>(height));
        overlay = Quillmore::makeSpectrumXYOverlay(view, processor.apvts);
        overlay->setBounds(view.getBounds());
        overlay->onDragStart = [this] { ++dragStarts; };
        overlay->onDragEnd = [this] { ++dragEnds; };
    }

    juce::RangedAudioParameter& frequency() { return *processor.apvts.getParameter("EchoFilterFreq"); }
    juce::RangedAudioParameter& q() { return *processor.apvts.getParameter("EchoFilterQ"); }
    float frequencyHz() { return frequency().convertFrom0to1(frequency().getValue()); }

    // The frequency at an axis position of the view (20..9000 Hz, skew 0.7).
    static float hzAt(float position)
    {
        return 20.0f * std::exp(std::pow(std::clamp(position, 0.0f, 1.0f), 0.7f) * std::log(450.0f));
    }

    QuillmoreAudioProcessor processor;
    SpectrumView view;
    std::unique_ptr<SpectrumXYOverlay> overlay;
    int dragStarts = 0, dragEnds = 0;
};
} // namespace

TEST_F(SpectrumXYOverlayTest, DragSetsFrequencyAlongTheAxisAndQDownwardsInOneGesture)
{
    struct Case
    {
        float dx, dy;
    };
    const Case cases[] = {{90.0f, 30.0f}, {-60.0f, -45.0f}, {0.0f, 75.0f}, {2.0f, 0.0f}, {1000.0f, 400.0f}, {-1000.0f, -400.0f}};
    DesktopWindow window(*overlay);
    for (const auto& c : cases)
    {
        const auto startHz = frequencyHz();
        const auto startQ = q().getValue();
        ParameterGestures frequencyGestures(frequency()), qGestures(q());
        const juce::Point<float> from(200.0f, 60.0f);
        window.drag(from, from + juce::Point<float>(c.dx, c.dy));

        // Relative: the press position does not matter, only the distance dragged.
        const auto expectedHz = std::clamp(hzAt(view.frequencyToNorm(startHz) + c.dx / width), 20.0f, 9000.0f);
        EXPECT_NEAR(frequencyHz(), expectedHz, 0.06f) << c.dx << ", " << c.dy;
        EXPECT_NEAR(q().getValue(), std::clamp(startQ + c.dy / height, 0.0f, 1.0f), 0.001f) << c.dx << ", " << c.dy;
        for (const auto* gestures : {&frequencyGestures, &qGestures})
        {
            EXPECT_EQ(gestures->begins, 1);
            EXPECT_EQ(gestures->ends, 1);
            EXPECT_FALSE(gestures->changedOutsideGesture);
        }
    }
    EXPECT_EQ(frequencyHz(), 20.0f) << "beyond the left edge: the bottom of the axis";
    EXPECT_EQ(q().getValue(), 0.0f);
    window.drag({200.0f, 60.0f}, {1500.0f, 60.0f});
    EXPECT_EQ(frequencyHz(), 9000.0f) << "beyond the right edge: the top";
    EXPECT_EQ(dragStarts, 7);
    EXPECT_EQ(dragEnds, 7);
}

TEST_F(SpectrumXYOverlayTest, APressWithoutMovementChangesNothingButStillMakesItsGestures)
{
    DesktopWindow window(*overlay);
    ParameterGestures frequencyGestures(frequency()), qGestures(q());
    const auto startFrequency = frequency().getValue(), startQ = q().getValue();
    window.click({300.0f, 100.0f});
    EXPECT_EQ(frequency().getValue(), startFrequency);
    EXPECT_EQ(q().getValue(), startQ);
    EXPECT_EQ(frequencyGestures.begins + qGestures.begins, 2);
    EXPECT_EQ(frequencyGestures.ends + qGestures.ends, 2);
    EXPECT_EQ(frequencyGestures.changes + qGestures.changes, 0);
    EXPECT_EQ(dragStarts, 1);
    EXPECT_EQ(dragEnds, 1);
    EXPECT_EQ(overlay->getMouseCursor(), juce::MouseCursor(juce::MouseCursor::UpDownLeftRightResizeCursor));
    EXPECT_FALSE(overlay->getWantsKeyboardFocus());
}

TEST_F(SpectrumXYOverlayTest, IgnoresDragsWhenOnePixelHighOrAParameterIsMissing)
{
    overlay->setSize(static_cast<int>(width), 1);
    {
        DesktopWindow window(*overlay);
        ParameterGestures gestures(frequency());
        window.drag({100.0f, 0.5f}, {300.0f, 0.5f});
        EXPECT_EQ(gestures.changes, 0);
        EXPECT_EQ(gestures.begins, 1);
    }

    // Without a Q parameter the frequency does not move either, though its gesture opens and closes.
    SpectrumXYOverlay frequencyOnly(view, &frequency(), nullptr);
    frequencyOnly.setSize(static_cast<int>(width), static_cast<int>(height));
    DesktopWindow window(frequencyOnly);
    ParameterGestures gestures(frequency());
    window.drag({100.0f, 50.0f}, {300.0f, 90.0f});
    EXPECT_EQ(gestures.changes, 0);
    EXPECT_EQ(gestures.begins, 1);
    EXPECT_EQ(gestures.ends, 1);
}
