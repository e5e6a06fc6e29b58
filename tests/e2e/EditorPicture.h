#pragma once

// What a picture of the plug-in's window, taken from the screen, shows at the editor's landmarks.
// The landmarks lie where the editor's layout puts them, in proportion to the window, so that they
// hold at every size the window can take.
#include <juce_graphics/juce_graphics.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace EditorPicture
{
// Halves to even, as the editor's layout rounds its proportions.
inline int rounded(float value)
{
    return static_cast<int>(std::nearbyint(value));
}

struct Landmarks
{
    explicit Landmarks(int width, int height)
    {
        const auto w = static_cast<float>(width), h = static_cast<float>(height);
        const int top = rounded(0.246f * h);
        const int border = juce::jlimit(4, 36, rounded(0.015f * w));
        const int knob = juce::jlimit(30, 220, rounded(0.23f * h));
        const int knobY = top + rounded(0.175f * static_cast<float>(height - rounded(0.1f * h) - top));
        skinOnly = juce::Rectangle<float>(0.3f * w, 0.125f * h, 0.5f * w, 0.075f * h).toNearestInt();
        presetHeader = juce::Rectangle<float>(0.17f * w, 0.015f * h, 0.655f * w, 0.09f * h).toNearestInt();
        inputKnob = {width / 3 - border - knob, knobY, knob, knob};
        outputKnob = {2 * (width / 3) + border, knobY, knob, knob};
        const int stripTop = height - rounded(0.1f * h) + rounded(0.003f * h);
        const int button = height - stripTop - rounded(0.023f * h);
        inertiaButton = {width - rounded(0.052f * w) - button, stripTop, button, button};

        const int panelX = width / 3 + border, panelY = top + rounded(0.125f * h);
        const int panelW = width / 3 - 2 * border, panelH = rounded(0.18f * h);
        displayPanel = {panelX, panelY, panelW, panelH};
        // The panel's frame, between its edge and the displays inside it: its right side.
        const int padding = rounded(0.005f * w);
        displayPanelFrame = {panelX + panelW - padding, panelY + panelH / 4, padding, panelH / 2};
        outputMeter = juce::Rectangle<float>(0.86f * w, 0.58f * static_cast<float>(top), 0.1f * w,
                                             0.2f * static_cast<float>(top)).toNearestInt();
        // The NOISE column's first bar, AMOUNT: the third column's eighth row.
        const float unit = static_cast<float>(height - rounded(0.1f * h) - top) / 13.65f;
        noiseAmountBar = {2 * (width / 3) + border, rounded(8.0f * unit) + top + rounded(0.02f * h),
                          width - 2 * (width / 3) - 3 * border, juce::jlimit(10, 64, rounded(0.047f * h))};
        sideTab = juce::Rectangle<float>(0.02f * w, 0.03f * h, 0.12f * w, 0.08f * h).toNearestInt();
    }

    juce::Rectangle<int> skinOnly;      // only the skin image shows here
    juce::Rectangle<int> presetHeader;  // the slate trapezoid with the preset's name and buttons
    juce::Rectangle<int> inputKnob, outputKnob, inertiaButton;
    juce::Rectangle<int> displayPanel, displayPanelFrame, outputMeter;
    juce::Rectangle<int> noiseAmountBar;
    juce::Rectangle<int> sideTab;       // the page switch's "SIDE A" / "SIDE B" tab
};

// Fixed colours, the same in every skin: the display panel's and the preset header's.
inline const juce::Colour displayPanelColour{0xff05080a};
inline const juce::Colour presetHeaderColour{0xff434e58};

// A committed skin image scaled to the window, as the editor draws it behind a page.
inline juce::Image skinImage(const char* fileName, int width, int height)
{
    const auto image = juce::ImageFileFormat::loadFrom(juce::File(QUILLMORE_SKIN_FOLDER).getChildFile(fileName));
    EXPECT_TRUE(image.isValid()) << fileName;
    return image.rescaled(width, height, juce::Graphics::highResamplingQuality);
}

// The mean difference of two pictures over an area, per colour channel, 0 ... 255.
inline double meanDifference(const juce::Image& a, const juce::Image& b, juce::Rectangle<int> area)
{
    double sum = 0.0;
    int count = 0;
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x, ++count)
        {
            const auto p = a.getPixelAt(x, y), q = b.getPixelAt(x, y);
            sum += std::abs(p.getRed() - q.getRed()) + std::abs(p.getGreen() - q.getGreen())
                 + std::abs(p.getBlue() - q.getBlue());
        }
    return count == 0 ? 0.0 : sum / (3.0 * count);
}

// How many pixels of the area are nearly white: the controls' outlines and captions.
inline int brightPixels(const juce::Image& image, juce::Rectangle<int> area)
{
    int count = 0;
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
        {
            const auto p = image.getPixelAt(x, y);
            count += p.getRed() >= 200 && p.getGreen() >= 200 && p.getBlue() >= 200 ? 1 : 0;
        }
    return count;
}

// How many pixels of the area lie within tolerance of the colour in every channel.
inline int pixelsNear(const juce::Image& image, juce::Rectangle<int> area, juce::Colour colour, int tolerance = 3)
{
    int count = 0;
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
        {
            const auto p = image.getPixelAt(x, y);
            count += std::abs(p.getRed() - colour.getRed()) <= tolerance
                         && std::abs(p.getGreen() - colour.getGreen()) <= tolerance
                         && std::abs(p.getBlue() - colour.getBlue()) <= tolerance
                     ? 1 : 0;
        }
    return count;
}

// The picture shows the first skin's SIDE A page and the controls over it: the skin where nothing
// covers it; the preset header, the knobs, the INERTIA button and the display panel where the layout
// puts them. Controls are told from the skin by their outlines and captions, which are nearly white
// (the skin is not).
inline void expectSkinAndControls(const juce::Image& picture, const juce::String& where)
{
    SCOPED_TRACE(where.toStdString());
    const Landmarks at(picture.getWidth(), picture.getHeight());
    const auto skin = skinImage("WavySpaceA.png", picture.getWidth(), picture.getHeight());
    EXPECT_LT(meanDifference(picture, skin, at.skinOnly), 4.0) << "the skin image does not show";
    for (const auto& [name, area] : {std::pair{"input knob", at.inputKnob}, std::pair{"output knob", at.outputKnob},
                                     std::pair{"INERTIA button", at.inertiaButton}})
    {
        const int shown = brightPixels(picture, area) - brightPixels(skin, area);
        EXPECT_GT(shown, area.getWidth() * area.getHeight() / 20) << "no " << name << " over the skin";
    }
    const auto headerArea = at.presetHeader.getWidth() * at.presetHeader.getHeight();
    EXPECT_GT(pixelsNear(picture, at.presetHeader, presetHeaderColour), headerArea / 6) << "no preset header";
    EXPECT_EQ(pixelsNear(picture, at.displayPanelFrame, displayPanelColour),
              at.displayPanelFrame.getWidth() * at.displayPanelFrame.getHeight())
        << "the display panel's frame is not its colour";
}

// Writes a picture into the build's snapshot folder, for a person to look at.
inline void keepForReview(const juce::Image& picture, const juce::String& name)
{
    const auto file = juce::File(QUILLMORE_EDITOR_SNAPSHOT_FOLDER).getChildFile(name + ".png");
    file.getParentDirectory().createDirectory();
    file.deleteFile();
    juce::FileOutputStream out(file);
    juce::PNGImageFormat().writeImageToStream(picture, out);
}
} // namespace EditorPicture
