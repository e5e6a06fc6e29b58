// The seven skins as the real editor installs them from the settings file: images from the image
// cache, every colour ID from its palette slot, the correction of numbers below 1 and the empty skin
// above 7. Snapshots of both pages in every skin go to the build folder for review.
#include "editor/SkinPalette.h"
#include "tests/editor/PageImage.h"
#include "tests/editor/SettingsHome.h"

#include <QuillmoreBinaryData.h>

using namespace EditorTestBed;

namespace
{
// Each look-and-feel colour with the palette slot it comes from.
const struct
{
    int colourId;
    size_t slot;
} colourSlots[] = {
    {juce::Slider::backgroundColourId, 0},
    {juce::Slider::trackColourId, 1},
    {UiLookAndFeel::sideAAccentColourId, 1},
    {UiLookAndFeel::sideBAccentColourId, 2},
    {UiLookAndFeel::overdriveColourId, 3},
    {UiLookAndFeel::returnModeColourId, 4},
    {UiLookAndFeel::syncOnColourId, 5},
    {UiLookAndFeel::toggleOutlineColourId, 6},
    {UiLookAndFeel::toggleOffColourId, 7},
    {UiLookAndFeel::displayBackgroundColourId, 8},
    {UiLookAndFeel::warbleColourId, 9},
    {UiLookAndFeel::panelToggleHighlightColourId, 10},
    {UiLookAndFeel::historyCentreLineColourId, 11},
    {UiLookAndFeel::spectrumGlowColourId, 12},
    {UiLookAndFeel::eqHighPassShadeColourId, 13},
    {UiLookAndFeel::eqHighPassShadeEndColourId, 14},
    {UiLookAndFeel::eqRolloffShadeColourId, 15},
    {UiLookAndFeel::eqRolloffShadeEndColourId, 16},
    {UiLookAndFeel::ledLowColourId, 17},
    {UiLookAndFeel::ledHighColourId, 18},
    {UiLookAndFeel::spectrumLineColourId, 19},
    {UiLookAndFeel::spectrumFillColourId, 20},
    {UiLookAndFeel::spectrumMarkerColourId, 21},
};

struct Skin
{
    const char* resourceA;
    const char* resourceB;
    juce::uint32 sideAAccent, sideBAccent, toggleOutline, spectrumMarker;
};
const Skin skins[] = {
    {"WavySpaceA_png", "WavySpaceB_png", 0xffff327a, 0xff3291b0, 0xffffffff, 0x73ffffff},
    {"RetroCassetteA_png", "RetroCassetteB_png", 0xffde7437, 0xff1f7cd3, 0xffffffff, 0x73ffffff},
    {"BlankTapeA_png", "BlankTapeB_png", 0xff3291b0, 0xff2c9e6d, 0xffffffff, 0x73ffffff},
    {"BlankTape2A_png", "BlankTape2B_png", 0xff3291b0, 0xff15b06f, 0xffffffff, 0x73ffffff},
    {"DemoTapeA_png", "DemoTapeB_png", 0xffe03c80, 0xff257eae, 0xffffffff, 0x73ffffff},
    {"DemoTape2A_png", "DemoTape2B_png", 0xff5399aa, 0xff2f9a63, 0xffffffff, 0x73ffffff},
    // Translucent toggle outlines and a peach marker line set the last skin apart.
    {"VaporTapeA_png", "VaporTapeB_png", 0xffff3888, 0xffda4a48, 0x5ac86edc, 0xffffd7b4},
};

juce::Image cachedImage(const char* resourceName)
{
    int size = 0;
    const char* data = QuillmoreBinaryData::getNamedResource(resourceName, size);
    EXPECT_NE(data, nullptr) << resourceName;
    return juce::ImageCache::getFromMemory(data, size);
}

// Points of the window at 750 x 475 that no component covers, where the skin shows through.
const juce::Point<int> bareSkinPoints[] = {{6, 300}, {94, 30}, {740, 300}};
constexpr juce::uint32 windowFill = 0xff808287;
} // namespace

class SkinsTest : public SettingsEditorFixture
{
protected:
    void expectSkinInstalled(int skinNumber)
    {
        const auto& skin = skins[skinNumber - 1];
        EXPECT_TRUE(editor().backgroundLayer.imageA == cachedImage(skin.resourceA)) << "skin " << skinNumber;
        EXPECT_TRUE(editor().backgroundLayer.imageB == cachedImage(skin.resourceB)) << "skin " << skinNumber;
        EXPECT_EQ(lookAndFeelColour(UiLookAndFeel::sideAAccentColourId).getARGB(), skin.sideAAccent) << "skin " << skinNumber;
        EXPECT_EQ(lookAndFeelColour(UiLookAndFeel::sideBAccentColourId).getARGB(), skin.sideBAccent) << "skin " << skinNumber;
        EXPECT_EQ(lookAndFeelColour(UiLookAndFeel::toggleOutlineColourId).getARGB(), skin.toggleOutline) << "skin " << skinNumber;
        EXPECT_EQ(lookAndFeelColour(UiLookAndFeel::spectrumMarkerColourId).getARGB(), skin.spectrumMarker) << "skin " << skinNumber;

        const auto palette = makeSkinPalette(skinNumber);
        for (const auto& entry : colourSlots)
            EXPECT_EQ(lookAndFeelColour(entry.colourId).getARGB(), palette.colours[entry.slot])
                << "skin " << skinNumber << ", colour ID " << juce::String::toHexString(entry.colourId);
        EXPECT_EQ(editor().wowBar.findColour(juce::Slider::trackColourId).getARGB(), skin.sideAAccent) << "a SIDE A bar";
        EXPECT_EQ(editor().feedbackBar.findColour(juce::Slider::trackColourId).getARGB(), skin.sideBAccent) << "a SIDE B bar";
    }

    void showPage(int side)
    {
        processor.activePanel = side;
        editor().updateSideFromProcessor();
    }
};

TEST_F(SkinsTest, WithoutASettingsFileTheFirstSkinAndHintsShowAndNothingIsWritten)
{
    openEditor();
    expectSkinInstalled(1);
    EXPECT_TRUE(editor().areHintsShown());
    closeEditor();
    EXPECT_FALSE(home.settingsFile().exists());
    EXPECT_EQ(home.configFolder().getNumberOfChildFiles(juce::File::findFilesAndDirectories), 0);
}

TEST_F(SkinsTest, EveryStoredSkinShowsOnBothPagesAndIsSnapshotted)
{
    for (int skinNumber = 1; skinNumber <= 7; ++skinNumber)
    {
        home.writeSettings(juce::String(skinNumber).toRawUTF8(), "1");
        openEditor();
        openWindow();
        expectSkinInstalled(skinNumber);

        for (const int side : {0, 1})
        {
            showPage(side);
            const auto shown = render(editor());
            const auto expected = pageImage(editor(), side == 0);
            for (const auto& point : bareSkinPoints)
                EXPECT_EQ(pixel(shown, point.x, point.y), pixel(expected, point.x, point.y))
                    << "skin " << skinNumber << ", side " << side << " at " << point.toString();
            writeSnapshot(shown, "skin-" + juce::String(skinNumber) + "-side-" + (side == 0 ? "A" : "B"));
        }
        EXPECT_EQ(home.storedValue("skinId"), juce::String(skinNumber)) << "reading changes nothing";
    }
}

TEST_F(SkinsTest, ANumberBelowOneShowsTheFirstSkinAndIsStoredAsOne)
{
    for (const char* stored : {"0", "-3", "nan"})
    {
        home.writeSettings(stored, "0");
        openEditor();
        expectSkinInstalled(1);
        EXPECT_EQ(home.storedValue("skinId"), juce::String("1")) << stored;
        EXPECT_EQ(home.storedValue("showHints"), juce::String("0")) << stored << ": the other key stays";
        EXPECT_FALSE(editor().areHintsShown());
        closeEditor();
    }
}

TEST_F(SkinsTest, ANumberAboveSevenGivesTheEmptySkinAndNothingIsWritten)
{
    home.writeSettings("8", "1");
    const auto before = home.settingsFile().loadFileAsString();

    openEditor();
    openWindow();
    EXPECT_TRUE(editor().backgroundLayer.imageA.isNull());
    EXPECT_TRUE(editor().backgroundLayer.imageB.isNull());
    for (const auto& entry : colourSlots)
        EXPECT_EQ(lookAndFeelColour(entry.colourId).getARGB(), 0u) << juce::String::toHexString(entry.colourId);

    const auto shown = render(editor());
    for (const auto& point : bareSkinPoints)
        EXPECT_EQ(pixel(shown, point.x, point.y).getARGB(), windowFill) << "the window's own fill at " << point.toString();
    writeSnapshot(shown, "skin-8-empty-side-A");

    editor().showOptionsDialog();
    EXPECT_EQ(editor().optionsDialog.skinCombo.getSelectedId(), 0) << "no skin selected";
    EXPECT_TRUE(editor().optionsDialog.skinCombo.getText().isEmpty());

    closeEditor();
    EXPECT_EQ(home.settingsFile().loadFileAsString(), before);
}
