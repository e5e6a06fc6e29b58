#include "editor/UiLookAndFeel.h"

#include "editor/ComponentProperty.h"
#include "editor/TabPath.h"

#include <QuillmoreBinaryData.h>

#include <algorithm>
#include <cmath>

const juce::Identifier uiFontKind{"uiFontKind"};
const juce::Identifier uiFontHeightFrac{"uiFontHeightFrac"};
const juce::Identifier uiFontHScale{"uiFontHScale"};

namespace
{
constexpr double defaultHeightFraction = 0.7;
constexpr double defaultHorizontalScale = 1.25;

// Fonts beyond these are of no use in the window, and keep hostile label settings harmless.
constexpr float smallestFontHeight = 1.0f;
constexpr float largestFontHeight = 1000.0f;
constexpr float smallestHorizontalScale = 0.05f;
constexpr float largestHorizontalScale = 20.0f;

juce::Typeface::Ptr makeFace(const char* data, int size)
{
    return juce::Typeface::createSystemTypefaceFor(data, static_cast<size_t>(size));
}
} // namespace

UiLookAndFeel::UiLookAndFeel()
    : lightFace(makeFace(QuillmoreBinaryData::RobotoCondensedLight_ttf, QuillmoreBinaryData::RobotoCondensedLight_ttfSize)),
      regularFace(makeFace(QuillmoreBinaryData::RobotoCondensedRegular_ttf, QuillmoreBinaryData::RobotoCondensedRegular_ttfSize))
{
    setColour(overdriveColourId, juce::Colour(0xffff9650));
    setColour(historyCentreLineColourId, juce::Colour(0xffff327a));
    setColour(spectrumGlowColourId, juce::Colour(0x5ac86edc));
    setColour(panelToggleHighlightColourId, juce::Colour(0xff434e58));
    setColour(returnModeColourId, juce::Colour(0xff5998a6));
    setColour(syncOnColourId, juce::Colour(0xff960aaa));
    setColour(toggleOutlineColourId, juce::Colour(0xffffffff));
    setColour(toggleOffColourId, juce::Colour(0x5affffff));

    setColour(juce::Slider::backgroundColourId, juce::Colour(0xf0030405));
    setColour(juce::Slider::trackColourId, juce::Colour(0xffff327a));
    setColour(juce::TextButton::buttonColourId, juce::Colour(0xffc8d2dc));
    setColour(juce::TextButton::textColourOffId, juce::Colours::white);
    setColour(juce::TextButton::textColourOnId, juce::Colours::white);

    setDefaultSansSerifTypeface(lightFace);
}

UiLookAndFeel::~UiLookAndFeel() = default;

juce::Font UiLookAndFeel::makeFont(int kind, float height, float horizontalScale) const
{
    const auto face = std::clamp(kind, 0, 2) == regularFont ? regularFace : lightFace;
    juce::Font font = face != nullptr ? juce::Font(face) : juce::Font();
    font.setHeight(std::isfinite(height) ? std::clamp(height, smallestFontHeight, largestFontHeight) : smallestFontHeight);
    font.setHorizontalScale(std::isfinite(horizontalScale)
                                ? std::clamp(horizontalScale, smallestHorizontalScale, largestHorizontalScale)
                                : 1.0f);
    return font;
}

juce::Font UiLookAndFeel::getLabelFont(juce::Label& label)
{
    const auto& properties = label.getProperties();
    const auto kind = std::clamp(Quillmore::numberPropertyOr(properties, uiFontKind, lightFont), 0.0, 2.0);
    const auto fraction = Quillmore::numberPropertyOr(properties, uiFontHeightFrac, defaultHeightFraction);
    const auto scale = Quillmore::numberPropertyOr(properties, uiFontHScale, defaultHorizontalScale);

    const auto height = std::clamp(static_cast<float>(label.getHeight()) * static_cast<float>(std::clamp(fraction, 0.4, 3.0)),
                                   8.0f, 64.0f);
    return makeFont(static_cast<int>(kind), height, static_cast<float>(scale));
}

void UiLookAndFeel::drawButtonBackground(juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                                         bool highlighted, bool down)
{
    if (button.getComponentID() == "panelToggle")
    {
        drawPageTabOverlay(g, button, highlighted, down);
        return;
    }
    LookAndFeel_V4::drawButtonBackground(g, button, backgroundColour, highlighted, down);
}

void UiLookAndFeel::drawPageTabOverlay(juce::Graphics& g, juce::Button& button, bool highlighted, bool down)
{
    if (!highlighted && !down)
        return;

    auto colour = findColour(panelToggleHighlightColourId);
    if (colour.getAlpha() == 0)
        colour = juce::Colours::white;
    colour = colour.withAlpha(static_cast<juce::uint8>(juce::roundToInt((down ? 0.2f : 0.12f) * 255.0f)));
    g.setColour(colour);

    const auto w = static_cast<float>(button.getWidth());
    const auto h = static_cast<float>(button.getHeight());
    const auto& properties = button.getProperties();
    if (!Quillmore::boolPropertyOr(properties, "isPanelToggleTopCap", false))
    {
        const auto radius = static_cast<float>(std::clamp(juce::roundToInt(0.006f * w), 4, 20));
        g.fillRoundedRectangle(0.5f, 0.5f, std::max(w - 1.0f, 0.0f), std::max(h - 1.0f, 0.0f), radius);
        return;
    }

    const auto radius = static_cast<float>(Quillmore::numberPropertyOr(properties, "panelCornerRadiusPx", 37.0));
    const auto topFraction = static_cast<float>(Quillmore::numberPropertyOr(properties, "panelTopOffsetFrac", 0.165));
    const auto tab = Quillmore::makeTabPath({0.0f, 0.0f, w, h}, radius, std::max(1.0f, 0.005f * w), topFraction, 0.5f);
    g.saveState();
    g.reduceClipRegion(tab);
    g.fillRect(button.getLocalBounds());
    g.restoreState();
}

void UiLookAndFeel::drawButtonText(juce::Graphics& g, juce::TextButton& button, bool highlighted, bool down)
{
    if (button.getButtonText().isEmpty())
        return;
    LookAndFeel_V4::drawButtonText(g, button, highlighted, down);
}
