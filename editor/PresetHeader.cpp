#include "editor/PresetHeader.h"

#include "editor/ColourLift.h"
#include "editor/SvgIcon.h"
#include "editor/UiLookAndFeel.h"
#include "plugin/QuillmoreAudioProcessor.h"

#include <QuillmoreBinaryData.h>

#include <algorithm>
#include <cmath>

namespace
{
std::unique_ptr<juce::Drawable> icon(const char* data, int size)
{
    return Quillmore::loadSvgIcon(data, size);
}

// The area shrunk by a fraction of its own width on the left and right and of its height at the top
// and bottom.
juce::Rectangle<float> shrunkBy(juce::Rectangle<float> area, float fraction)
{
    const auto dx = area.getWidth() * fraction;
    const auto dy = area.getHeight() * fraction;
    return {area.getX() + dx, area.getY() + dy, std::max(area.getWidth() - 2.0f * dx, 0.0f),
            std::max(area.getHeight() - 2.0f * dy, 0.0f)};
}
} // namespace

PresetHeader::PresetHeader(QuillmoreAudioProcessor& processorToShow)
    : processor(processorToShow),
      previousIcon(icon(QuillmoreBinaryData::previous_svg, QuillmoreBinaryData::previous_svgSize)),
      nextIcon(icon(QuillmoreBinaryData::next_svg, QuillmoreBinaryData::next_svgSize)),
      saveIcon(icon(QuillmoreBinaryData::save_svg, QuillmoreBinaryData::save_svgSize)),
      optionsIcon(icon(QuillmoreBinaryData::options_svg, QuillmoreBinaryData::options_svgSize)),
      logoIcon(icon(QuillmoreBinaryData::ZPlogo_svg, QuillmoreBinaryData::ZPlogo_svgSize))
{
}

PresetHeader::~PresetHeader() = default;

juce::Path PresetHeader::createOutlinePath(float w, float h)
{
    juce::Path polygon;
    polygon.startNewSubPath(0.15f * w, 0.05f * h);
    polygon.lineTo(0.845f * w, 0.05f * h);
    polygon.lineTo(0.825f * w, 0.438f * h);
    polygon.lineTo(0.17f * w, 0.438f * h);
    polygon.closeSubPath();
    return polygon.createPathWithRoundedCorners(0.035f * h);
}

std::array<juce::Rectangle<float>, 6> PresetHeader::computeAreas() const
{
    // The polygon's corners lie inside its rounded outline's box, so the polygon's own box serves.
    const auto w = static_cast<float>(getWidth());
    const auto h = static_cast<float>(getHeight());
    const float xMin = 0.15f * w, xMax = 0.845f * w, yMin = 0.05f * h, yMax = 0.438f * h;
    const float W = xMax - xMin, H = yMax - yMin;
    const float small = 0.03f * W, big = 1.9f * small, gap = 0.008f * W;
    const float buttonY = yMin + 0.5f * H - 0.29f * H, buttonH = 0.58f * H;

    const juce::Rectangle<float> logo{xMax - 0.04f * W - big, yMin + 0.25f * H, big, 0.5f * H};
    const juce::Rectangle<float> options{logo.getX() - gap - big, buttonY, big, buttonH};
    const juce::Rectangle<float> save{options.getX() - gap - big, buttonY, big, buttonH};
    const juce::Rectangle<float> next{save.getX() - gap - small, buttonY, small, buttonH};
    const juce::Rectangle<float> previous{next.getX() - gap - small, buttonY, small, buttonH};
    const float nameX = xMin + 0.045f * W;
    const juce::Rectangle<float> name{nameX, buttonY, std::max(previous.getX() - gap - nameX, 0.2f * W), buttonH};
    return {name, previous, next, save, options, logo};
}

int PresetHeader::areaAt(juce::Point<float> point) const
{
    const auto areas = computeAreas();
    for (size_t i = 0; i < areas.size(); ++i)
    {
        const auto& a = areas[i];
        if (a.getX() <= point.x && point.x < a.getRight() && a.getY() <= point.y && point.y < a.getBottom())
            return static_cast<int>(i) + 1;
    }
    return noArea;
}

bool PresetHeader::hitTest(int x, int y)
{
    return createOutlinePath(static_cast<float>(getWidth()), static_cast<float>(getHeight()))
        .contains(static_cast<float>(x), static_cast<float>(y), 1.0f);
}

void PresetHeader::paint(juce::Graphics& g)
{
    const auto w = static_cast<float>(getWidth());
    const auto h = static_cast<float>(getHeight());
    const auto outline = createOutlinePath(w, h);
    g.setColour(fillColour);
    g.fillPath(outline);
    g.setColour(outlineColour);
    g.strokePath(outline, juce::PathStrokeType(0.02f * h, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));

    const auto areas = computeAreas();
    for (int area = nameArea; area <= optionsArea; ++area)
    {
        auto colour = juce::Colour(areaButtonColour);
        if (area == pressedArea)
            colour = Quillmore::liftedTowardsWhite(colour, 1.5f);
        else if (area == hoveredArea)
            colour = Quillmore::liftedTowardsWhite(colour, 1.25f);
        const auto& box = areas[static_cast<size_t>(area - 1)];
        g.setColour(colour);
        g.fillRect(box);
        g.setColour(outlineColour);
        g.drawRect(box, 0.01f * h);
    }

    const std::array<std::pair<juce::Drawable*, int>, 5> icons{{{previousIcon.get(), previousArea},
                                                                 {nextIcon.get(), nextArea},
                                                                 {saveIcon.get(), saveArea},
                                                                 {optionsIcon.get(), optionsArea},
                                                                 {logoIcon.get(), logoArea}}};
    for (const auto& [drawable, area] : icons)
        if (drawable != nullptr)
            drawable->drawWithin(g, shrunkBy(areas[static_cast<size_t>(area - 1)], area == logoArea ? 0.04f : 0.18f),
                                 juce::RectanglePlacement::centred, 1.0f);

    paintName(g, areas[0]);
}

void PresetHeader::paintName(juce::Graphics& g, juce::Rectangle<float> nameBox)
{
    const auto box = nameBox.toNearestInt();
    const int t1 = static_cast<int>(0.25f * static_cast<float>(box.getHeight()));
    const int t2 = static_cast<int>(0.1f * static_cast<float>(box.getHeight()));
    const juce::Rectangle<int> textArea{box.getX() + t1, box.getY() + t2 + 2, std::max(box.getWidth() - 2 * t1, 0),
                                        std::max(box.getHeight() - 2 * t2, 0)};

    if (auto* ui = dynamic_cast<UiLookAndFeel*>(&getLookAndFeel()))
        g.setFont(ui->makeFont(UiLookAndFeel::lightFont, 0.6f * nameBox.getHeight(), 1.6f));
    else
        g.setFont(juce::Font(0.8f * static_cast<float>(textArea.getHeight())));
    g.setColour(juce::Colours::white);
    shownName = processor.getCurrentPresetDisplayName();
    g.drawFittedText(shownName, textArea, juce::Justification::centredLeft, 1);
}

void PresetHeader::followCurrentName()
{
    auto name = processor.getCurrentPresetDisplayName();
    if (name != shownName)
    {
        shownName = std::move(name);
        repaint();
    }
}

std::function<void()>* PresetHeader::callbackOf(int area)
{
    switch (area)
    {
    case nameArea: return &onTogglePopup;
    case previousArea: return &onPrevious;
    case nextArea: return &onNext;
    case saveArea: return &onSave;
    case optionsArea: return &onOptions;
    case logoArea: return &onLogoClicked;
    default: return nullptr;
    }
}

void PresetHeader::mouseDown(const juce::MouseEvent& event)
{
    const auto position = event.getPosition();
    if (hitTest(position.x, position.y))
        pressedArea = areaAt(event.position);
    repaint();
}

void PresetHeader::mouseUp(const juce::MouseEvent& event)
{
    if (pressedArea == noArea)
        return;
    const int pressed = pressedArea;
    const int released = areaAt(event.position);
    pressedArea = noArea;
    repaint();
    if (pressed != released)
        return;
    // Copied first: the callback may replace itself or close the window.
    if (auto* callback = callbackOf(pressed); callback != nullptr && *callback)
    {
        const auto action = *callback;
        action();
    }
}

void PresetHeader::mouseMove(const juce::MouseEvent& event)
{
    const int area = areaAt(event.position);
    if (area != hoveredArea)
    {
        hoveredArea = area;
        repaint();
    }
}

void PresetHeader::mouseExit(const juce::MouseEvent&)
{
    if (hoveredArea != noArea)
    {
        hoveredArea = noArea;
        repaint();
    }
}
