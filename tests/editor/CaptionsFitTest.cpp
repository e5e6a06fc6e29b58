// The small texts of the real editor measured at window sizes across its limits: every caption of the
// utility buttons and every label of the spectrum grid is written whole, inside its control, at least
// a pixel away from every other text and symbol. Texts are measured by the outlines of their glyphs as
// the framework lays them out; for the buttons the rendered pixels confirm that nothing else is drawn.
#include "tests/editor/EditorWindowFixture.h"

#include <algorithm>
#include <vector>

using namespace EditorTestBed;

namespace
{
// Window widths from the smallest to the largest, the first size (750) among them; the height
// follows at the window's fixed aspect ratio (450 x 285, 750 x 475, 1800 x 1140).
const int windowWidths[] = {450, 480, 520, 560, 600, 650, 700, 750, 900, 1200, 1500, 1800};

int windowHeight(int width)
{
    return juce::roundToInt(width * 285.0 / 450.0);
}

struct Mark
{
    juce::String what;
    juce::Rectangle<float> ink;
};

// The text the glyphs spell and the bounds of their outlines.
Mark inkOf(juce::GlyphArrangement& glyphs, const juce::String& text, juce::String& drawn)
{
    drawn.clear();
    for (int i = 0; i < glyphs.getNumGlyphs(); ++i)
        drawn += juce::String::charToString(glyphs.getGlyph(i).getCharacter());
    juce::Path outline;
    glyphs.createPath(outline);
    return {text, outline.getBounds()};
}

// A caption as drawFittedText lays it out.
Mark fittedInk(const UtilityButtons::SquareUtilityBase::Caption& caption, juce::String& drawn)
{
    juce::GlyphArrangement glyphs;
    const auto area = caption.area.toFloat();
    glyphs.addFittedText(caption.font, caption.text, area.getX(), area.getY(), area.getWidth(), area.getHeight(),
                         caption.justification, 1);
    return inkOf(glyphs, caption.text, drawn);
}

// A grid label as drawText lays it out: one line, centred in the area, glyphs past its width left out.
Mark lineInk(const SpectrumView::GridLabel& label, juce::String& drawn)
{
    juce::GlyphArrangement glyphs;
    const auto area = label.area.toFloat();
    glyphs.addCurtailedLineOfText(label.font, label.text, 0.0f, 0.0f, area.getWidth(), false);
    glyphs.justifyGlyphs(0, glyphs.getNumGlyphs(), area.getX(), area.getY(), area.getWidth(), area.getHeight(),
                         juce::Justification::centred);
    return inkOf(glyphs, label.text, drawn);
}

// No two marks closer than half a pixel, so that their antialiased edges stay apart.
void expectApart(const std::vector<Mark>& marks, const juce::String& where)
{
    for (size_t i = 0; i < marks.size(); ++i)
        for (size_t j = i + 1; j < marks.size(); ++j)
            EXPECT_FALSE(marks[i].ink.expanded(0.25f).intersects(marks[j].ink.expanded(0.25f)))
                << where << ": \"" << marks[i].what << "\" " << marks[i].ink.toString() << " and \"" << marks[j].what
                << "\" " << marks[j].ink.toString();
}
} // namespace

class CaptionsFitTest : public EditorWindowFixture
{
protected:
    // Measures what the button shows now: each caption whole and inside the outline, captions and
    // symbol apart, and no white pixel inside the outline that is not part of one of them.
    void expectButtonFits(UtilityButtons::SquareUtilityBase& button, const juce::String& where)
    {
        const auto side = std::min(button.getWidth(), button.getHeight());
        const auto interior = juce::Rectangle<int>(side, side).toFloat().reduced(1.0f);
        const auto toButton = button.getContentTransform();
        std::vector<Mark> marks;
        for (const auto& caption : button.getCaptions())
        {
            juce::String drawn;
            marks.push_back(fittedInk(caption, drawn));
            marks.back().ink = marks.back().ink.transformedBy(toButton);
            EXPECT_EQ(drawn, caption.text) << where << ": written whole";
            EXPECT_TRUE(interior.contains(marks.back().ink))
                << where << ": \"" << caption.text << "\" " << marks.back().ink.toString() << " inside the outline";
        }
        if (!button.getSymbolBounds().isEmpty())
            marks.push_back({"symbol", button.getSymbolBounds().transformedBy(toButton)});
        expectApart(marks, where);

        const auto image = render(button);
        int stray = 0;
        for (int y = 2; y < side - 2; ++y)
            for (int x = 2; x < side - 2; ++x)
            {
                const auto c = image.getPixelAt(x, y);
                if (std::min({c.getRed(), c.getGreen(), c.getBlue()}) < 160)
                    continue;
                const auto p = juce::Point<float>(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
                if (std::none_of(marks.begin(), marks.end(), [p](const Mark& m) { return m.ink.expanded(1.0f).contains(p); }))
                    ++stray;
            }
        EXPECT_EQ(stray, 0) << where << ": white pixels outside every caption and the symbol";
    }

    void setParameter(const char* id, float normalised)
    {
        processor.apvts.getParameter(id)->setValueNotifyingHost(normalised);
    }
};

TEST_F(CaptionsFitTest, UtilityButtonCaptionsFitApartAtEverySize)
{
    for (const int width : windowWidths)
    {
        window.reset();
        editor().setSize(width, windowHeight(width));
        auto& shown = openWindow();
        const auto size = juce::String(width) + " x " + juce::String(windowHeight(width));
        ASSERT_EQ(editor().getWidth(), width);

        for (const float state : {1.0f, 0.0f})
        {
            for (const char* id : {"HeadsOn", "SpaceOn", "Order", "TapeStop"})
                setParameter(id, state);
            const auto where = size + (state > 0.5f ? ", on" : ", off");
            expectButtonFits(editor().headsOnButton, "HEADS at " + where);
            expectButtonFits(editor().spaceOnButton, "SPACE at " + where);
            expectButtonFits(editor().orderButton, "ORDER at " + where);
            expectButtonFits(editor().stopButton, "STOP at " + where);
        }

        auto& inertia = editor().inertiaButton;
        expectButtonFits(inertia, "INERTIA at " + size);
        // Pressed, it shows its value: the shortest, a middle one and the longest texts.
        const auto centre = editor().getLocalPoint(&inertia, inertia.getLocalBounds().getCentre()).toFloat();
        for (const float value : {0.0f, 0.4f, 1.0f})
        {
            setParameter("TapeStopInertia", value);
            shown.press(centre);
            ASSERT_TRUE(inertia.isShowingValue());
            expectButtonFits(inertia, "INERTIA showing \"" + inertia.getValueText() + "\" at " + size);
            shown.release(centre);
        }
        tick(inertia);
    }
}

TEST_F(CaptionsFitTest, SpectrumGridLabelsFitApartAtEverySize)
{
    auto& view = editor().spectrumView;
    for (const int width : windowWidths)
    {
        editor().setSize(width, windowHeight(width));
        const auto where = juce::String(width) + " x " + juce::String(windowHeight(width));
        const auto bounds = view.getLocalBounds().toFloat();
        const auto labels = view.getGridLabels(bounds.getWidth(), bounds.getHeight());
        ASSERT_EQ(labels.size(), 7u) << where;

        std::vector<Mark> marks;
        for (const auto& label : labels)
        {
            juce::String drawn;
            marks.push_back(lineInk(label, drawn));
            EXPECT_EQ(drawn, label.text) << where << ": written whole";
            EXPECT_TRUE(bounds.contains(marks.back().ink))
                << where << ": \"" << label.text << "\" " << marks.back().ink.toString() << " inside the view";
        }
        expectApart(marks, where);

        // The first size and larger ones show the texts in full at 10 pixels, as they always did.
        if (width >= 750)
            for (const auto& label : labels)
            {
                EXPECT_EQ(label.font.getHeight(), 10.0f) << where;
                EXPECT_TRUE(label.text.containsOnly("0123456789") || label.text.endsWith("kHz")) << where;
            }
    }
}
