// The gain read-out labels with their hold, the section captions and the plain fills.
#include "editor/InOutLabel.h"
#include "editor/SolidFill.h"
#include "editor/StaticLabel.h"
#include "editor/UiLookAndFeel.h"
#include "tests/editor/EditorTestBed.h"

#include <gtest/gtest.h>

using namespace EditorTestBed;

TEST(InOutLabel, ShowsTheValueUntil1200MsAfterTheLastCall)
{
    TestClock clock;
    UiLookAndFeel lookAndFeel;
    InOutLabel label("INPUT");
    label.setLookAndFeel(&lookAndFeel);
    label.setSize(109, 24);
    EXPECT_EQ(label.getText(), "INPUT");
    writeSnapshot(render(label), "input-caption");

    label.showValue("+1.5 dB");
    EXPECT_EQ(label.getText(), "+1.5 dB");
    EXPECT_EQ(label.getTimerInterval(), InOutLabel::pollMs);
    writeSnapshot(render(label), "input-value");

    clock.advance(800);
    label.showValue("+2.0 dB"); // a second change extends the hold
    clock.advance(1200);
    EXPECT_TRUE(tick(label));
    EXPECT_EQ(label.getText(), "+2.0 dB");
    clock.advance(1);
    EXPECT_TRUE(tick(label));
    EXPECT_EQ(label.getText(), "INPUT");
    EXPECT_FALSE(label.isTimerRunning());
    label.setLookAndFeel(nullptr);
}

TEST(CaptionLabels, UseTheLightFaceWideAndLetClicksThrough)
{
    UiLookAndFeel lookAndFeel;
    InOutLabel gain("OUTPUT");
    StaticLabel section("NOISE");
    for (auto* label : std::initializer_list<juce::Label*>{&gain, &section})
    {
        label->setLookAndFeel(&lookAndFeel);
        label->setSize(250, 24);
        const auto font = lookAndFeel.getLabelFont(*label);
        EXPECT_FLOAT_EQ(font.getHeight(), 0.8f * 24.0f);
        EXPECT_EQ(font.getTypefacePtr(), lookAndFeel.getLightFace());
        EXPECT_EQ(label->findColour(juce::Label::textColourId), juce::Colours::white);
        bool self = true, children = true;
        label->getInterceptsMouseClicks(self, children);
        EXPECT_FALSE(self || children);
    }
    EXPECT_FLOAT_EQ(lookAndFeel.getLabelFont(gain).getHorizontalScale(), 2.0f);
    EXPECT_FLOAT_EQ(lookAndFeel.getLabelFont(section).getHorizontalScale(), 2.3f);
    EXPECT_EQ(gain.getJustificationType(), juce::Justification::centred);
    EXPECT_EQ(section.getJustificationType(), juce::Justification::centredLeft);
    writeSnapshot(render(section), "section-caption");

    // The caption is drawn: white ink in its left part for the left-aligned one, none at the far right.
    const auto image = render(section);
    int leftInk = 0, rightInk = 0;
    for (int y = 0; y < 24; ++y)
    {
        for (int x = 0; x < 60; ++x)
            leftInk += image.getPixelAt(x, y).getRed() > 0xc0 ? 1 : 0;
        for (int x = 240; x < 250; ++x)
            rightInk += image.getPixelAt(x, y).getRed() > 0xc0 ? 1 : 0;
    }
    EXPECT_GT(leftInk, 30);
    EXPECT_EQ(rightInk, 0);
    gain.setLookAndFeel(nullptr);
    section.setLookAndFeel(nullptr);
}

TEST(SolidFill, TakesItsColourIdsColourOrItsFixedColour)
{
    UiLookAndFeel lookAndFeel;
    SolidFill fill(juce::Colour(0xff05080a));
    DarkGreyBckgnd dark(juce::Colour(0xff141928));
    for (auto* component : std::initializer_list<SolidFill*>{&fill, &dark})
    {
        component->setLookAndFeel(&lookAndFeel);
        component->setSize(10, 10);
    }
    EXPECT_EQ(pixel(render(fill), 5, 5), juce::Colour(0xff05080a));
    EXPECT_EQ(pixel(render(dark), 5, 5), juce::Colour(0xff141928));

    // Bound to the display background, which no skin has set yet, it keeps its fixed colour ...
    Quillmore::setFillColourId(dark);
    EXPECT_EQ(pixel(render(dark), 5, 5), juce::Colour(0xff141928));
    // ... takes the skin's colour once there is one ...
    lookAndFeel.setColour(UiLookAndFeel::displayBackgroundColourId, juce::Colour(0xff191919));
    EXPECT_EQ(pixel(render(dark), 5, 5), juce::Colour(0xff191919));
    // ... and falls back again under an empty palette's fully transparent colour.
    lookAndFeel.setColour(UiLookAndFeel::displayBackgroundColourId, juce::Colour(0x00000000));
    EXPECT_EQ(pixel(render(dark), 5, 5), juce::Colour(0xff141928));

    bool self = true, children = true;
    fill.getInterceptsMouseClicks(self, children);
    EXPECT_FALSE(self || children);
    fill.setLookAndFeel(nullptr);
    dark.setLookAndFeel(nullptr);
}
