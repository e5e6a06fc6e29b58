// The five utility buttons bound to the processor's parameters: clicked and dragged through their
// window, drawn, and repainted on the message thread whoever changes their parameter.
#include "editor/InertiaButton.h"
#include "editor/OnOffButtons.h"
#include "editor/OrderButton.h"
#include "editor/StopButton.h"
#include "editor/UiLookAndFeel.h"
#include "plugin/QuillmoreAudioProcessor.h"
#include "tests/editor/EditorTestBed.h"
#include "tests/editor/ParameterGestures.h"

#include <gtest/gtest.h>

#include <thread>

using namespace EditorTestBed;

namespace
{
constexpr int side = 60; // margin 4, inner 52, label band 17

class UtilityButtonsTest : public ::testing::Test
{
protected:
    template <typename Button>
    void bind(Button& button, const char* parameterID)
    {
        button.setLookAndFeel(&lookAndFeel);
        button.bindUtilityButton(processor.apvts, parameterID);
        button.parameter = processor.apvts.getParameter(parameterID);
        button.setSize(side, side);
    }

    juce::RangedAudioParameter& parameter(const char* id) { return *processor.apvts.getParameter(id); }

    QuillmoreAudioProcessor processor;
    UiLookAndFeel lookAndFeel; // outlives the buttons of each test
};

// The square's bottom-left corner inside the outline, where no text or symbol is drawn.
juce::Colour corner(juce::Component& button)
{
    return pixel(render(button), 3, side - 4);
}

void expectNear(juce::Colour seen, juce::Colour expected)
{
    EXPECT_NEAR(seen.getRed(), expected.getRed(), 1) << seen.toDisplayString(true);
    EXPECT_NEAR(seen.getGreen(), expected.getGreen(), 1) << seen.toDisplayString(true);
    EXPECT_NEAR(seen.getBlue(), expected.getBlue(), 1) << seen.toDisplayString(true);
}

// 0xcc808287 (grey at alpha 0.8) over black.
const juce::Colour greyedOff(102, 104, 108);

bool sameImage(const juce::Image& a, const juce::Image& b)
{
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (a.getPixelAt(x, y) != b.getPixelAt(x, y))
                return false;
    return true;
}
} // namespace

TEST_F(UtilityButtonsTest, SectionSwitchesToggleOnMouseDownAndShowOnOrOff)
{
    UtilityButtons::HeadsOnButton heads;
    UtilityButtons::SpaceOnButton space;
    bind(heads, "HeadsOn");
    bind(space, "SpaceOn");
    EXPECT_EQ(heads.getSectionLabel(), "HEADS");
    EXPECT_EQ(space.getSectionLabel(), "SPACE");

    for (auto* button : std::initializer_list<UtilityButtons::OnOffButtonBase*>{&heads, &space})
    {
        auto& switched = *button->parameter;
        ParameterGestures gestures(switched);
        DesktopWindow window(*button);
        ASSERT_EQ(switched.getValue(), 1.0f) << "both sections start on";
        EXPECT_EQ(corner(*button), juce::Colours::black) << "on: no grey";
        writeSnapshot(render(*button), button->getSectionLabel().toLowerCase() + "-on");

        window.press({30.0f, 30.0f});
        EXPECT_EQ(switched.getValue(), 0.0f) << "the switch acts on mouse-down";
        window.release({30.0f, 30.0f});
        window.hover({200.0f, 200.0f});
        expectNear(corner(*button), greyedOff);
        writeSnapshot(render(*button), button->getSectionLabel().toLowerCase() + "-off");

        window.click({30.0f, 30.0f});
        EXPECT_EQ(switched.getValue(), 1.0f);
        EXPECT_EQ(gestures.begins, 0) << "a switch opens no gesture";
        EXPECT_EQ(gestures.changes, 2);
    }
}

TEST_F(UtilityButtonsTest, OrderSwapsWhichSectionReadsFirst)
{
    UtilityButtons::OrderButton order;
    bind(order, "Order");
    DesktopWindow window(order);
    window.hover({200.0f, 200.0f});
    ASSERT_EQ(parameter("Order").getValue(), 1.0f); // Space first
    const auto spaceFirst = render(order);
    writeSnapshot(spaceFirst, "order-space-first");

    window.click({30.0f, 30.0f});
    window.hover({200.0f, 200.0f});
    EXPECT_EQ(parameter("Order").getValue(), 0.0f);
    const auto headsFirst = render(order);
    writeSnapshot(headsFirst, "order-heads-first");
    EXPECT_FALSE(sameImage(spaceFirst, headsFirst));

    window.click({30.0f, 30.0f});
    window.hover({200.0f, 200.0f});
    EXPECT_EQ(parameter("Order").getValue(), 1.0f);
    EXPECT_TRUE(sameImage(render(order), spaceFirst));
}

TEST_F(UtilityButtonsTest, StopTurnsPinkWhileTheTapeIsStopped)
{
    UtilityButtons::StopButton stop;
    bind(stop, "TapeStop");
    DesktopWindow window(stop);
    window.hover({200.0f, 200.0f});
    EXPECT_EQ(corner(stop), juce::Colours::black);
    // The stop symbol: a light square of 25 pixels in the lower part.
    EXPECT_GT(pixel(render(stop), 30, 38).getBrightness(), 0.85f);

    window.press({30.0f, 30.0f});
    EXPECT_EQ(parameter("TapeStop").getValue(), 1.0f);
    // Pressed: the white tint at alpha 0.2 over the pink.
    expectNear(corner(stop), juce::Colour(UtilityButtons::StopButton::stoppedColour).interpolatedWith(juce::Colours::white, 51.0f / 255.0f));
    window.release({30.0f, 30.0f});
    window.hover({200.0f, 200.0f});
    EXPECT_EQ(corner(stop), juce::Colour(UtilityButtons::StopButton::stoppedColour));
    writeSnapshot(render(stop), "stop-stopped");
}

TEST_F(UtilityButtonsTest, HoverAndPressTintTheSquare)
{
    UtilityButtons::StopButton stop;
    bind(stop, "TapeStop");
    DesktopWindow window(stop);
    window.hover({30.0f, 30.0f});
    EXPECT_TRUE(stop.isHovered());
    EXPECT_EQ(corner(stop).getRed(), 38) << "white at alpha 0.15";
    window.hover({200.0f, 200.0f});
    EXPECT_FALSE(stop.isHovered());
    EXPECT_EQ(corner(stop).getRed(), 0);
}

TEST_F(UtilityButtonsTest, InertiaDragsAt0004PerPixelAndShowsItsValue)
{
    TestClock clock;
    UtilityButtons::InertiaButton inertia;
    bind(inertia, "TapeStopInertia");
    auto& stopInertia = parameter("TapeStopInertia");
    ParameterGestures gestures(stopInertia);
    DesktopWindow window(inertia);
    EXPECT_EQ(inertia.getShownLabel(), "INERTIA");

    stopInertia.setValueNotifyingHost(0.9f);
    EXPECT_FALSE(inertia.isShowingValue()) << "a change from elsewhere only moves the pointer";
    window.drag({30.0f, 40.0f}, {45.0f, -60.0f}); // 100 pixels up (sideways ignored): clamped at the top
    EXPECT_FLOAT_EQ(stopInertia.getValue(), 1.0f);

    stopInertia.setValueNotifyingHost(0.9f);
    window.press({30.0f, 40.0f});
    EXPECT_TRUE(inertia.isShowingValue());
    EXPECT_EQ(inertia.getShownLabel(), stopInertia.getText(0.9f, 0));
    window.dragTo({30.0f, 140.0f}); // 100 pixels down
    EXPECT_NEAR(stopInertia.getValue(), 0.5f, 1.0e-4f);
    EXPECT_EQ(inertia.getShownLabel(), stopInertia.getText(stopInertia.getValue(), 0));
    EXPECT_TRUE(inertia.isPressed());
    window.release({30.0f, 140.0f});
    EXPECT_EQ(gestures.begins, 0);

    // The value stays for 1200 ms after the release, then the caption returns.
    EXPECT_EQ(inertia.getTimerInterval(), 1200);
    EXPECT_TRUE(tick(inertia));
    EXPECT_FALSE(inertia.isShowingValue());
    EXPECT_EQ(inertia.getShownLabel(), "INERTIA");
    EXPECT_FALSE(inertia.isTimerRunning());

    // A value text function of the editor's replaces the parameter's own text.
    inertia.setValueTextFunction([](float v) { return juce::String(v, 2) + " of the range"; });
    window.click({30.0f, 40.0f});
    EXPECT_EQ(inertia.getShownLabel(), "0.50 of the range");
}

TEST_F(UtilityButtonsTest, InertiaPointerTurnsWithTheValue)
{
    UtilityButtons::InertiaButton inertia;
    bind(inertia, "TapeStopInertia");
    auto& stopInertia = parameter("TapeStopInertia");
    // The knob: diameter 26 centred at (30, 38); the pointer reaches 10.9 pixels out.
    const auto pointerAt = [&inertia](int x, int y) { return pixel(render(inertia), x, y).getBrightness() > 0.6f; };

    stopInertia.setValueNotifyingHost(0.5f); // straight up
    EXPECT_TRUE(pointerAt(30, 31));
    EXPECT_FALSE(pointerAt(25, 43));
    writeSnapshot(render(inertia), "inertia-middle");

    stopInertia.setValueNotifyingHost(0.0f); // down-left
    EXPECT_TRUE(pointerAt(25, 43));
    EXPECT_FALSE(pointerAt(30, 31));
    stopInertia.setValueNotifyingHost(1.0f); // down-right
    EXPECT_TRUE(pointerAt(35, 43));
}

TEST(UtilityButtons, WithoutAParameterClicksChangeNothingAndTheButtonsDrawOff)
{
    UtilityButtons::HeadsOnButton heads;
    UtilityButtons::StopButton stop;
    UtilityButtons::InertiaButton inertia;
    for (auto* button : std::initializer_list<juce::Component*>{&heads, &stop, &inertia})
        button->setSize(side, side);
    {
        DesktopWindow window(heads);
        window.click({30.0f, 30.0f});
        window.hover({200.0f, 200.0f});
        expectNear(corner(heads), greyedOff);
    }
    {
        DesktopWindow window(inertia);
        window.drag({30.0f, 40.0f}, {30.0f, 0.0f});
        EXPECT_FALSE(inertia.isShowingValue());
        EXPECT_EQ(inertia.getShownLabel(), "INERTIA");
    }
    EXPECT_EQ(corner(stop), juce::Colours::black);

    // A wider button draws its square in the middle and leaves the sides unpainted.
    heads.setSize(100, side);
    const auto wide = render(heads);
    EXPECT_EQ(pixel(wide, 10, 30), juce::Colours::black);
    expectNear(pixel(wide, 23, side - 4), greyedOff);
    EXPECT_EQ(pixel(wide, 90, 30), juce::Colours::black);
}

TEST_F(UtilityButtonsTest, ChangesFromAnotherThreadRepaintOnTheMessageThreadOnly)
{
    UtilityButtons::HeadsOnButton heads;
    bind(heads, "HeadsOn");
    heads.setVisible(true);
    auto& switched = parameter("HeadsOn");
    RepaintRecorder repaints(heads);

    // Automation from a host thread: many changes, none of which may touch the component.
    std::thread host([&switched] {
        for (int i = 0; i < 200; ++i)
            switched.setValueNotifyingHost(static_cast<float>(i % 2));
    });
    host.join();
    EXPECT_EQ(repaints.offMessageThread(), 0);
    EXPECT_EQ(repaints.onMessageThread(), 0);
    EXPECT_TRUE(heads.getRepaintListener().isRepaintPending());

    // The listener's timer, on the message thread, repaints once for all of them.
    EXPECT_EQ(heads.getRepaintListener().getTimerInterval(), UtilityButtons::ApvtsRepaintListener::pollMs);
    EXPECT_TRUE(tick(heads.getRepaintListener()));
    EXPECT_EQ(repaints.onMessageThread(), 1);
    EXPECT_TRUE(tick(heads.getRepaintListener()));
    EXPECT_EQ(repaints.onMessageThread(), 1) << "nothing new to show";
    EXPECT_EQ(switched.getValue(), 1.0f);
    EXPECT_EQ(corner(heads), juce::Colours::black);

    // On the message thread (the editor's own controls, preset loads) the repaint comes at once.
    switched.setValueNotifyingHost(0.0f);
    EXPECT_EQ(repaints.onMessageThread(), 2);
    EXPECT_EQ(repaints.offMessageThread(), 0);
}

TEST_F(UtilityButtonsTest, OneRegistrationPerBindingAndNoneOnceDetached)
{
    UtilityButtons::SpaceOnButton space;
    bind(space, "SpaceOn");
    space.bindUtilityButton(processor.apvts, "SpaceOn"); // bound again: still one listener
    space.setVisible(true);
    auto& switched = parameter("SpaceOn");
    RepaintRecorder repaints(space);

    switched.setValueNotifyingHost(0.0f);
    EXPECT_EQ(repaints.onMessageThread(), 1);

    space.getRepaintListener().detach();
    switched.setValueNotifyingHost(1.0f);
    std::thread host([&switched] { switched.setValueNotifyingHost(0.0f); });
    host.join();
    EXPECT_EQ(repaints.onMessageThread(), 1);
    EXPECT_FALSE(space.getRepaintListener().isRepaintPending());
    EXPECT_FALSE(space.getRepaintListener().isTimerRunning());
}
