// Installing a skin: its colours into the look and feel and the bars, its images behind the pages.
#include "editor/QuillmoreAudioProcessorEditor.h"

using Editor = QuillmoreAudioProcessorEditor;

namespace
{
constexpr int firstSkin = 1;

// The look-and-feel colour IDs in the order they are installed, with the palette slot of each.
struct ColourSlot
{
    int colourId;
    size_t slot;
};
constexpr ColourSlot installedColours[] = {
    {juce::Slider::trackColourId, 1},
    {juce::Slider::backgroundColourId, 0},
    {UiLookAndFeel::sideAAccentColourId, 1},
    {UiLookAndFeel::sideBAccentColourId, 2},
    {UiLookAndFeel::displayBackgroundColourId, 8},
    {UiLookAndFeel::warbleColourId, 9},
    {UiLookAndFeel::toggleOutlineColourId, 6},
    {UiLookAndFeel::toggleOffColourId, 7},
    {UiLookAndFeel::syncOnColourId, 5},
    {UiLookAndFeel::overdriveColourId, 3},
    {UiLookAndFeel::returnModeColourId, 4},
    {UiLookAndFeel::historyCentreLineColourId, 11},
    {UiLookAndFeel::spectrumGlowColourId, 12},
    {UiLookAndFeel::panelToggleHighlightColourId, 10},
    {UiLookAndFeel::ledLowColourId, 17},
    {UiLookAndFeel::ledHighColourId, 18},
    {UiLookAndFeel::spectrumLineColourId, 19},
    {UiLookAndFeel::spectrumFillColourId, 20},
    {UiLookAndFeel::spectrumMarkerColourId, 21},
    {UiLookAndFeel::eqHighPassShadeColourId, 13},
    {UiLookAndFeel::eqHighPassShadeEndColourId, 14},
    {UiLookAndFeel::eqRolloffShadeColourId, 15},
    {UiLookAndFeel::eqRolloffShadeEndColourId, 16},
};

juce::Image imageFromCache(const char* data, juce::uint32 size)
{
    if (data == nullptr || size == 0)
        return {};
    return juce::ImageCache::getFromMemory(data, static_cast<int>(size));
}
} // namespace

// The stored skin; a number below 1 is corrected to the first skin and stored. A number above the
// last skin stays as it is and gives the empty palette.
int Editor::storedSkinNumber()
{
    const int stored = settings.readSkinId();
    if (stored >= firstSkin)
        return stored;
    settings.storeSkinId(firstSkin);
    return firstSkin;
}

void Editor::applySkin()
{
    skinPalette = makeSkinPalette(storedSkinNumber());

    for (const auto& entry : installedColours)
        uiLookAndFeel.setColour(entry.colourId, juce::Colour(skinPalette.colours[entry.slot]));

    backgroundLayer.imageA = imageFromCache(skinPalette.imageAData, skinPalette.imageASize);
    backgroundLayer.imageB = imageFromCache(skinPalette.imageBData, skinPalette.imageBSize);
    backgroundLayer.showSideA = activeSide == 0;
    backgroundLayer.repaint();

    // The bars keep their page's accent as their own colour (the SYNC DIVISION bar is coloured with
    // the sync controls).
    const auto sideA = uiLookAndFeel.findColour(UiLookAndFeel::sideAAccentColourId);
    const auto sideB = uiLookAndFeel.findColour(UiLookAndFeel::sideBAccentColourId);
    for (const auto& entry : barTable())
        if (entry.bar != &Editor::syncDivisionBar)
            (this->*entry.bar).setColour(juce::Slider::trackColourId, entry.side == 0 ? sideA : sideB);

    hostSyncToggle.setOnColourId(UiLookAndFeel::syncOnColourId);
    mixModeToggle.setOnColourId(UiLookAndFeel::returnModeColourId);

    sendLookAndFeelChange();
    updateSideAccentColour();
    updateMixAndSyncControls();
    repaint();
}
