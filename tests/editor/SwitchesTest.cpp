// The bypass switch, the page tab and the parameter toggles: drawn, and clicked through their window.
#include "editor/OvalBypassToggle.h"
#include "editor/PanelToggleShapedHitTest.h"
#include "editor/ParamToggleButton.h"
#include "editor/UiLookAndFeel.h"
#include "tests/editor/EditorTestBed.h"

#include <gtest/gtest.h>

using namespace EditorTestBed;

namespace
{
// What lies beneath a control: counts the clicks that reach it.
class Beneath : public juce::Component
{
public:
    void mouseDown(const juce::MouseEvent&) override { ++clicks; }
    int clicks = 0;
};
} // namespace

TEST(OvalBypassToggle, ClickTogglesAndTheKnobMovesLeftWhenOn)
{
    OvalBypassToggle toggle;
    toggle.setSize(80, 40);
    DesktopWindow window(toggle);
    // Body from 3.6 to 76.4 with radius 16.4: the knob sits at x = 20 when on, x = 60 when off.
    const auto off = render(toggle);
    writeSnapshot(off, "bypass-off");
    EXPECT_EQ(pixel(off, 60, 20), juce::Colours::white);
    EXPECT_EQ(pixel(off, 20, 20), juce::Colour(0xff141928));
    EXPECT_EQ(pixel(off, 40, 3), juce::Colours::white) << "the outline";
    EXPECT_EQ(pixel(off, 1, 1), juce::Colours::black) << "outside the pill";

    window.click({40.0f, 20.0f});
    ASSERT_TRUE(toggle.getToggleState());
    const auto on = render(toggle);
    writeSnapshot(on, "bypass-on");
    EXPECT_EQ(pixel(on, 20, 20), juce::Colours::white);
    EXPECT_EQ(pixel(on, 60, 20), juce::Colour(0xff141928));

    window.hover({40.0f, 20.0f});
    EXPECT_EQ(render(toggle).getPixelAt(60, 20), juce::Colour(0xff141928)) << "hover changes nothing";
    window.click({40.0f, 20.0f});
    EXPECT_FALSE(toggle.getToggleState());
}

TEST(PanelToggleShapedHitTest, TakesClicksInsideItsTabShapeAndPassesTheCornersOn)
{
    // The editor's page tab over the top band at 750 x 475: corners rounded with a radius of 90.55,
    // the top edge 2 pixels down.
    Beneath beneath;
    beneath.setSize(750, 117);
    PanelToggleShapedHitTest tab;
    tab.setClickingTogglesState(true);
    beneath.addAndMakeVisible(tab);
    tab.setBounds(0, 0, 750, 117);
    int pageSwitches = 0;
    tab.onClick = [&pageSwitches] { ++pageSwitches; };

    for (const auto& inside : {juce::Point<int>(375, 50), juce::Point<int>(375, 3), juce::Point<int>(5, 110),
                               juce::Point<int>(745, 110), juce::Point<int>(70, 30)})
        EXPECT_TRUE(tab.hitTest(inside.x, inside.y)) << inside.toString();
    for (const auto& corner : {juce::Point<int>(10, 10), juce::Point<int>(740, 10), juce::Point<int>(30, 5),
                               juce::Point<int>(0, 100), juce::Point<int>(749, 100)})
        EXPECT_FALSE(tab.hitTest(corner.x, corner.y)) << corner.toString();

    DesktopWindow window(beneath);
    window.click({10.0f, 10.0f});
    EXPECT_EQ(pageSwitches, 0) << "a click in the corner does not switch the page";
    EXPECT_EQ(beneath.clicks, 1) << "it reaches what lies beneath";
    window.click({375.0f, 60.0f});
    EXPECT_EQ(pageSwitches, 1);
    EXPECT_TRUE(tab.getToggleState());
    EXPECT_EQ(beneath.clicks, 1);
}

TEST(ParamToggleButton, ColoursFallBackUnlessOpaqueAndLiftUnderTheMouse)
{
    UiLookAndFeel lookAndFeel;
    lookAndFeel.setColour(UiLookAndFeel::syncOnColourId, juce::Colour(0x80960aaa)); // translucent on colour
    ParamToggleButton toggle;
    toggle.setLookAndFeel(&lookAndFeel);
    toggle.setTexts("HOST SYNC ON", "HOST SYNC OFF");
    toggle.setOnColourId(UiLookAndFeel::syncOnColourId);
    toggle.setOffColourId(UiLookAndFeel::toggleOffColourId); // 0x5affffff, as in every skin
    toggle.setOutlineColourId(UiLookAndFeel::toggleOutlineColourId);
    toggle.setSize(220, 30);
    EXPECT_FALSE(toggle.getWantsKeyboardFocus());
    DesktopWindow window(toggle);

    // Left of the text, inside the rounded body.
    const auto fill = [&toggle] { return pixel(render(toggle), 4, 15); };
    EXPECT_EQ(fill(), juce::Colour(0xff555555)) << "a translucent off colour gives the grey fall-back";
    writeSnapshot(render(toggle), "toggle-off");

    window.hover({110.0f, 15.0f});
    EXPECT_EQ(fill(), juce::Colour(0xff6d6d6d)) << "hovered: 255 - (255 - 0x55) / 1.17";
    window.press({110.0f, 15.0f});
    EXPECT_EQ(fill(), juce::Colour(0xff8e8e8e)) << "pressed: lifted again by 1.3";
    window.release({110.0f, 15.0f});
    ASSERT_TRUE(toggle.getToggleState());
    window.hover({300.0f, 100.0f}); // away

    EXPECT_EQ(fill(), juce::Colour(ParamToggleButton::fallbackOnColour)) << "a translucent on colour gives dark green";
    lookAndFeel.setColour(UiLookAndFeel::syncOnColourId, juce::Colour(0xff960aaa));
    EXPECT_EQ(fill(), juce::Colour(0xff960aaa));
    writeSnapshot(render(toggle), "toggle-on");

    // The outline: its colour ID's colour, white at 0xe6 when that is transparent.
    EXPECT_EQ(pixel(render(toggle), 110, 0).getRed(), 0xff);
    lookAndFeel.setColour(UiLookAndFeel::toggleOutlineColourId, juce::Colour(0x00000000));
    lookAndFeel.setColour(UiLookAndFeel::syncOnColourId, juce::Colour(0xff000000));
    EXPECT_GT(pixel(render(toggle), 110, 0).getRed(), 0x60);

    // No colour IDs at all: the fixed colours.
    ParamToggleButton bare;
    bare.setLookAndFeel(&lookAndFeel);
    bare.setSize(220, 30);
    EXPECT_EQ(pixel(render(bare), 4, 15), juce::Colour(0xff555555));
    bare.setToggleState(true, juce::dontSendNotification);
    EXPECT_EQ(pixel(render(bare), 4, 15), juce::Colour(0xff006400));
    EXPECT_EQ(bare.getButtonText(), "");
    bare.setLookAndFeel(nullptr);
    toggle.setLookAndFeel(nullptr);
}

TEST(ParamToggleButton, ShowsTheTextOfItsState)
{
    UiLookAndFeel lookAndFeel;
    ParamToggleButton toggle;
    toggle.setLookAndFeel(&lookAndFeel);
    toggle.setSize(220, 30);
    const auto inkOf = [&toggle] {
        const auto image = render(toggle);
        int ink = 0;
        for (int y = 4; y < 26; ++y)
            for (int x = 8; x < 212; ++x)
                ink += image.getPixelAt(x, y).getRed() > 0xa0 ? 1 : 0;
        return ink;
    };
    toggle.setTexts("SEND/RET MODE", "WET/DRY MODE");
    const auto offInk = inkOf();
    EXPECT_GT(offInk, 50);
    toggle.setTexts("SEND/RET MODE", {});
    EXPECT_EQ(inkOf(), 0) << "an empty text draws none";
    toggle.setTexts({}, "WET/DRY MODE");
    EXPECT_EQ(inkOf(), offInk);
    toggle.setLookAndFeel(nullptr);
}
