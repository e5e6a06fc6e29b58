#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <functional>
#include <memory>

class QuillmoreAudioProcessor;

// The strip at the top of the window: inside a rounded trapezoid, the current preset's name in a box,
// then previous, next, save and options buttons and the maker's logo. It draws with fixed colours of
// its own, whatever the skin. It takes clicks only inside its outline; the rest of its band belongs to
// whatever lies beneath (the page tab).
class PresetHeader : public juce::Component
{
public:
    // The clickable parts; 0 is none.
    enum HeaderArea : int
    {
        noArea = 0,
        nameArea = 1,
        previousArea = 2,
        nextArea = 3,
        saveArea = 4,
        optionsArea = 5,
        logoArea = 6,
    };

    static constexpr juce::uint32 areaButtonColour = 0xff141928;

    explicit PresetHeader(QuillmoreAudioProcessor& processor);
    ~PresetHeader() override;

    std::function<void()> onTogglePopup, onPrevious, onNext, onSave, onOptions, onLogoClicked;

    // The outline for a component of this size.
    static juce::Path createOutlinePath(float width, float height);
    // Name, previous, next, save, options and logo, for the current size; index HeaderArea - 1.
    std::array<juce::Rectangle<float>, 6> computeAreas() const;
    // The first area (in HeaderArea order) that holds the point, else noArea.
    int areaAt(juce::Point<float> point) const;

    // Repaints when the name to show (with its modified mark) is not the one last shown; the editor's
    // tick calls it, so the header follows loads, saves and edits without being told.
    void followCurrentName();

    int getPressedArea() const { return pressedArea; }
    int getHoveredArea() const { return hoveredArea; }

    void paint(juce::Graphics& g) override;
    bool hitTest(int x, int y) override;
    void mouseDown(const juce::MouseEvent& event) override;
    void mouseUp(const juce::MouseEvent& event) override;
    void mouseMove(const juce::MouseEvent& event) override;
    void mouseExit(const juce::MouseEvent& event) override;

private:
    void paintName(juce::Graphics& g, juce::Rectangle<float> nameBox);
    std::function<void()>* callbackOf(int area);

    QuillmoreAudioProcessor& processor;
    juce::Colour fillColour{0xff434e58};
    juce::Colour outlineColour{0xffffffff};
    std::unique_ptr<juce::Drawable> previousIcon, nextIcon, saveIcon, optionsIcon, logoIcon;
    juce::String shownName;
    int pressedArea = noArea;
    int hoveredArea = noArea;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(PresetHeader)
};
