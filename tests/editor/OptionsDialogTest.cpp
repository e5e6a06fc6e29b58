// The options dialog in the real editor, driven with the mouse and the keyboard in a real window,
// each test in its own home: the skin shows the moment it is picked and is in the file before the
// dialog closes, the hint choice is stored on closing (by the button or a click on the veil), a new
// editor reads both back, and the panel follows the window's size.
#include "tests/editor/SettingsHome.h"

#include <QuillmoreBinaryData.h>

using namespace EditorTestBed;

namespace
{
juce::Point<float> centreOf(const juce::Component& component)
{
    return component.getBounds().getCentre().toFloat();
}

// A point of the window at 750 x 475 outside the dialog's panel, where the veil takes the click.
const juce::Point<float> veilPoint{60.0f, 60.0f};
} // namespace

class OptionsDialogTest : public SettingsEditorFixture
{
protected:
    OptionsDialog& dialog() { return editor().optionsDialog; }

    // Tab from the dialog to the combo box, then the arrow keys, as a keyboard user picks an item; the
    // combo box tells of the change asynchronously, as it does after a pick from its pop-up menu.
    void pick(juce::ComboBox& combo, int itemId)
    {
        auto& window = openWindow();
        for (int i = 0; i < 4 && !combo.hasKeyboardFocus(false); ++i)
            window.key(juce::KeyPress(juce::KeyPress::tabKey));
        ASSERT_TRUE(combo.hasKeyboardFocus(false)) << "the tab key reaches the combo box";
        const auto key = combo.getSelectedId() < itemId ? juce::KeyPress::downKey : juce::KeyPress::upKey;
        for (int i = 0; i < 10 && combo.getSelectedId() != itemId; ++i)
            EXPECT_TRUE(window.key(juce::KeyPress(key)));
        ASSERT_EQ(combo.getSelectedId(), itemId);
        deliverPostedMessages();
        dialog().grabKeyboardFocus();
    }

    juce::Colour barTrackPixel(juce::Slider& bar)
    {
        const auto image = render(bar);
        return pixel(image, image.getWidth() - 4, image.getHeight() - 3);
    }
};

TEST_F(OptionsDialogTest, APickedSkinRecoloursTheWindowAtOnceAndIsStoredBeforeTheDialogCloses)
{
    openEditor();
    auto& window = openWindow();
    processor.apvts.getParameter("MstrWarble")->setValueNotifyingHost(1.0f);
    EXPECT_EQ(barTrackPixel(editor().masterWarbleBar).getARGB(), 0xffff327a) << "the first skin's SIDE A accent";

    editor().showOptionsDialog();
    ASSERT_TRUE(dialog().isVisible());
    EXPECT_EQ(dialog().getBounds(), editor().getLocalBounds());
    EXPECT_EQ(dialog().skinCombo.getText(), "Wavy Space");

    pick(dialog().skinCombo, 7);
    EXPECT_TRUE(dialog().isVisible()) << "the dialog stays open";
    EXPECT_EQ(home.storedValue("skinId"), juce::String("7"));
    EXPECT_EQ(barTrackPixel(editor().masterWarbleBar).getARGB(), 0xffff3888) << "the last skin's SIDE A accent";
    EXPECT_EQ(editor().inputKnob.findColour(juce::Slider::trackColourId).getARGB(), 0xffff3888);

    int size = 0;
    const char* data = QuillmoreBinaryData::getNamedResource("VaporTapeA_png", size);
    const auto vaporA = juce::ImageCache::getFromMemory(data, size);
    ASSERT_TRUE(vaporA.isValid());
    const auto background = render(editor().backgroundLayer);
    const auto scale = static_cast<float>(vaporA.getWidth()) / static_cast<float>(background.getWidth());
    for (const auto& point : {juce::Point<int>(6, 300), juce::Point<int>(375, 60), juce::Point<int>(740, 20)})
    {
        const auto shown = pixel(background, point.x, point.y);
        const auto source = vaporA.getPixelAt(juce::roundToInt(static_cast<float>(point.x) * scale),
                                              juce::roundToInt(static_cast<float>(point.y) * scale));
        EXPECT_NEAR(shown.getRed(), source.getRed(), 12) << point.toString();
        EXPECT_NEAR(shown.getGreen(), source.getGreen(), 12) << point.toString();
        EXPECT_NEAR(shown.getBlue(), source.getBlue(), 12) << point.toString();
    }
    writeSnapshot(render(editor()), "options-dialog-skin-7");

    window.click(centreOf(dialog().closeButton));
    EXPECT_FALSE(dialog().isVisible());

    openEditor();
    EXPECT_EQ(editor().getLookAndFeel().findColour(UiLookAndFeel::sideAAccentColourId).getARGB(), 0xffff3888)
        << "a new editor reads the skin back";
    editor().showOptionsDialog();
    EXPECT_EQ(dialog().skinCombo.getText(), "Vapor Tape");
}

TEST_F(OptionsDialogTest, PickingASkinOnSideBChangesBothImagesAndShowsSideBs)
{
    processor.activePanel = 1;
    openEditor();
    openWindow();
    const auto before = render(editor().backgroundLayer);
    editor().showOptionsDialog();
    pick(dialog().skinCombo, 2);

    auto imageFor = [](const char* name) {
        int size = 0;
        const char* data = QuillmoreBinaryData::getNamedResource(name, size);
        return juce::ImageCache::getFromMemory(data, size);
    };
    EXPECT_TRUE(editor().backgroundLayer.imageA == imageFor("RetroCassetteA_png"));
    EXPECT_TRUE(editor().backgroundLayer.imageB == imageFor("RetroCassetteB_png"));
    EXPECT_FALSE(editor().backgroundLayer.showSideA);
    EXPECT_NE(pixel(render(editor().backgroundLayer), 375, 60), pixel(before, 375, 60));
}

TEST_F(OptionsDialogTest, OpensOnTheStoredChoices)
{
    home.writeSettings("5", "0");
    openEditor();
    openWindow();
    editor().showOptionsDialog();
    EXPECT_EQ(dialog().skinCombo.getText(), "Demo Tape");
    EXPECT_EQ(dialog().hintsCombo.getText(), "Off");
    EXPECT_TRUE(dialog().hasKeyboardFocus(true));
    EXPECT_EQ(home.storedValue("skinId"), juce::String("5")) << "opening stores nothing";
}

TEST_F(OptionsDialogTest, HintsOffEmptiesTheHintBoxAndAClickOnTheVeilClosesLikeTheButton)
{
    openEditor();
    auto& window = openWindow();
    const auto knob = centreOf(editor().inputKnob);
    window.hover(knob);
    ASSERT_TRUE(editor().hintBox.getText().startsWith("MASTER INPUT:"));

    editor().showOptionsDialog();
    pick(dialog().hintsCombo, 2);
    EXPECT_FALSE(home.storedValue("showHints").has_value()) << "stored only when the dialog closes";
    window.click(centreOf(dialog().closeButton));
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(home.storedValue("showHints"), juce::String("0"));
    EXPECT_FALSE(editor().areHintsShown());
    EXPECT_TRUE(editor().hintBox.getText().isEmpty());
    window.hover(knob);
    EXPECT_TRUE(editor().hintBox.getText().isEmpty()) << "no hints while they are off";

    openEditor();
    EXPECT_FALSE(editor().areHintsShown()) << "a new editor reads the choice back";
    auto& newWindow = openWindow();
    editor().showOptionsDialog();
    EXPECT_EQ(dialog().hintsCombo.getText(), "Off");
    pick(dialog().hintsCombo, 1);
    newWindow.click(dialog().getPanel().getCentre().toFloat());
    EXPECT_TRUE(dialog().isVisible()) << "a press inside the panel does nothing";
    newWindow.click(veilPoint);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(home.storedValue("showHints"), juce::String("1"));
    newWindow.hover(knob);
    EXPECT_TRUE(editor().hintBox.getText().startsWith("MASTER INPUT:"));
}

TEST_F(OptionsDialogTest, PanelRowsAndCloseButtonFollowTheWindowSize)
{
    const struct
    {
        int width, height;
        juce::Rectangle<int> panel, skinLabel, skinCombo, hintsLabel, hintsCombo, closeButton;
    } cases[] = {
        {750, 475, {187, 142, 376, 191}, {203, 184, 150, 26}, {361, 184, 186, 26}, {203, 220, 150, 26}, {361, 220, 186, 26},
         {289, 291, 172, 26}},
        // Row 2 gets what is left of the inner area, the Close button nothing.
        {450, 285, {112, 85, 226, 115}, {128, 127, 150, 26}, {286, 127, 36, 26}, {128, 163, 150, 21}, {286, 163, 36, 21},
         {176, 184, 98, 0}},
    };
    openEditor();
    for (const auto& c : cases)
    {
        editor().setSize(c.width, c.height);
        editor().showOptionsDialog();
        EXPECT_EQ(dialog().getBounds(), juce::Rectangle<int>(0, 0, c.width, c.height));
        EXPECT_EQ(dialog().getPanel(), c.panel) << c.width;
        EXPECT_EQ(dialog().skinLabel.getBounds(), c.skinLabel) << c.width;
        EXPECT_EQ(dialog().skinCombo.getBounds(), c.skinCombo) << c.width;
        EXPECT_EQ(dialog().hintsLabel.getBounds(), c.hintsLabel) << c.width;
        EXPECT_EQ(dialog().hintsCombo.getBounds(), c.hintsCombo) << c.width;
        EXPECT_EQ(dialog().closeButton.getBounds(), c.closeButton) << c.width;
        writeSnapshot(render(editor()), "options-dialog-" + juce::String(c.width) + "x" + juce::String(c.height));
    }
}

// With a folder where the file belongs nothing can be saved: the pick still shows, and the editor says
// so above the dialog, which is there again once the message is dismissed.
TEST_F(OptionsDialogTest, AChoiceThatCannotBeSavedIsReportedAboveTheDialog)
{
    ASSERT_TRUE(home.settingsFile().createDirectory());
    openEditor();
    auto& window = openWindow();
    editor().showOptionsDialog();
    pick(dialog().skinCombo, 7);
    EXPECT_EQ(editor().getLookAndFeel().findColour(UiLookAndFeel::sideAAccentColourId).getARGB(), 0xffff3888)
        << "the skin shows all the same";

    auto& report = editor().presetErrorDialog;
    ASSERT_TRUE(report.isVisible());
    EXPECT_EQ(report.title, "Could not save settings");
    EXPECT_TRUE(report.message.contains(home.settingsFile().getFullPathName()));
    const auto ok = editor().getLocalPoint(&report, centreOf(report.okButton));
    EXPECT_EQ(editor().getComponentAt(ok.toInt()), &report.okButton) << "the report is in front of the dialog";
    writeSnapshot(render(editor()), "options-dialog-not-saved");

    window.click(ok);
    EXPECT_FALSE(report.isVisible());
    EXPECT_TRUE(dialog().isVisible());
    window.click(veilPoint);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_TRUE(report.isVisible()) << "the hint choice was not saved either";
    EXPECT_TRUE(home.settingsFile().isDirectory());
}
