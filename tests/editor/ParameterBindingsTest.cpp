// Every control of the real editor against its host parameter, in a window: the mouse moves the
// parameter (with the gestures the host must see), and automation from a host thread moves the
// control once its update reaches the message thread.
#include "editor/QuillmoreAudioProcessorEditor.h"
#include "plugin/QuillmoreAudioProcessor.h"
#include "tests/editor/EditorTestBed.h"
#include "tests/editor/ParameterGestures.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using Editor = QuillmoreAudioProcessorEditor;
using namespace EditorTestBed;

namespace
{
enum class Kind
{
    bar,         // dragged sideways, one gesture per drag
    knob,        // dragged upwards, one gesture per drag
    toggle,      // clicked, one gesture per click
    utility,     // switched on mouse-down, no gesture
    inertia,     // dragged upwards, no gesture
    eqHighPass,  // the EQ graph's high-pass handle
    eqRolloff,   // the EQ graph's roll-off handle
    spectrumXY,  // the spectrum overlay: frequency sideways, Q up and down
};

struct Binding
{
    const char* control;
    std::function<juce::Component&(Editor&)> find;
    const char* parameterID;
    Kind kind;
    int side;
    std::vector<std::pair<const char*, float>> setUp; // normalised values in force before the editor opens
};

template <typename Member>
std::function<juce::Component&(Editor&)> member(Member Editor::*pointer)
{
    return [pointer](Editor& editor) -> juce::Component& { return editor.*pointer; };
}

std::vector<Binding> bindings()
{
    std::vector<Binding> table;
    for (const auto& bar : Editor::barTable())
    {
        std::vector<std::pair<const char*, float>> setUp;
        if (std::string(bar.parameterID) == "EchoSyncDiv")
            setUp.emplace_back("EchoSyncOn", 1.0f);
        table.push_back({bar.caption, member(bar.bar), bar.parameterID, Kind::bar, bar.side, setUp});
    }
    table.push_back({"INPUT", member(&Editor::inputKnob), "Input", Kind::knob, 0, {}});
    table.push_back({"OUTPUT", member(&Editor::outputKnob), "Output", Kind::knob, 1, {}});
    table.push_back({"HOST SYNC", member(&Editor::hostSyncToggle), "EchoSyncOn", Kind::toggle, 1, {}});
    table.push_back({"MIX MODE", member(&Editor::mixModeToggle), "SendRetMode", Kind::toggle, 1, {}});
    table.push_back({"BYPASS", member(&Editor::bypassToggle), "TrueBypass", Kind::toggle, 0, {}});
    table.push_back({"HEADS", member(&Editor::headsOnButton), "HeadsOn", Kind::utility, 0, {}});
    table.push_back({"SPACE", member(&Editor::spaceOnButton), "SpaceOn", Kind::utility, 1, {}});
    table.push_back({"ORDER", member(&Editor::orderButton), "Order", Kind::utility, 0, {}});
    table.push_back({"STOP", member(&Editor::stopButton), "TapeStop", Kind::utility, 0, {}});
    table.push_back({"INERTIA", member(&Editor::inertiaButton), "TapeStopInertia", Kind::inertia, 0, {}});
    table.push_back({"EQ HIGH-PASS", member(&Editor::eqGraph), "HighPass", Kind::eqHighPass, 0, {{"HighPass", 0.5f}}});
    table.push_back({"EQ ROLL-OFF", member(&Editor::eqGraph), "HighRolloff", Kind::eqRolloff, 0, {}});
    table.push_back({"SPECTRUM XY", [](Editor& e) -> juce::Component& { return *e.xyOverlay; }, "EchoFilterFreq",
                     Kind::spectrumXY, 1, {}});
    return table;
}

void PrintTo(const Binding& binding, std::ostream* out)
{
    *out << binding.control << " -> " << binding.parameterID;
}

std::string caseName(const ::testing::TestParamInfo<Binding>& info)
{
    auto name = juce::String(info.param.control).retainCharacters("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    return (name + juce::String(info.index)).toStdString();
}

bool sameImage(const juce::Image& a, const juce::Image& b)
{
    if (a.getBounds() != b.getBounds())
        return false;
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (a.getPixelAt(x, y) != b.getPixelAt(x, y))
                return false;
    return true;
}

class ParameterBindingsTest : public ::testing::TestWithParam<Binding>
{
protected:
    ParameterBindingsTest()
    {
        for (const auto& [id, value] : GetParam().setUp)
            processor.apvts.getParameter(id)->setValueNotifyingHost(value);
        processor.activePanel = GetParam().side;
        created.reset(processor.createEditor());
        editor = dynamic_cast<Editor*>(created.get());
        window = std::make_unique<DesktopWindow>(*editor);
    }

    ~ParameterBindingsTest() override { window.reset(); }

    juce::RangedAudioParameter& parameter(const char* id) { return *processor.apvts.getParameter(id); }

    // A point of the control in the editor's coordinates, by fractions of its width and height.
    juce::Point<float> at(juce::Component& control, float fx, float fy)
    {
        const auto area = editor->getLocalArea(&control, control.getLocalBounds()).toFloat();
        return {area.getX() + fx * area.getWidth(), area.getY() + fy * area.getHeight()};
    }

    // The host's automation, from a thread of its own.
    void automate(const char* id, float normalised)
    {
        std::thread host([this, id, normalised] { parameter(id).setValueNotifyingHost(normalised); });
        host.join();
    }

    QuillmoreAudioProcessor processor;
    std::unique_ptr<juce::AudioProcessorEditor> created;
    Editor* editor = nullptr;
    std::unique_ptr<DesktopWindow> window;
};

TEST_P(ParameterBindingsTest, TheMouseMovesTheParameterAndAutomationMovesTheControl)
{
    const auto& binding = GetParam();
    auto& control = binding.find(*editor);
    auto& watched = parameter(binding.parameterID);
    ASSERT_TRUE(control.isShowing()) << binding.control << " is not on its page";
    ASSERT_TRUE(control.isEnabled()) << binding.control << " is dimmed";

    // The user.
    const auto before = watched.getValue();
    {
        ParameterGestures gestures(watched);
        const bool low = before < 0.5f;
        switch (binding.kind)
        {
        case Kind::bar:
            window->drag(at(control, 0.5f, 0.5f), at(control, low ? 0.85f : 0.15f, 0.5f));
            break;
        case Kind::knob:
        case Kind::inertia:
        {
            const auto centre = at(control, 0.5f, 0.5f);
            window->drag(centre, centre + juce::Point<float>(0.0f, low ? -60.0f : 60.0f));
            break;
        }
        case Kind::toggle:
        case Kind::utility:
            window->click(at(control, 0.5f, 0.5f));
            break;
        case Kind::eqHighPass:
        case Kind::eqRolloff:
        {
            auto& graph = editor->eqGraph;
            const auto plot = graph.plotArea();
            const auto handle = binding.kind == Kind::eqHighPass ? graph.getHighPassPosition() : graph.getRolloffPosition();
            const auto from = juce::Point<float>(plot.getX() + static_cast<float>(handle) * plot.getWidth(), plot.getCentreY());
            const auto toPosition = handle > 0.4 ? 0.25f : 0.6f;
            const auto to = juce::Point<float>(plot.getX() + toPosition * plot.getWidth(), plot.getCentreY());
            window->drag(at(graph, 0.0f, 0.0f) + from, at(graph, 0.0f, 0.0f) + to);
            break;
        }
        case Kind::spectrumXY:
            window->drag(at(control, 0.5f, 0.5f), at(control, 0.8f, 0.3f));
            break;
        }
        deliverPostedMessages();

        EXPECT_NE(watched.getValue(), before) << binding.control << " did not move " << binding.parameterID;
        const bool withGesture = binding.kind != Kind::utility && binding.kind != Kind::inertia;
        EXPECT_EQ(gestures.begins, withGesture ? 1 : 0) << binding.control;
        EXPECT_EQ(gestures.ends, withGesture ? 1 : 0) << binding.control;
        if (withGesture)
        {
            EXPECT_FALSE(gestures.changedOutsideGesture) << binding.control;
        }
    }
    const auto tolerance = 1.0e-4 * watched.getNormalisableRange().getRange().getLength();
    if (auto* slider = dynamic_cast<juce::Slider*>(&control))
    {
        EXPECT_NEAR(slider->getValue(), watched.convertFrom0to1(watched.getValue()), tolerance)
            << binding.control << " shows what it set";
    }

    // The host. What the user sees changes too: the control, or for the overlay the spectrum view under it.
    auto& shown = binding.kind == Kind::spectrumXY ? static_cast<juce::Component&>(editor->spectrumView) : control;
    const auto shownBefore = render(shown);
    const auto target = watched.getValue() < 0.5f ? 0.9f : 0.1f;
    automate(binding.parameterID, target);
    deliverPostedMessages();
    tick(*editor);
    const auto expected = watched.convertFrom0to1(watched.getValue());
    if (auto* slider = dynamic_cast<juce::Slider*>(&control))
    {
        EXPECT_NEAR(slider->getValue(), expected, tolerance) << binding.control;
    }
    if (auto* button = dynamic_cast<juce::Button*>(&control); button != nullptr && binding.kind == Kind::toggle)
    {
        EXPECT_EQ(button->getToggleState(), expected >= 0.5f) << binding.control;
    }
    if (binding.kind == Kind::eqHighPass)
    {
        EXPECT_NEAR(editor->eqGraph.getHighPassPosition(), EQGraph::hzToX(expected), 1.0e-6);
    }
    if (binding.kind == Kind::eqRolloff)
    {
        EXPECT_NEAR(editor->eqGraph.getRolloffPosition(), EQGraph::hzToX(expected), 1.0e-6);
    }
    if (binding.kind == Kind::spectrumXY)
    {
        // With no LFO the bell stands at the filter's frequency, which the tick gave the view.
        const auto area = editor->spectrumView.getLocalBounds().toFloat();
        EXPECT_NEAR(editor->spectrumView.bellCenterX(area), editor->spectrumView.frequencyToX(expected, area), 0.01f);
    }
    EXPECT_FALSE(sameImage(shownBefore, render(shown)))
        << binding.control << " looks the same after the host moved " << binding.parameterID;
}

INSTANTIATE_TEST_SUITE_P(EveryControl, ParameterBindingsTest, ::testing::ValuesIn(bindings()), caseName);
} // namespace
