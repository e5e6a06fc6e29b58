// The look and feel's colour table, faces, label font rule and page tab.
#include "editor/UiLookAndFeel.h"
#include "tests/editor/EditorTestBed.h"

#include <gtest/gtest.h>

#include <limits>

using namespace EditorTestBed;

namespace
{
struct StartingColour
{
    int id;
    juce::uint32 argb; // 0: none set before a skin is applied
};

constexpr StartingColour startingColours[] = {
    {UiLookAndFeel::overdriveColourId, 0xffff9650},
    {UiLookAndFeel::historyCentreLineColourId, 0xffff327a},
    {UiLookAndFeel::spectrumGlowColourId, 0x5ac86edc},
    {UiLookAndFeel::panelToggleHighlightColourId, 0xff434e58},
    {UiLookAndFeel::returnModeColourId, 0xff5998a6},
    {UiLookAndFeel::displayBackgroundColourId, 0},
    {UiLookAndFeel::sideAAccentColourId, 0},
    {UiLookAndFeel::sideBAccentColourId, 0},
    {UiLookAndFeel::syncOnColourId, 0xff960aaa},
    {UiLookAndFeel::toggleOutlineColourId, 0xffffffff},
    {UiLookAndFeel::toggleOffColourId, 0x5affffff},
    {UiLookAndFeel::warbleColourId, 0},
    {UiLookAndFeel::ledLowColourId, 0},
    {UiLookAndFeel::ledHighColourId, 0},
    {UiLookAndFeel::eqHighPassShadeColourId, 0},
    {UiLookAndFeel::eqHighPassShadeEndColourId, 0},
    {UiLookAndFeel::eqRolloffShadeColourId, 0},
    {UiLookAndFeel::eqRolloffShadeEndColourId, 0},
    {UiLookAndFeel::spectrumLineColourId, 0},
    {UiLookAndFeel::spectrumFillColourId, 0},
    {UiLookAndFeel::spectrumMarkerColourId, 0},
    {0x1001200, 0xf0030405}, // slider background
    {0x1001310, 0xffff327a}, // slider track
    {0x1000100, 0xffc8d2dc}, // text button
    {0x1000102, 0xffffffff}, // text button text, off
    {0x1000103, 0xffffffff}, // text button text, on
};

// A label of some height with the given font settings in its properties.
struct FontCase
{
    int labelHeight;
    juce::var kind, fraction, scale; // void: property absent
    float expectedHeight;
    bool expectRegular;
    float expectedScale;
};
} // namespace

TEST(UiLookAndFeel, EveryColourIdReadsItsStartingColour)
{
    const UiLookAndFeel lookAndFeel;
    for (const auto& colour : startingColours)
    {
        SCOPED_TRACE(juce::String::toHexString(colour.id).toStdString());
        if (colour.argb == 0)
        {
            EXPECT_FALSE(lookAndFeel.isColourSpecified(colour.id));
        }
        else
        {
            ASSERT_TRUE(lookAndFeel.isColourSpecified(colour.id));
            EXPECT_EQ(lookAndFeel.findColour(colour.id).getARGB(), colour.argb);
        }
    }
    EXPECT_EQ(static_cast<juce::uint32>(juce::Slider::backgroundColourId), 0x1001200u);
    EXPECT_EQ(static_cast<juce::uint32>(juce::Slider::trackColourId), 0x1001310u);
}

TEST(UiLookAndFeel, BothFacesComeFromTheEmbeddedCondensedFamily)
{
    UiLookAndFeel lookAndFeel;
    ASSERT_NE(lookAndFeel.getLightFace(), nullptr);
    ASSERT_NE(lookAndFeel.getRegularFace(), nullptr);
    EXPECT_EQ(lookAndFeel.getLightFace()->getName(), "Roboto Condensed");
    EXPECT_EQ(lookAndFeel.getLightFace()->getStyle(), "Light");
    EXPECT_EQ(lookAndFeel.getRegularFace()->getName(), "Roboto Condensed");
    EXPECT_EQ(lookAndFeel.getRegularFace()->getStyle(), "Regular");
    // The Light face is also the look and feel's default sans-serif face.
    EXPECT_EQ(lookAndFeel.getTypefaceForFont(juce::Font(12.0f)), lookAndFeel.getLightFace());

    // The faces draw: a word in each covers pixels, the Regular one more of them (heavier strokes).
    const auto inkOf = [&](juce::Typeface::Ptr face) {
        juce::Image image(juce::Image::SingleChannel, 200, 60, true);
        juce::Graphics g(image);
        g.setFont(juce::Font(face).withHeight(40.0f));
        g.setColour(juce::Colours::white);
        g.drawText("SIDE A", 0, 0, 200, 60, juce::Justification::centred);
        double ink = 0.0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 200; ++x)
                ink += image.getPixelAt(x, y).getAlpha();
        return ink;
    };
    const auto light = inkOf(lookAndFeel.getLightFace());
    EXPECT_GT(light, 0.0);
    EXPECT_GT(inkOf(lookAndFeel.getRegularFace()), light * 1.15);
}

TEST(UiLookAndFeel, LabelFontFollowsTheLabelsHeightAndSettings)
{
    UiLookAndFeel lookAndFeel;
    const auto nan = std::numeric_limits<double>::quiet_NaN();
    const auto inf = std::numeric_limits<double>::infinity();
    const FontCase cases[] = {
        {40, {}, {}, {}, 28.0f, false, 1.25f},                  // nothing set: Light, 0.7 of the height, 1.25 wide
        {10, {}, {}, {}, 8.0f, false, 1.25f},                   // the lower clamp
        {100, {}, 0.8, {}, 64.0f, false, 1.25f},                // the upper clamp
        {50, 1, 0.8, 2.3, 40.0f, false, 2.3f},                  // a section caption
        {50, 2, 0.5, 1.0, 25.0f, true, 1.0f},                   // the Regular face
        {50, -4, 0.5, 1.0, 25.0f, false, 1.0f},                 // kinds below 0 are 0
        {50, 9, 0.5, 1.0, 25.0f, true, 1.0f},                   // and above 2 are 2
        {50, 1.0e300, 0.1, {}, 20.0f, true, 1.25f},             // huge kind; fraction clamped up to 0.4
        {20, {}, 7.0, {}, 60.0f, false, 1.25f},                 // fraction clamped down to 3
        {40, nan, nan, nan, 28.0f, false, 1.25f},               // not numbers: as if absent
        {40, "Regular", inf, -inf, 28.0f, false, 1.25f},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE("label " + std::to_string(c.labelHeight) + " kind " + c.kind.toString().toStdString() + " fraction "
                     + c.fraction.toString().toStdString() + " scale " + c.scale.toString().toStdString());
        juce::Label label;
        label.setSize(200, c.labelHeight);
        if (!c.kind.isVoid())
            label.getProperties().set(uiFontKind, c.kind);
        if (!c.fraction.isVoid())
            label.getProperties().set(uiFontHeightFrac, c.fraction);
        if (!c.scale.isVoid())
            label.getProperties().set(uiFontHScale, c.scale);

        const auto font = lookAndFeel.getLabelFont(label);
        EXPECT_FLOAT_EQ(font.getHeight(), c.expectedHeight);
        EXPECT_FLOAT_EQ(font.getHorizontalScale(), c.expectedScale);
        EXPECT_EQ(font.getTypefacePtr(), c.expectRegular ? lookAndFeel.getRegularFace() : lookAndFeel.getLightFace());
    }
}

TEST(UiLookAndFeel, MakeFontKeepsHostileSizesDrawable)
{
    const UiLookAndFeel lookAndFeel;
    for (const float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -5.0f, 0.0f})
    {
        const auto font = lookAndFeel.makeFont(0, bad, bad);
        EXPECT_TRUE(std::isfinite(font.getHeight()) && font.getHeight() > 0.0f);
        EXPECT_TRUE(std::isfinite(font.getHorizontalScale()) && font.getHorizontalScale() > 0.0f);
    }
    EXPECT_FLOAT_EQ(lookAndFeel.makeFont(2, 1.0e9f, 1.0f).getHeight(), 1000.0f);
}

TEST(UiLookAndFeel, PageTabShowsOnlyAHoverOrPressShadeInItsTabShape)
{
    UiLookAndFeel lookAndFeel;
    lookAndFeel.setColour(UiLookAndFeel::panelToggleHighlightColourId, juce::Colour(0xff2080ff));
    juce::TextButton tab;
    tab.setLookAndFeel(&lookAndFeel);
    tab.setComponentID("panelToggle");
    tab.getProperties().set("isPanelToggleTopCap", true);
    tab.setSize(750, 117);

    // The drawn tab's top edge is 0.165 of the height down (19 pixels); its top corners are rounded
    // with a radius of 37.
    const auto shadeAt = [](const juce::Image& image, int x, int y) { return pixel(image, x, y).getBlue(); };

    const auto idle = render(tab);
    EXPECT_EQ(shadeAt(idle, 375, 60), 0) << "an idle tab draws nothing";

    tab.setState(juce::Button::buttonOver);
    const auto hovered = render(tab);
    writeSnapshot(hovered, "page-tab-hovered");
    // Alpha byte 31 of the highlight colour over black.
    EXPECT_NEAR(pixel(hovered, 375, 60).getBlue(), 255 * 31 / 255, 1);
    EXPECT_NEAR(pixel(hovered, 375, 60).getRed(), 0x20 * 31 / 255, 1);
    EXPECT_EQ(shadeAt(hovered, 375, 10), 0) << "above the tab's top edge";
    EXPECT_EQ(shadeAt(hovered, 6, 22), 0) << "in the rounded top-left corner";
    EXPECT_EQ(shadeAt(hovered, 744, 22), 0) << "in the rounded top-right corner";
    EXPECT_GT(shadeAt(hovered, 10, 100), 20) << "down the left side";

    tab.setState(juce::Button::buttonDown);
    EXPECT_NEAR(pixel(render(tab), 375, 60).getBlue(), 51, 1);

    // A highlight colour with alpha 0 counts as missing: white.
    lookAndFeel.setColour(UiLookAndFeel::panelToggleHighlightColourId, juce::Colour(0x00000000));
    const auto white = pixel(render(tab), 375, 60);
    EXPECT_NEAR(white.getRed(), 51, 1);
    EXPECT_NEAR(white.getGreen(), 51, 1);

    // Without the top cap the shade is a rounded rectangle over the whole button.
    tab.getProperties().set("isPanelToggleTopCap", false);
    const auto flat = render(tab);
    EXPECT_GT(shadeAt(flat, 375, 3), 20);
    EXPECT_EQ(shadeAt(flat, 0, 0), 0);
    tab.setLookAndFeel(nullptr);
}

TEST(UiLookAndFeel, ButtonsWithoutTextDrawNoText)
{
    UiLookAndFeel lookAndFeel;
    juce::TextButton plain("SAVE");
    plain.setLookAndFeel(&lookAndFeel);
    plain.setSize(120, 40);
    plain.setColour(juce::TextButton::buttonColourId, juce::Colours::black);
    const auto withText = render(plain);
    plain.setButtonText({});
    const auto withoutText = render(plain);

    int differing = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x)
            differing += withText.getPixelAt(x, y) != withoutText.getPixelAt(x, y) ? 1 : 0;
    EXPECT_GT(differing, 40) << "the framework's text of a button with a caption";
    for (int x = 20; x < 100; ++x)
        EXPECT_LT(withoutText.getPixelAt(x, 20).getBrightness(), 0.3f);
    plain.setLookAndFeel(nullptr);
}
