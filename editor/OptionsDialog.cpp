#include "editor/OptionsDialog.h"

#include "editor/ColourLift.h"

#include <algorithm>

namespace
{
constexpr int hintsOnId = 1;
constexpr int hintsOffId = 2;

const char* const skinNames[] = {"Wavy Space", "Retro Cassette", "Blank Tape 1", "Blank Tape 2",
                                 "Demo Tape",  "Demo Tape 2",    "Vapor Tape"};

constexpr juce::uint32 veilColour = 0x8c000000;
constexpr juce::uint32 panelColour = 0xfa808287;
constexpr juce::uint32 panelOutlineColour = 0x99ffffff;
constexpr juce::uint32 closeButtonColour = 0xff232a3c;
constexpr float cornerRadius = 10.0f;
constexpr int margin = 16;
constexpr int titleRowH = 18, titleGap = 8, rowH = 26, rowGap = 10, labelW = 150, labelGap = 8;
constexpr int closeGap = 10, closeH = 26, titleRightInset = 14;

// The panel in fractional pixels: a quarter of the width in from each side, 30 % of the height in
// from the top and the bottom.
juce::Rectangle<float> panelArea(float w, float h)
{
    return {0.25f * w, 0.3f * h, w - 0.5f * w, h - 0.6f * h};
}

// Takes up to amount from the top of area; never more than is left.
juce::Rectangle<int> takeTop(juce::Rectangle<int>& area, int amount)
{
    return area.removeFromTop(std::min(amount, area.getHeight()));
}

void layOutRow(juce::Rectangle<int> row, juce::Label& label, juce::ComboBox& combo)
{
    label.setBounds(row.removeFromLeft(std::min(row.getWidth(), labelW)));
    row.removeFromLeft(std::min(row.getWidth(), labelGap));
    combo.setBounds(row);
}
} // namespace

OptionsDialog::OptionsDialog()
{
    setLookAndFeel(&ownLookAndFeel);

    for (auto* label : {&skinLabel, &hintsLabel})
    {
        label->setColour(juce::Label::textColourId, juce::Colours::white);
        label->setFont(juce::Font(14.0f));
        label->setJustificationType(juce::Justification::centredLeft);
        addAndMakeVisible(label);
    }

    for (int id = 1; id <= static_cast<int>(std::size(skinNames)); ++id)
        skinCombo.addItem(skinNames[id - 1], id);
    hintsCombo.addItem("On", hintsOnId);
    hintsCombo.addItem("Off", hintsOffId);
    skinCombo.setSelectedId(1, juce::dontSendNotification);
    hintsCombo.setSelectedId(hintsOnId, juce::dontSendNotification);
    skinCombo.onChange = [this] {
        if (onSkinChanged)
            onSkinChanged(skinCombo.getSelectedId());
    };
    addAndMakeVisible(skinCombo);
    addAndMakeVisible(hintsCombo);

    const auto button = juce::Colour(closeButtonColour);
    closeButton.setColour(juce::TextButton::buttonColourId, button);
    closeButton.setColour(juce::TextButton::buttonOnColourId, Quillmore::liftedTowardsWhite(button, 1.15f));
    closeButton.setColour(juce::TextButton::textColourOffId, juce::Colours::white);
    closeButton.setColour(juce::TextButton::textColourOnId, juce::Colours::white);
    closeButton.setColour(juce::ComboBox::outlineColourId, juce::Colours::transparentBlack);
    closeButton.onClick = [this] {
        if (onClose)
            onClose();
    };
    addAndMakeVisible(closeButton);

    setWantsKeyboardFocus(true);
    setVisible(false);
}

OptionsDialog::~OptionsDialog()
{
    setLookAndFeel(nullptr);
}

void OptionsDialog::showChoices(int skinId, bool hintsOn)
{
    skinCombo.setSelectedId(skinId, juce::dontSendNotification);
    hintsCombo.setSelectedId(hintsOn ? hintsOnId : hintsOffId, juce::dontSendNotification);
}

bool OptionsDialog::hintsChosen() const
{
    return hintsCombo.getSelectedId() == hintsOnId;
}

void OptionsDialog::resized()
{
    const int w = getWidth(), h = getHeight();
    const int x = static_cast<int>(0.25f * static_cast<float>(w));
    const int y = static_cast<int>(0.3f * static_cast<float>(h));
    panel = {x, y, std::max(w - 2 * x, 0), std::max(h - 2 * y, 0)};

    auto inner = panel.reduced(margin);
    inner.setSize(std::max(inner.getWidth(), 0), std::max(inner.getHeight(), 0));
    titlePosition = {inner.getX(), panel.getY() + margin};
    laidOut = true;

    const int innerW = inner.getWidth();
    auto rest = inner;
    takeTop(rest, titleRowH);
    takeTop(rest, titleGap);
    layOutRow(takeTop(rest, rowH), skinLabel, skinCombo);
    takeTop(rest, rowGap);
    layOutRow(takeTop(rest, rowH), hintsLabel, hintsCombo);

    takeTop(rest, closeGap);
    auto closeRow = rest.removeFromBottom(std::min(closeH, rest.getHeight()));
    closeButton.setBounds(closeRow.reduced(innerW / 4, 0));
}

void OptionsDialog::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(veilColour));

    const auto area = panelArea(static_cast<float>(getWidth()), static_cast<float>(getHeight()));
    panel = area.toNearestInt();
    g.setColour(juce::Colour(panelColour));
    g.fillRoundedRectangle(area, cornerRadius);
    g.setColour(juce::Colour(panelOutlineColour));
    g.drawRoundedRectangle(area.getX() + 0.5f, area.getY() + 0.5f, std::max(area.getWidth() - 1.0f, 0.0f),
                           std::max(area.getHeight() - 1.0f, 0.0f), cornerRadius, 1.5f);

    const int titleX = laidOut ? titlePosition.x : panel.getX() + titleRightInset;
    g.setColour(juce::Colours::white);
    g.setFont(juce::Font(16.0f));
    g.drawText("Options", titleX, panel.getY() + margin, panel.getRight() - titleX - titleRightInset, titleRowH,
               juce::Justification::centredLeft, true);
}

void OptionsDialog::mouseDown(const juce::MouseEvent& event)
{
    if (!panel.contains(event.getPosition()) && onClose)
        onClose();
}
