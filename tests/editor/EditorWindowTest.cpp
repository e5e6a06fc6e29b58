// The plug-in's own window as a host opens and resizes it: its first size, the limits and the fixed
// ratio the host is held to, every component's place at the smallest, the first and the largest size,
// and resizes that leave the keyboard focus where it was.
#include "tests/editor/EditorWindowFixture.h"

#include <climits>
#include <map>
#include <string>

using Editor = QuillmoreAudioProcessorEditor;
using namespace EditorTestBed;

namespace
{
// What a VST3 host's resize request becomes: the editor's constrainer applied to it.
juce::Rectangle<int> constrained(Editor& editor, juce::Rectangle<int> requested)
{
    auto* constrainer = editor.getConstrainer();
    EXPECT_NE(constrainer, nullptr);
    if (constrainer == nullptr)
        return {};
    constrainer->checkBounds(requested, editor.getBounds(), {}, false, false, true, true);
    return requested;
}

std::map<std::string, juce::Component*> componentsByName(Editor& e)
{
    return {{"inertiaButton", &e.inertiaButton},     {"headsOnButton", &e.headsOnButton},
            {"hintBox", &e.hintBox},                 {"sideToggle", &e.sideToggle},
            {"bypassToggle", &e.bypassToggle},       {"outputMeter", &e.outputMeter},
            {"inputKnob", &e.inputKnob},             {"outputKnob", &e.outputKnob},
            {"inputLabel", &e.inputLabel},           {"toneLabel", &e.toneLabel},
            {"eqGraph", &e.eqGraph},                 {"saturationBar", &e.saturationBar},
            {"springsSendBar", &e.springsSendBar},   {"pitchWarbleLabel", &e.pitchWarbleLabel},
            {"displayPanel", &e.displayPanel},       {"warbleMeterL", &e.warbleMeterL},
            {"warbleMeterR", &e.warbleMeterR},       {"warbleHistory", &e.warbleHistory},
            {"historyCentreLine", &e.historyCentreLine}, {"spectrumView", &e.spectrumView},
            {"masterWarbleBar", &e.masterWarbleBar}, {"stereoDriftBar", &e.stereoDriftBar},
            {"feedbackBar", &e.feedbackBar},         {"lfoSpeedBar", &e.lfoSpeedBar},
            {"syncDivisionBar", &e.syncDivisionBar}, {"noiseLabel", &e.noiseLabel},
            {"duckThreshBar", &e.duckThreshBar},     {"springTypeBar", &e.springTypeBar}};
}

struct PlacedComponent
{
    int windowWidth, windowHeight;
    const char* name;
    juce::Rectangle<int> bounds;
};

// Worked out from the layout's proportions by hand (single precision, halves to even), independently
// of the editor's code.
const PlacedComponent placements[] = {
    {450, 285, "inertiaButton", {407, 258, 20, 20}},
    {450, 285, "headsOnButton", {319, 258, 20, 20}},
    {450, 285, "hintBox", {23, 258, 294, 20}},
    {450, 285, "sideToggle", {0, 0, 450, 70}},
    {450, 285, "bypassToggle", {382, 12, 20, 11}},
    {450, 285, "outputMeter", {387, 41, 45, 14}},
    {450, 285, "inputKnob", {77, 103, 66, 66}},
    {450, 285, "outputKnob", {307, 103, 66, 66}},
    {450, 285, "inputLabel", {77, 85, 66, 14}},
    {450, 285, "toneLabel", {14, 172, 129, 14}},
    {450, 285, "eqGraph", {15, 214, 127, 39}},
    {450, 285, "saturationBar", {14, 186, 129, 13}},
    {450, 285, "springsSendBar", {14, 240, 129, 13}},
    {450, 285, "pitchWarbleLabel", {157, 85, 136, 14}},
    {450, 285, "displayPanel", {157, 106, 136, 51}},
    {450, 285, "warbleMeterL", {159, 108, 8, 47}},
    {450, 285, "warbleMeterR", {169, 108, 8, 47}},
    {450, 285, "warbleHistory", {179, 108, 112, 47}},
    {450, 285, "historyCentreLine", {179, 131, 112, 1}},
    {450, 285, "spectrumView", {159, 108, 132, 47}},
    {450, 285, "masterWarbleBar", {157, 158, 136, 13}},
    {450, 285, "stereoDriftBar", {157, 240, 136, 13}},
    {450, 285, "feedbackBar", {157, 186, 136, 13}},
    {450, 285, "lfoSpeedBar", {157, 240, 136, 13}},
    {450, 285, "syncDivisionBar", {157, 172, 136, 13}},
    {450, 285, "noiseLabel", {307, 172, 129, 14}},
    {450, 285, "duckThreshBar", {307, 240, 129, 13}},
    {450, 285, "springTypeBar", {307, 240, 129, 13}},
    {750, 475, "inertiaButton", {675, 428, 36, 36}},
    {750, 475, "headsOnButton", {515, 428, 36, 36}},
    {750, 475, "hintBox", {39, 428, 472, 36}},
    {750, 475, "sideToggle", {0, 0, 750, 117}},
    {750, 475, "bypassToggle", {638, 20, 34, 19}},
    {750, 475, "outputMeter", {645, 68, 75, 23}},
    {750, 475, "inputKnob", {130, 171, 109, 109}},
    {750, 475, "outputKnob", {511, 171, 109, 109}},
    {750, 475, "inputLabel", {130, 141, 109, 24}},
    {750, 475, "toneLabel", {22, 286, 217, 24}},
    {750, 475, "eqGraph", {23, 355, 215, 66}},
    {750, 475, "saturationBar", {22, 309, 217, 22}},
    {750, 475, "springsSendBar", {22, 400, 217, 22}},
    {750, 475, "pitchWarbleLabel", {261, 141, 228, 24}},
    {750, 475, "displayPanel", {261, 176, 228, 86}},
    {750, 475, "warbleMeterL", {265, 180, 13, 78}},
    {750, 475, "warbleMeterR", {281, 180, 13, 78}},
    {750, 475, "warbleHistory", {298, 180, 187, 78}},
    {750, 475, "historyCentreLine", {298, 219, 187, 1}},
    {750, 475, "spectrumView", {265, 180, 220, 78}},
    {750, 475, "masterWarbleBar", {261, 263, 228, 22}},
    {750, 475, "stereoDriftBar", {261, 400, 228, 22}},
    {750, 475, "feedbackBar", {261, 309, 228, 22}},
    {750, 475, "lfoSpeedBar", {261, 400, 228, 22}},
    {750, 475, "syncDivisionBar", {261, 286, 228, 22}},
    {750, 475, "noiseLabel", {511, 286, 217, 24}},
    {750, 475, "duckThreshBar", {511, 400, 217, 22}},
    {750, 475, "springTypeBar", {511, 400, 217, 22}},
    {1800, 1140, "inertiaButton", {1621, 1029, 85, 85}},
    {1800, 1140, "headsOnButton", {1245, 1029, 85, 85}},
    {1800, 1140, "hintBox", {94, 1029, 1142, 85}},
    {1800, 1140, "sideToggle", {0, 0, 1800, 280}},
    {1800, 1140, "bypassToggle", {1530, 49, 81, 46}},
    {1800, 1140, "outputMeter", {1548, 162, 180, 56}},
    {1800, 1140, "inputKnob", {353, 411, 220, 220}},
    {1800, 1140, "outputKnob", {1227, 411, 220, 220}},
    {1800, 1140, "inputLabel", {353, 340, 220, 57}},
    {1800, 1140, "toneLabel", {54, 686, 519, 57}},
    {1800, 1140, "eqGraph", {55, 851, 517, 162}},
    {1800, 1140, "saturationBar", {54, 740, 519, 54}},
    {1800, 1140, "springsSendBar", {54, 959, 519, 54}},
    {1800, 1140, "pitchWarbleLabel", {627, 340, 546, 57}},
    {1800, 1140, "displayPanel", {627, 422, 546, 205}},
    {1800, 1140, "warbleMeterL", {636, 431, 32, 187}},
    {1800, 1140, "warbleMeterR", {674, 431, 32, 187}},
    {1800, 1140, "warbleHistory", {715, 431, 449, 187}},
    {1800, 1140, "historyCentreLine", {715, 524, 449, 1}},
    {1800, 1140, "spectrumView", {636, 431, 528, 187}},
    {1800, 1140, "masterWarbleBar", {627, 631, 546, 54}},
    {1800, 1140, "stereoDriftBar", {627, 959, 546, 54}},
    {1800, 1140, "feedbackBar", {627, 740, 546, 54}},
    {1800, 1140, "lfoSpeedBar", {627, 959, 546, 54}},
    {1800, 1140, "syncDivisionBar", {627, 686, 546, 54}},
    {1800, 1140, "noiseLabel", {1227, 686, 519, 57}},
    {1800, 1140, "duckThreshBar", {1227, 959, 519, 54}},
    {1800, 1140, "springTypeBar", {1227, 959, 519, 54}},
};
} // namespace

using EditorWindowTest = EditorWindowFixture;

TEST_F(EditorWindowTest, OpensAsThePluginsOwnWindowAt750By475AndResizable)
{
    ASSERT_NE(editorPointer, nullptr) << "createEditor returns the plug-in's own editor";
    EXPECT_EQ(editor().getWidth(), 750);
    EXPECT_EQ(editor().getHeight(), 475);
    EXPECT_TRUE(editor().isResizable());
    EXPECT_TRUE(editor().resizableCorner != nullptr && editor().resizableCorner->isVisible()) << "a resizer in the corner";
    EXPECT_FALSE(editor().getWantsKeyboardFocus());
    EXPECT_EQ(editor().getActiveSide(), 0);
}

TEST_F(EditorWindowTest, HostResizesAreHeldToTheLimitsAndTheRatio)
{
    ASSERT_NE(editorPointer, nullptr);
    struct Request
    {
        juce::Rectangle<int> asked;
        juce::Rectangle<int> given;
    };
    const Request requests[] = {
        {{0, 0, 750, 475}, {0, 0, 750, 475}},
        {{0, 0, 1800, 1140}, {0, 0, 1800, 1140}},
        {{0, 0, 450, 285}, {0, 0, 450, 285}},
        {{0, 0, 100, 60}, {0, 0, 450, 285}},
        {{0, 0, 4000, 3000}, {0, 0, 1800, 1140}},
        {{0, 0, 0, 0}, {0, 0, 450, 285}},
        {{0, 0, -500, -300}, {0, 0, 450, 285}},
        {{0, 0, INT_MAX / 2, INT_MAX / 2}, {0, 0, 1800, 1140}},
    };
    for (const auto& request : requests)
        EXPECT_EQ(constrained(editor(), request.asked), request.given) << request.asked.toString();

    // Sizes off the ratio are brought onto it, within the limits.
    for (const auto& asked : {juce::Rectangle<int>(0, 0, 1000, 475), juce::Rectangle<int>(0, 0, 750, 900),
                              juce::Rectangle<int>(0, 0, 451, 1139), juce::Rectangle<int>(0, 0, 1799, 286)})
    {
        const auto given = constrained(editor(), asked);
        EXPECT_GE(given.getWidth(), 450) << asked.toString();
        EXPECT_LE(given.getWidth(), 1800) << asked.toString();
        EXPECT_GE(given.getHeight(), 285) << asked.toString();
        EXPECT_LE(given.getHeight(), 1140) << asked.toString();
        EXPECT_NEAR(given.getWidth(), given.getHeight() * 750.0 / 475.0, 1.0) << asked.toString() << " gave " << given.toString();
    }
}

TEST_F(EditorWindowTest, DraggingTheResizerKeepsTheRatioWithinTheLimits)
{
    ASSERT_NE(editorPointer, nullptr);
    auto& window = openWindow();
    const auto corner = [this] { return editor().resizableCorner->getBounds().getCentre().toFloat(); };

    // The window stays 750 x 475 on the screen, so each drag starts inside it.
    window.drag(corner(), {5.0f, 5.0f});
    EXPECT_EQ(editor().getBounds(), juce::Rectangle<int>(0, 0, 450, 285));
    window.drag(corner(), corner() + juce::Point<float>(150.0f, 20.0f));
    EXPECT_GT(editor().getWidth(), 450);
    EXPECT_NEAR(editor().getWidth(), editor().getHeight() * 750.0 / 475.0, 1.0) << editor().getBounds().toString();
    window.drag(corner(), corner() + juce::Point<float>(3000.0f, 200.0f));
    EXPECT_EQ(editor().getBounds(), juce::Rectangle<int>(0, 0, 1800, 1140));
}

TEST_F(EditorWindowTest, ComponentsTakeTheirPlacesInProportionAtEverySize)
{
    ASSERT_NE(editorPointer, nullptr);
    openWindow();
    auto components = componentsByName(editor());
    for (const auto& placed : placements)
    {
        editor().setSize(placed.windowWidth, placed.windowHeight);
        auto* component = components.at(placed.name);
        EXPECT_EQ(component->getBounds(), placed.bounds)
            << placed.name << " at " << placed.windowWidth << " x " << placed.windowHeight;
    }

    // The bottom strip at 750 x 475: five 36-pixel squares 4 apart ending at 711, the hint box's font
    // a third of its height.
    editor().setSize(750, 475);
    int right = 711;
    for (juce::Component* button : {static_cast<juce::Component*>(&editor().inertiaButton), static_cast<juce::Component*>(&editor().stopButton),
                                    static_cast<juce::Component*>(&editor().orderButton), static_cast<juce::Component*>(&editor().spaceOnButton),
                                    static_cast<juce::Component*>(&editor().headsOnButton)})
    {
        EXPECT_EQ(button->getBounds(), juce::Rectangle<int>(right - 36, 428, 36, 36));
        right -= 40;
    }
    EXPECT_EQ(editor().getHintArea(), juce::Rectangle<int>(39, 428, 472, 36));
    EXPECT_EQ(editor().backgroundLayer.getBounds(), editor().getLocalBounds());
    EXPECT_EQ(editor().echoTimeBar.getBounds(), editor().syncDivisionBar.getBounds());
}

TEST_F(EditorWindowTest, HostileSizesLeaveNoNegativeBounds)
{
    ASSERT_NE(editorPointer, nullptr);
    // A host that ignores the limits: nothing may get a negative size, the hint box at worst none.
    for (const auto& size : {juce::Point<int>(1, 1), juce::Point<int>(40, 900), juce::Point<int>(900, 12),
                             juce::Point<int>(0, 0), juce::Point<int>(30000, 19000)})
    {
        editor().setSize(size.x, size.y);
        for (auto* child : editor().getChildren())
        {
            EXPECT_GE(child->getWidth(), 0) << size.toString();
            EXPECT_GE(child->getHeight(), 0) << size.toString();
        }
        EXPECT_GE(editor().getHintArea().getWidth(), 0) << size.toString();
    }
}

TEST_F(EditorWindowTest, ResizesLeaveTheKeyboardFocusWithTheHost)
{
    ASSERT_NE(editorPointer, nullptr);
    // A host's frame around the plug-in's view, which takes the keyboard focus whenever a component
    // inside it asks for it, and a text field of the host's own (a search box, say) that has it.
    struct HostFrame : juce::Component
    {
        HostFrame() { setWantsKeyboardFocus(true); }
    } frame;
    juce::TextEditor hostField;
    frame.addAndMakeVisible(editor());
    frame.addAndMakeVisible(hostField);
    hostField.setBounds(0, 1150, 200, 30);
    frame.setSize(1800, 1200);
    DesktopWindow hostWindow(frame);
    hostField.grabKeyboardFocus();
    ASSERT_TRUE(hostField.hasKeyboardFocus(false));

    for (const auto& size : {juce::Point<int>(1800, 1140), juce::Point<int>(450, 285), juce::Point<int>(900, 570)})
    {
        editor().setSize(size.x, size.y);
        EXPECT_TRUE(hostField.hasKeyboardFocus(false)) << "after a resize to " << size.toString();
    }
    frame.removeChildComponent(&editor());
}
