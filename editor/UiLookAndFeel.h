#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Per-label font settings, read by UiLookAndFeel::getLabelFont from the label's own properties:
// uiFontKind (0 or 1 the Light face, 2 the Regular face; absent 0), uiFontHeightFrac (font height as a
// fraction of the label's height; absent 0.7) and uiFontHScale (horizontal glyph scale; absent 1.25).
extern const juce::Identifier uiFontKind;
extern const juce::Identifier uiFontHeightFrac;
extern const juce::Identifier uiFontHScale;

// The editor's one look and feel: the program's colour table (which a skin replaces as a whole), the
// two faces of the embedded condensed family, the page tab and the flat bar sliders. Everything else
// is drawn the framework's way.
class UiLookAndFeel : public juce::LookAndFeel_V4
{
public:
    enum ColourIds
    {
        overdriveColourId = 0x2f000001,
        historyCentreLineColourId = 0x2f000002,
        spectrumGlowColourId = 0x2f000003,
        panelToggleHighlightColourId = 0x2f000004,
        returnModeColourId = 0x2f000005,
        displayBackgroundColourId = 0x2f000007,
        sideAAccentColourId = 0x2f000008,
        sideBAccentColourId = 0x2f000009,
        syncOnColourId = 0x2f000010,
        toggleOutlineColourId = 0x2f000011,
        toggleOffColourId = 0x2f000012,
        warbleColourId = 0x2f000013,
        ledLowColourId = 0x2f000014,
        ledHighColourId = 0x2f000015,
        eqHighPassShadeColourId = 0x2f000016,
        eqHighPassShadeEndColourId = 0x2f000017,
        eqRolloffShadeColourId = 0x2f000018,
        eqRolloffShadeEndColourId = 0x2f000019,
        spectrumLineColourId = 0x2f000020,
        spectrumFillColourId = 0x2f000021,
        spectrumMarkerColourId = 0x2f000022,
    };

    // Font kinds of makeFont and uiFontKind.
    static constexpr int lightFont = 0;
    static constexpr int regularFont = 2;

    // The grey of the bars' origin and marker lines: panel grey lifted towards white, at alpha 0xcc.
    static constexpr juce::uint32 barLineColour = 0xccc7c8ca;

    UiLookAndFeel();
    ~UiLookAndFeel() override;

    // The face of that kind (0 or 1 Light, 2 Regular; others clamped) at that height in pixels and
    // horizontal glyph scale.
    juce::Font makeFont(int kind, float height, float horizontalScale) const;

    juce::Typeface::Ptr getLightFace() const { return lightFace; }
    juce::Typeface::Ptr getRegularFace() const { return regularFace; }

    juce::Font getLabelFont(juce::Label& label) override;

    // A button with component ID "panelToggle" is the page tab: only a hover or press overlay.
    void drawButtonBackground(juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                              bool highlighted, bool down) override;
    // Buttons without text draw none.
    void drawButtonText(juce::Graphics& g, juce::TextButton& button, bool highlighted, bool down) override;

    // The bar styles as flat bars from the left, the right or the value 0, with the overdrive zone and
    // marker line that the slider's properties ask for; other styles the framework's way.
    void drawLinearSlider(juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                          float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle style,
                          juce::Slider& slider) override;

private:
    void drawPageTabOverlay(juce::Graphics& g, juce::Button& button, bool highlighted, bool down);

    juce::Typeface::Ptr lightFace;
    juce::Typeface::Ptr regularFace;

    JUCE_DECLARE_NON_COPYABLE(UiLookAndFeel)
};
