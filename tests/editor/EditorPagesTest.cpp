// The two pages of the real editor: what each shows, the page switch and its background and accents,
// the sections' dimming while switched off, the mix-mode and host-sync controls, and the bypass cover.
// Snapshots of both pages at three sizes go to the build folder for review.
#include "tests/editor/EditorWindowFixture.h"
#include "tests/editor/PageImage.h"

#include "editor/ComponentList.h"

#include <vector>

using Editor = QuillmoreAudioProcessorEditor;
using namespace EditorTestBed;

namespace
{
// The page tab takes clicks only inside its shape, under the header's other controls: a point where a
// click reaches it.
juce::Point<float> pageTabPoint(Editor& editor)
{
    for (int y = editor.sideToggle.getHeight() - 2; y > 0; y -= 2)
        for (int x = editor.getWidth() / 2; x > 0; x -= 3)
            if (editor.getComponentAt(x, y) == &editor.sideToggle)
                return {static_cast<float>(x), static_cast<float>(y)};
    ADD_FAILURE() << "no point of the page tab takes clicks";
    return {};
}

// Points of the window at 750 x 475 that no component covers, where the skin shows through: one in
// the page's lettering at the top left, one at the left edge.
const juce::Point<int> letteringPoint{94, 30};
const juce::Point<int> bareSkinPoint{6, 300};
// Where the pointer rests between clicks, on nothing that lights up under it.
const juce::Point<float> restingPoint{3.0f, 470.0f};

bool allVisible(const std::vector<juce::Component*>& components, bool visible)
{
    bool all = true;
    for (auto* component : components)
        all = all && component->isVisible() == visible;
    return all;
}
// In front of every control; only the window's resizer, which the host's frame owns in effect, may
// stay above it so that the window can still be resized.
bool inFrontOfAllControls(Editor& editor, juce::Component& component)
{
    auto children = editor.getChildren();
    children.removeFirstMatchingValue(editor.resizableCorner.get());
    return children.getLast() == &component;
}
} // namespace

class EditorPagesTest : public EditorWindowFixture
{
protected:
    std::vector<juce::Component*> headsControls()
    {
        auto& e = editor();
        return {&e.masterWarbleBar, &e.wowBar,       &e.wowRateBar,     &e.flutterBar,    &e.instabilityBar,
                &e.stereoDriftBar,  &e.blipsBar,     &e.noiseAmountBar, &e.noiseFreqBar,  &e.gateDecayBar,
                &e.duckTimeBar,     &e.duckThreshBar, &e.degradationBar, &e.warbleMeterL, &e.warbleMeterR,
                &e.historyBackground, &e.eqGraph};
    }
    std::vector<juce::Component*> spaceControls()
    {
        auto& e = editor();
        return {&e.echoMixBar,      &e.echoTimeBar,     &e.feedbackBar,    &e.filterFreqBar,  &e.filterQBar,
                &e.lfoAmountBar,    &e.lfoSpeedBar,     &e.springsMixBar,  &e.springDecayBar, &e.springHighPassBar,
                &e.springSizeBar,   &e.springTypeBar,   &e.hostSyncToggle, &e.mixModeToggle,  &e.stereoOffsetBar,
                &e.echoSendBar,     &e.springsSendBar,  &e.echoToSpringsBar, &e.spectrumView, &e.spectrumBackground};
    }
};

TEST_F(EditorPagesTest, SnapshotsOfBothPagesAtThreeSizes)
{
    ASSERT_NE(editorPointer, nullptr);
    openWindow();
    for (const int side : {0, 1})
    {
        processor.activePanel = side;
        editor().updateSideFromProcessor();
        for (const auto& size : {juce::Point<int>(450, 285), juce::Point<int>(750, 475), juce::Point<int>(1800, 1140)})
        {
            editor().setSize(size.x, size.y);
            const auto image = render(editor());
            EXPECT_EQ(image.getWidth(), size.x);
            writeSnapshot(image, juce::String("editor-side-") + (side == 0 ? "A" : "B") + "-" + juce::String(size.x) + "x"
                                     + juce::String(size.y));
        }
    }
}

TEST_F(EditorPagesTest, PageTabSwitchesThePageItsImageAccentsAndTheStoredPage)
{
    ASSERT_NE(editorPointer, nullptr);
    auto& window = openWindow();
    const auto imageA = pageImage(editor(), true), imageB = pageImage(editor(), false);
    ASSERT_NE(pixel(imageA, letteringPoint.x, letteringPoint.y), pixel(imageB, letteringPoint.x, letteringPoint.y))
        << "the probe must tell the two images apart";

    struct Expected
    {
        int side;
        juce::uint32 accent; // the first skin's accent of that page
    };
    for (const auto& expected : {Expected{1, 0xff3291b0}, Expected{0, 0xffff327a}, Expected{1, 0xff3291b0}})
    {
        window.click(pageTabPoint(editor()));
        window.hover(restingPoint);
        EXPECT_EQ(editor().getActiveSide(), expected.side);
        EXPECT_EQ(processor.activePanel.load(), expected.side) << "the page is stored with the processor";
        EXPECT_EQ(editor().sideToggle.getToggleState(), expected.side == 1);

        const auto shown = render(editor());
        EXPECT_EQ(pixel(shown, letteringPoint.x, letteringPoint.y),
                  pixel(expected.side == 0 ? imageA : imageB, letteringPoint.x, letteringPoint.y));
        EXPECT_EQ(editor().inputKnob.findColour(juce::Slider::trackColourId).getARGB(), expected.accent);
        EXPECT_EQ(editor().outputKnob.findColour(juce::Slider::trackColourId).getARGB(), expected.accent);

        EXPECT_TRUE(allVisible(headsControls(), expected.side == 0));
        EXPECT_TRUE(allVisible({&editor().noiseLabel, &editor().toneLabel, &editor().pitchWarbleLabel, &editor().warbleHistory},
                               expected.side == 0));
        EXPECT_TRUE(allVisible({&editor().springsLabel, &editor().tapeEchoesLabel, &editor().spectrumView, &editor().echoMixBar,
                                &editor().echoTimeBar, &editor().hostSyncToggle, &editor().echoSendBar, editor().xyOverlay.get()},
                               expected.side == 1));
        EXPECT_FALSE(editor().syncDivisionBar.isVisible()) << "host sync is off";
        EXPECT_TRUE(allVisible({&editor().inputKnob, &editor().outputKnob, &editor().displayPanel, &editor().outputMeter,
                                &editor().headsOnButton, &editor().bypassToggle, &editor().hintBox},
                               true))
            << "on both pages";
    }
}

TEST_F(EditorPagesTest, OpensOnTheStoredPage)
{
    for (const auto& [stored, side] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{2, 0}, std::pair{-1, 0}})
    {
        processor.activePanel = stored;
        std::unique_ptr<juce::AudioProcessorEditor> opened(processor.createEditor());
        auto& e = dynamic_cast<Editor&>(*opened);
        EXPECT_EQ(e.getActiveSide(), side) << "stored page " << stored;
        EXPECT_EQ(e.spectrumView.isVisible(), side == 1);
        EXPECT_EQ(e.xyOverlay->isVisible(), side == 1);
        EXPECT_EQ(e.wowBar.isVisible(), side == 0);
        EXPECT_EQ(e.backgroundLayer.showSideA, side == 0);
    }
}

TEST_F(EditorPagesTest, HeadsOffDimsAndCoversTheHeadsControls)
{
    ASSERT_NE(editorPointer, nullptr);
    auto& window = openWindow();
    const auto before = render(editor());
    const auto wowCentre = editor().wowBar.getBounds().getCentre();

    setFromHost("HeadsOn", 0.0f);
    tick(editor());
    EXPECT_FALSE(editor().isHeadsActive());
    for (auto* control : headsControls())
    {
        EXPECT_FALSE(control->isEnabled());
        EXPECT_NEAR(control->getAlpha(), 0.5f, 0.005f) << "an alpha byte of 128";
    }
    for (auto* control : Quillmore::componentList(editor().stopButton, editor().inertiaButton))
        EXPECT_FALSE(control->isEnabled()) << "the tape stop belongs to the Heads";
    for (auto* control : Quillmore::componentList(editor().inputKnob, editor().outputKnob, editor().saturationBar))
    {
        EXPECT_TRUE(control->isEnabled()) << "the amplifiers and the saturation work with the Heads off";
        EXPECT_EQ(control->getAlpha(), 1.0f);
    }
    EXPECT_EQ(editor().warbleMeterL.getValue(), 0.0f);
    EXPECT_EQ(editor().getCoverAlpha(), 0.08f);

    // Drawn at half alpha under a faint white veil: the bar's dark background turns lighter.
    const auto after = render(editor());
    EXPECT_GT(pixel(after, wowCentre.x, wowCentre.y).getBrightness(), pixel(before, wowCentre.x, wowCentre.y).getBrightness());

    // A dimmed bar does not react to the mouse.
    auto& wow = *processor.apvts.getParameter("Wow");
    const auto wowBefore = wow.getValue();
    window.drag(wowCentre.toFloat(), wowCentre.toFloat() + juce::Point<float>(60.0f, 0.0f));
    EXPECT_EQ(wow.getValue(), wowBefore);

    setFromHost("HeadsOn", 1.0f);
    tick(editor());
    EXPECT_TRUE(editor().isHeadsActive());
    EXPECT_TRUE(editor().getDimmedComponents().empty());
    for (auto* control : headsControls())
        EXPECT_TRUE(control->isEnabled() && control->getAlpha() == 1.0f);
}

TEST_F(EditorPagesTest, EachPageShowsItsOwnSectionsState)
{
    ASSERT_NE(editorPointer, nullptr);
    openWindow();
    editor().updateSideFromProcessor();
    processor.activePanel = 1;
    editor().updateSideFromProcessor();

    // The Heads off while SIDE B shows: only STOP and INERTIA dim there.
    setFromHost("HeadsOn", 0.0f);
    tick(editor());
    EXPECT_EQ(editor().getDimmedComponents().size(), 2u);
    for (auto* control : spaceControls())
        EXPECT_TRUE(control->isEnabled());

    // The Space off too: SIDE B's controls dim, the gain knobs do not.
    setFromHost("SpaceOn", 0.0f);
    tick(editor());
    EXPECT_FALSE(editor().isSpaceActive());
    for (auto* control : spaceControls())
        EXPECT_FALSE(control->isEnabled());
    EXPECT_TRUE(editor().inputKnob.isEnabled() && editor().outputKnob.isEnabled());
    EXPECT_TRUE(editor().spectrumView.isFrozen()) << "the spectrum stands still while the Space is off";
    setFromHost("SpaceOn", 1.0f);
    tick(editor());
    EXPECT_FALSE(editor().spectrumView.isFrozen());
    EXPECT_TRUE(editor().echoMixBar.isEnabled());

    // SIDE A then shows the Heads controls dimmed, the history flat.
    processor.activePanel = 0;
    editor().updateSideFromProcessor();
    for (auto* control : headsControls())
        EXPECT_FALSE(control->isEnabled());
    for (const auto value : editor().warbleHistory.getHistoryL())
        EXPECT_EQ(value, 0.5f);
}

TEST_F(EditorPagesTest, MixModeAndHostSyncChooseTheSpaceControls)
{
    ASSERT_NE(editorPointer, nullptr);
    openWindow();
    processor.activePanel = 1;
    editor().updateSideFromProcessor();

    struct Case
    {
        float sync, sendReturn;
        bool timeShown;
        const char* mixCaption;
        float sendTextAlpha;
    };
    for (const auto& c : {Case{0.0f, 0.0f, true, "WET/DRY", 0.3f}, Case{1.0f, 0.0f, false, "WET/DRY", 0.3f},
                          Case{1.0f, 1.0f, false, "RETURN", 1.0f}, Case{0.0f, 1.0f, true, "RETURN", 1.0f}})
    {
        setFromHost("EchoSyncOn", c.sync);
        setFromHost("SendRetMode", c.sendReturn);
        EXPECT_EQ(editor().echoTimeBar.isVisible(), c.timeShown);
        EXPECT_EQ(editor().syncDivisionBar.isVisible(), !c.timeShown);
        EXPECT_TRUE(editor().syncDivisionBar.isValuePinned());
        EXPECT_EQ(editor().echoMixBar.getCaption(), c.mixCaption);
        EXPECT_EQ(editor().springsMixBar.getCaption(), c.mixCaption);
        EXPECT_EQ(editor().echoSendBar.textAlpha, c.sendTextAlpha);
        EXPECT_TRUE(editor().echoSendBar.isEnabled()) << "the sends stay operable in wet/dry mode";
    }
}

TEST_F(EditorPagesTest, BypassCoversTheWindowUntilItsOwnSwitchTurnsItOff)
{
    ASSERT_NE(editorPointer, nullptr);
    auto& window = openWindow();
    auto& overlay = *editor().bypassOverlay;
    EXPECT_FALSE(overlay.isVisible());

    setFromHost("TrueBypass", 1.0f);
    EXPECT_TRUE(overlay.isVisible()) << "at once, without waiting for the tick";
    EXPECT_EQ(overlay.getBounds(), editor().getLocalBounds());
    EXPECT_TRUE(inFrontOfAllControls(editor(), overlay));
    EXPECT_FALSE(editor().bypassToggle.isVisible());
    EXPECT_EQ(overlay.ownSwitch.getBounds(), editor().bypassToggle.getBounds());
    EXPECT_TRUE(overlay.ownSwitch.getToggleState());

    // The cover darkens the window and takes the clicks meant for the controls beneath.
    const auto shown = render(editor());
    EXPECT_LT(pixel(shown, bareSkinPoint.x, bareSkinPoint.y).getBrightness(), 0.25f);
    auto& wow = *processor.apvts.getParameter("Wow");
    const auto wowCentre = editor().wowBar.getBounds().getCentre().toFloat();
    window.drag(wowCentre, wowCentre + juce::Point<float>(60.0f, 0.0f));
    EXPECT_EQ(wow.getValue(), wow.getDefaultValue());

    // Still in front and in place after a resize.
    editor().setSize(1800, 1140);
    EXPECT_EQ(overlay.getBounds(), editor().getLocalBounds());
    EXPECT_EQ(overlay.ownSwitch.getBounds(), editor().bypassToggle.getBounds());
    EXPECT_TRUE(inFrontOfAllControls(editor(), overlay));
    editor().setSize(750, 475);

    window.click(overlay.ownSwitch.getBounds().getCentre().toFloat());
    EXPECT_EQ(processor.apvts.getRawParameterValue("TrueBypass")->load(), 0.0f);
    EXPECT_FALSE(overlay.isVisible());
    EXPECT_TRUE(editor().bypassToggle.isVisible());

    // The main switch turns it on again.
    window.click(editor().bypassToggle.getBounds().getCentre().toFloat());
    EXPECT_EQ(processor.apvts.getRawParameterValue("TrueBypass")->load(), 1.0f);
    EXPECT_TRUE(overlay.isVisible());
    writeSnapshot(render(editor()), "editor-bypassed-750x475");
}
