// The plug-in's open window and the host's parameters, through the bundle and the X server: what the
// host changes shows in the window, and what the user drags in the window reaches the host as one
// edit with a beginning and an end.
#include "tests/e2e/BuiltBundle.h"
#include "tests/e2e/EditorPicture.h"
#include "tools/host/HostedEditorWindow.h"
#include "tools/host/HostedParameters.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>

using namespace Quillmore::Host;

namespace
{
void setFromHost(juce::AudioProcessorParameter& parameter, float value, bool fromOtherThread)
{
    if (fromOtherThread)
        std::thread([&] { parameter.setValue(value); }).join();
    else
        parameter.setValue(value);
}

// What the host hears of one parameter, in order: "begin", "end" and the values it is told of.
class EditRecorder : public juce::AudioProcessorParameter::Listener
{
public:
    explicit EditRecorder(juce::AudioProcessorParameter& observed)
        : parameter(observed)
    {
        parameter.addListener(this);
    }
    ~EditRecorder() override { parameter.removeListener(this); }

    std::vector<juce::String> events() const
    {
        const std::lock_guard<std::mutex> guard(lock);
        return recorded;
    }

private:
    void parameterValueChanged(int, float value) override
    {
        const std::lock_guard<std::mutex> guard(lock);
        recorded.push_back(juce::String(value, 3));
    }
    void parameterGestureChanged(int, bool starting) override
    {
        const std::lock_guard<std::mutex> guard(lock);
        recorded.push_back(starting ? "begin" : "end");
    }

    juce::AudioProcessorParameter& parameter;
    mutable std::mutex lock;
    std::vector<juce::String> recorded;
};

class HostedEditorParameters : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(juce::SystemStats::getEnvironmentVariable("DISPLAY", {}).isNotEmpty())
            << "this test needs an X display: run it under xvfb-run -a (tools/run-all-tests.sh does)";
    }

    HostedPlugin plugin = loadBuiltBundle();
};
} // namespace

// The bar follows its parameter through its attachment; the section switch reaches the window through
// the editor's tick, which dims the section's controls. The host may set either from its message thread
// or from any other.
TEST_F(HostedEditorParameters, AChangeByTheHostShowsInTheOpenWindow)
{
    const struct
    {
        const char* parameter;
        float from, to;
        bool fromOtherThread;
    } cases[] = {
        {"NoiseAmnt", 0.0f, 1.0f, false},
        {"NoiseAmnt", 1.0f, 0.0f, true},
        {"HeadsOn", 1.0f, 0.0f, false},
        {"HeadsOn", 0.0f, 1.0f, true},
    };
    for (const auto& change : cases)
    {
        const auto where = juce::String(change.parameter) + " to " + juce::String(change.to)
                         + (change.fromOtherThread ? " from another thread" : " from the message thread");
        SCOPED_TRACE(where.toStdString());
        auto& parameter = findParameter(*plugin.instance, change.parameter);
        parameter.setValue(change.from);

        HostedEditorWindow window(*plugin.instance);
        const auto before = window.captureOncePainted();
        const auto bar = EditorPicture::Landmarks(before.getWidth(), before.getHeight()).noiseAmountBar;

        setFromHost(parameter, change.to, change.fromOtherThread);
        // A tick is 16 ms; the picture is looked at after every one of them, for at most a second.
        int ticks = 0;
        juce::Image after;
        do
        {
            window.runMessages(16);
            after = window.capture();
        } while (EditorPicture::meanDifference(before, after, bar) < 20.0 && ++ticks < 60);
        EXPECT_GE(EditorPicture::meanDifference(before, after, bar), 20.0) << "the AMOUNT bar did not change";
        std::cout << where << ": shown after " << ticks + 1 << " tick(s) of the message loop\n";
        EditorPicture::keepForReview(after, "hosted-editor-" + juce::String(change.parameter) + "-" + juce::String(change.to));
    }
}

// A drag along the AMOUNT bar with the X server's own pointer: the host is told that an edit begins,
// then the new values, then that the edit ends, and holds the value that the bar shows.
TEST_F(HostedEditorParameters, ADragInTheWindowReachesTheHostAsOneEdit)
{
    auto& parameter = findParameter(*plugin.instance, "NoiseAmnt");
    parameter.setValue(0.0f);
    HostedEditorWindow window(*plugin.instance);
    const auto before = window.captureOncePainted();
    const auto bar = EditorPicture::Landmarks(before.getWidth(), before.getHeight()).noiseAmountBar;

    const EditRecorder recorder(parameter);
    window.drag({bar.getX() + bar.getWidth() / 10, bar.getCentreY()}, {bar.getRight() - 2, bar.getCentreY()});
    window.runMessages(50);

    const auto events = recorder.events();
    const auto all = juce::StringArray(events.data(), static_cast<int>(events.size())).joinIntoString(" ");
    ASSERT_GE(events.size(), 3u) << all;
    EXPECT_EQ(events.front(), "begin") << all;
    EXPECT_EQ(events.back(), "end") << all;
    EXPECT_EQ(std::count(events.begin(), events.end(), "begin"), 1) << all;
    EXPECT_EQ(std::count(events.begin(), events.end(), "end"), 1) << all;
    EXPECT_GT(parameter.getValue(), 0.9f) << all;
    EXPECT_EQ(events[events.size() - 2], juce::String(parameter.getValue(), 3)) << all;

    const auto after = window.captureOncePainted();
    EXPECT_GE(EditorPicture::meanDifference(before, after, bar), 20.0) << "the bar does not show the drag";
    EditorPicture::keepForReview(after, "hosted-editor-dragged-amount");
}
