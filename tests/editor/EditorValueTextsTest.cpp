// The texts the real editor's controls show for their values: the parameter's own text on every bar
// but three, the editor's own on the mix bars and the size bar, and the gain read-outs.
#include "editor/EditorOwnValueTexts.h"
#include "tests/editor/EditorWindowFixture.h"

#include <thread>

using Editor = QuillmoreAudioProcessorEditor;
using namespace EditorTestBed;

namespace
{
class EditorValueTextsTest : public EditorWindowFixture
{
protected:
    juce::RangedAudioParameter& parameter(const char* id) { return *processor.apvts.getParameter(id); }
    void set(const char* id, float value) { parameter(id).setValueNotifyingHost(parameter(id).convertTo0to1(value)); }

    // The text over the bar while its value is shown.
    static juce::String shown(OverlayBarSlider& bar)
    {
        bar.setValuePinned(true);
        return bar.getShownText();
    }

    // The bar of a parameter.
    OverlayBarSlider& barOf(const char* id)
    {
        for (const auto& entry : Editor::barTable())
            if (juce::String(entry.parameterID) == id)
                return editor().*(entry.bar);
        ADD_FAILURE() << "no bar for " << id;
        return editor().wowBar;
    }
};

TEST(EditorOwnValueTexts, MixAndSizeTexts)
{
    struct Case
    {
        double value;
        bool sendReturn;
        const char* mixText;
    };
    const Case mixCases[] = {
        {0.0, false, "0.00 % wet"},  {0.0, true, "0.00 %"},      {7.5, false, "7.50 % wet"},
        {9.99, false, "9.99 % wet"}, {10.0, false, "10.0 % wet"}, {42.0, false, "42.0 % wet"},
        {42.0, true, "42.0 %"},      {99.9, true, "99.9 %"},      {100.0, false, "100 % wet"},
        {100.0, true, "100 %"},
    };
    for (const auto& c : mixCases)
        EXPECT_EQ(Quillmore::mixValueText(c.value, c.sendReturn), c.mixText) << c.value;

    const std::pair<double, const char*> sizeCases[] = {{4.0, "4.00\""}, {7.3, "7.30\""}, {8.0, "8.00\""}, {12.0, "12.00\""}};
    for (const auto& [value, text] : sizeCases)
        EXPECT_EQ(Quillmore::springSizeValueText(value), text) << value;
}

// Each value set by the host, as the bar over it then reads.
TEST_F(EditorValueTextsTest, EveryBarShowsItsParametersTextAndTheMixAndSizeBarsTheirOwn)
{
    struct Case
    {
        const char* parameterID;
        float value;
        const char* expected; // nullptr: the parameter's own text for the value
    };
    const Case cases[] = {
        {"EchoMix", 7.5f, "7.50 % wet"},
        {"EchoMix", 42.0f, "42.0 % wet"},
        {"SpringMix", 100.0f, "100 % wet"},
        {"SpringSize", 4.0f, "4.00\""},
        {"SpringSize", 9.3f, "9.30\""},
        {"SpringSize", 12.0f, "12.00\""},
    };
    for (const auto& c : cases)
    {
        set(c.parameterID, c.value);
        EXPECT_EQ(shown(barOf(c.parameterID)), c.expected) << c.parameterID << " at " << c.value;
    }

    // Every other bar: its parameter's own text at three points of its range.
    for (const auto& entry : Editor::barTable())
    {
        const juce::String id(entry.parameterID);
        if (id == "EchoMix" || id == "SpringMix" || id == "SpringSize")
            continue;
        auto& p = parameter(entry.parameterID);
        for (const float normalised : {0.0f, 0.37f, 1.0f})
        {
            p.setValueNotifyingHost(normalised);
            const auto text = shown(editor().*(entry.bar));
            EXPECT_EQ(text, p.getCurrentValueAsText()) << entry.parameterID << " at " << normalised;
            EXPECT_NE(text, entry.caption) << entry.parameterID;
        }
    }
}

TEST_F(EditorValueTextsTest, ABarShowsTheTextOfItsSnappedValue)
{
    set("EchoSyncOn", 1.0f);
    auto& bar = editor().syncDivisionBar;
    bar.setValue(7.4, juce::sendNotificationSync);
    EXPECT_EQ(bar.getValue(), 7.0);
    EXPECT_EQ(shown(bar), parameter("EchoSyncDiv").getText(parameter("EchoSyncDiv").convertTo0to1(7.0f), 0));
    set("EchoTime", 250.4f);
    EXPECT_EQ(shown(editor().echoTimeBar), parameter("EchoTime").getText(parameter("EchoTime").convertTo0to1(250.0f), 0));
}

TEST_F(EditorValueTextsTest, TheMixTextsFollowTheMixModeAtOnce)
{
    auto& window = openWindow();
    set("SendRetMode", 0.0f);
    set("EchoMix", 0.0f);
    set("SpringMix", 42.0f);
    processor.activePanel = 1;
    window.click(editor().sideToggle.getBounds().getCentre().toFloat());
    ASSERT_EQ(editor().getActiveSide(), 1);
    EXPECT_EQ(shown(editor().echoMixBar), "0.00 % wet");
    EXPECT_EQ(shown(editor().springsMixBar), "42.0 % wet");

    window.click(editor().getLocalArea(&editor().mixModeToggle, editor().mixModeToggle.getLocalBounds()).getCentre().toFloat());
    ASSERT_TRUE(editor().mixModeToggle.getToggleState());
    EXPECT_EQ(shown(editor().echoMixBar), "0.00 %");
    EXPECT_EQ(shown(editor().springsMixBar), "42.0 %");

    // Automation turning it back, from a host thread.
    std::thread host([this] { parameter("SendRetMode").setValueNotifyingHost(0.0f); });
    host.join();
    deliverPostedMessages();
    EXPECT_EQ(shown(editor().echoMixBar), "0.00 % wet");
}

TEST_F(EditorValueTextsTest, TheGainReadOutsShowTheGainsTextForTheirHoldAfterTheMouseOrTheHost)
{
    TestClock clock;
    auto& window = openWindow();
    auto& input = parameter("Input");
    const auto centre = editor().getLocalArea(&editor().inputKnob, editor().inputKnob.getLocalBounds()).getCentre().toFloat();
    window.drag(centre, centre + juce::Point<float>(0.0f, -40.0f));
    ASSERT_GT(input.getValue(), input.getDefaultValue());
    EXPECT_EQ(editor().inputLabel.getText(), input.getCurrentValueAsText()) << "the new value, not the one before";
    clock.advance(InOutLabel::holdMs);
    editor().inputLabel.timerCallback();
    EXPECT_EQ(editor().inputLabel.getText(), input.getCurrentValueAsText());
    clock.advance(1);
    editor().inputLabel.timerCallback();
    EXPECT_EQ(editor().inputLabel.getText(), "INPUT");

    auto& output = parameter("Output");
    std::thread host([&output] { output.setValueNotifyingHost(0.25f); });
    host.join();
    deliverPostedMessages();
    EXPECT_EQ(editor().outputLabel.getText(), output.getCurrentValueAsText());
    EXPECT_NE(editor().outputLabel.getText(), "OUTPUT");
}

TEST_F(EditorValueTextsTest, InertiaShowsItsParametersText)
{
    auto& inertia = parameter("TapeStopInertia");
    inertia.setValueNotifyingHost(0.6f);
    auto& window = openWindow();
    const auto centre = editor().getLocalArea(&editor().inertiaButton, editor().inertiaButton.getLocalBounds()).getCentre().toFloat();
    window.press(centre);
    window.dragTo(centre + juce::Point<float>(0.0f, -10.0f));
    EXPECT_EQ(editor().inertiaButton.getShownLabel(), inertia.getCurrentValueAsText());
    window.release(centre + juce::Point<float>(0.0f, -10.0f));
}
} // namespace
