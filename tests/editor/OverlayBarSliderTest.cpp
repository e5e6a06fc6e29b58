// The bar slider bound to a real host parameter of the processor, driven through its window.
#include "editor/OverlayBarSlider.h"
#include "editor/UiLookAndFeel.h"
#include "plugin/QuillmoreAudioProcessor.h"
#include "tests/editor/EditorTestBed.h"
#include "tests/editor/ParameterGestures.h"

#include <gtest/gtest.h>

#include <limits>

using namespace EditorTestBed;
using SliderAttachment = juce::AudioProcessorValueTreeState::SliderAttachment;

namespace
{
class BoundBar : public ::testing::Test
{
protected:
    BoundBar()
    {
        bar.setLookAndFeel(&lookAndFeel);
        bar.setCaption("FEEDBACK");
        bar.setSize(300, 24);
        attachment = std::make_unique<SliderAttachment>(processor.apvts, "EchoFdbck", bar);
    }
    ~BoundBar() override
    {
        attachment.reset();
        bar.setLookAndFeel(nullptr);
    }

    juce::RangedAudioParameter& parameter() { return *processor.apvts.getParameter("EchoFdbck"); }
    juce::String valueText() { return bar.getTextFromValue(bar.getValue()); }

    TestClock clock;
    QuillmoreAudioProcessor processor;
    UiLookAndFeel lookAndFeel;
    OverlayBarSlider bar;
    std::unique_ptr<SliderAttachment> attachment;
};
} // namespace

TEST_F(BoundBar, DragMovesTheParameterInOneGestureAndShowsTheValueUntilTheHoldEnds)
{
    DesktopWindow window(bar);
    ParameterGestures gestures(parameter());
    EXPECT_EQ(bar.getShownText(), "FEEDBACK");
    writeSnapshot(render(bar), "bar-caption");

    window.press({30.0f, 12.0f});
    EXPECT_EQ(gestures.begins, 1);
    EXPECT_EQ(bar.getShownText(), valueText()) << "a pressed bar shows its value";
    const auto pressedValue = bar.getValue();

    clock.advance(500);
    window.dragTo({270.0f, 12.0f});
    EXPECT_GT(bar.getValue(), pressedValue + 50.0);
    window.release({270.0f, 12.0f});

    EXPECT_EQ(gestures.begins, 1);
    EXPECT_EQ(gestures.ends, 1);
    EXPECT_GT(gestures.changes, 0);
    EXPECT_FALSE(gestures.changedOutsideGesture);
    EXPECT_FLOAT_EQ(parameter().convertFrom0to1(parameter().getValue()), static_cast<float>(bar.getValue()));
    writeSnapshot(render(bar), "bar-value");

    // The value stays for 1200 ms after the last change (made 500 ms after the press) ...
    clock.advance(1199);
    EXPECT_TRUE(tick(bar));
    EXPECT_EQ(bar.getShownText(), valueText());
    // ... and the caption returns at the next timer tick after that; the timer then stops.
    clock.advance(1);
    EXPECT_TRUE(tick(bar));
    EXPECT_EQ(bar.getShownText(), "FEEDBACK");
    EXPECT_FALSE(bar.isTimerRunning());
    EXPECT_EQ(bar.getTimerInterval(), 0);
}

TEST_F(BoundBar, WheelStepsShowTheValueAndAreOneGestureEach)
{
    DesktopWindow window(bar);
    ParameterGestures gestures(parameter());
    const auto before = bar.getValue();
    window.wheel({150.0f, 12.0f}, 0.2f);
    EXPECT_GT(bar.getValue(), before);
    EXPECT_EQ(gestures.begins, 1);
    EXPECT_EQ(gestures.ends, 1);
    EXPECT_EQ(bar.getShownText(), valueText());
    EXPECT_EQ(bar.getTimerInterval(), OverlayBarSlider::pollMs);
}

TEST_F(BoundBar, HostAutomationMovesTheBarWithoutShowingTheValue)
{
    parameter().setValueNotifyingHost(parameter().convertTo0to1(110.0f));
    EXPECT_NEAR(bar.getValue(), 110.0, 0.05);
    EXPECT_EQ(bar.getShownText(), "FEEDBACK");
    EXPECT_FALSE(bar.isTimerRunning());
}

TEST_F(BoundBar, KeysReachTheFocusedBarThroughTheWindow)
{
    DesktopWindow window(bar);
    bar.setWantsKeyboardFocus(true);
    bar.grabKeyboardFocus();
    ASSERT_TRUE(bar.hasKeyboardFocus(false));
    const auto before = bar.getValue();
    EXPECT_TRUE(window.key(juce::KeyPress(juce::KeyPress::rightKey)));
    EXPECT_GT(bar.getValue(), before);
    EXPECT_FLOAT_EQ(parameter().convertFrom0to1(parameter().getValue()), static_cast<float>(bar.getValue()));
    EXPECT_EQ(bar.getShownText(), "FEEDBACK") << "only the mouse shows the value";
}

TEST(OverlayBarSlider, TextFallsBackToTheCaptionAndThenToABlank)
{
    TestClock clock;
    UiLookAndFeel lookAndFeel;
    OverlayBarSlider bar;
    bar.setLookAndFeel(&lookAndFeel);
    bar.setRange(0.0, 10.0);
    bar.setSize(200, 22);
    DesktopWindow window(bar);

    bar.textFromValueFunction = [](double) { return juce::String(); };
    bar.setCaption("SIZE");
    window.click({100.0f, 11.0f});
    ASSERT_TRUE(bar.isTimerRunning());
    EXPECT_EQ(bar.getShownText(), "SIZE") << "an empty value text shows the caption";

    bar.setCaption({});
    EXPECT_EQ(bar.getShownText(), " ");
    bar.textFromValueFunction = nullptr;
    bar.setLookAndFeel(nullptr);
}

TEST(OverlayBarSlider, PinnedBarShowsItsValueUntilUnpinned)
{
    TestClock clock;
    OverlayBarSlider bar;
    bar.setRange(0.0, 15.0, 1.0);
    bar.setCaption("SYNC DIVISION");
    bar.textFromValueFunction = [](double v) { return "1/" + juce::String(juce::roundToInt(v) + 1); };
    bar.setValue(7.0, juce::dontSendNotification);
    bar.setSize(200, 22);
    DesktopWindow window(bar);

    bar.setValuePinned(true);
    EXPECT_EQ(bar.getShownText(), "1/8");
    window.click({150.0f, 11.0f});
    clock.advance(5000);
    EXPECT_TRUE(tick(bar));
    EXPECT_TRUE(bar.isTimerRunning()) << "a pinned bar keeps its timer";
    EXPECT_EQ(bar.getShownText(), bar.getTextFromValue(bar.getValue()));

    // Unpinned after the deadline: the caption at once, and the timer stops at its next tick.
    bar.setValuePinned(false);
    EXPECT_EQ(bar.getShownText(), "SYNC DIVISION");
    EXPECT_TRUE(tick(bar));
    EXPECT_FALSE(bar.isTimerRunning());
    bar.textFromValueFunction = nullptr;
}

TEST(OverlayBarSlider, TextAlphaDimsTheWrittenText)
{
    UiLookAndFeel lookAndFeel;
    OverlayBarSlider bar;
    bar.setLookAndFeel(&lookAndFeel);
    bar.setColour(juce::Slider::backgroundColourId, juce::Colours::black);
    bar.setRange(0.0, 1.0);
    bar.setValue(0.0);
    bar.setCaption("ECHO SEND");
    bar.setSize(240, 24);

    const auto brightestText = [&bar](float alpha) {
        bar.textAlpha = alpha;
        const auto image = render(bar);
        int brightest = 0;
        for (int y = 3; y < 21; ++y)
            for (int x = 4; x < 200; ++x)
                brightest = std::max(brightest, static_cast<int>(image.getPixelAt(x, y).getRed()));
        return brightest;
    };
    const auto full = brightestText(1.0f);
    EXPECT_GT(full, 200);
    EXPECT_NEAR(brightestText(0.3f), full * 0.3, 12.0);
    writeSnapshot(render(bar), "bar-caption-dimmed-0.3");
    EXPECT_EQ(brightestText(std::numeric_limits<float>::quiet_NaN()), full) << "a hostile alpha draws at full";
    EXPECT_EQ(brightestText(-3.0f), 0);
    bar.setLookAndFeel(nullptr);
}
