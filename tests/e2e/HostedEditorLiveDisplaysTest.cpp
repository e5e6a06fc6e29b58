// The plug-in's window while audio plays through the bundle in real time: the output meter lights,
// the warble meters and history move on SIDE A and the echo spectrum on SIDE B, all still while
// no audio runs. Pictures from the screen, probed where the layout puts the displays.
#include "tests/e2e/BuiltBundle.h"
#include "tests/e2e/EditorPicture.h"
#include "tools/host/HostedEditorWindow.h"
#include "tools/host/HostedParameters.h"
#include "tools/host/RealTimeAudio.h"
#include "tools/host/TestSignal.h"
#include "tools/host/X11Pointer.h"

#include <gtest/gtest.h>

#include <optional>

using namespace Quillmore::Host;

namespace
{
juce::AudioBuffer<float> phrase()
{
    SignalSettings settings;
    settings.kind = SignalKind::phrase;
    settings.seconds = 4.0;
    return generateSignal(settings, 48000.0);
}

// How much a display moves over a third of a second: a still display does not change at all, a live
// one (a thin trace over a dark ground) by a mean of about one level and more.
constexpr double moving = 0.2, still = 0.05;
double movement(HostedEditorWindow& window, juce::Rectangle<int> display)
{
    const auto first = window.capture();
    window.runMessages(330);
    return EditorPicture::meanDifference(first, window.capture(), display);
}
} // namespace

TEST(HostedEditorLiveDisplays, MetersWarbleAndSpectrumMoveWhileAudioPlays)
{
    ASSERT_TRUE(juce::SystemStats::getEnvironmentVariable("DISPLAY", {}).isNotEmpty())
        << "this test needs an X display: run it under xvfb-run -a (tools/run-all-tests.sh does)";
    auto plugin = loadBuiltBundle();
    for (const auto& [id, value] : {std::pair{"MstrWarble", 1.0f}, std::pair{"Wow", 0.8f}, std::pair{"Flutter", 0.5f},
                                    std::pair{"EchoMix", 0.5f}})
        findParameter(*plugin.instance, id).setValue(value);
    flushParameterChanges(*plugin.instance);

    HostedEditorWindow window(*plugin.instance);
    const auto silent = window.captureOncePainted();
    const EditorPicture::Landmarks at(silent.getWidth(), silent.getHeight());
    const auto warbleStill = movement(window, at.displayPanel);
    EXPECT_LT(warbleStill, still) << "the warble display moves without audio";

    std::optional<RealTimeAudio> audio;
    audio.emplace(*plugin.instance, phrase());
    // The phrase's notes come every half second: the meter is looked at over a second.
    juce::Image playing;
    double meterChange = 0.0;
    for (int look = 0; look < 10; ++look)
    {
        window.runMessages(100);
        playing = window.capture();
        meterChange = std::max(meterChange, EditorPicture::meanDifference(silent, playing, at.outputMeter));
    }
    EXPECT_GT(meterChange, 5.0) << "the output meter stays dark";
    const auto warble = movement(window, at.displayPanel);
    EXPECT_GT(warble, moving) << "the warble meters and history stand still";
    EditorPicture::keepForReview(playing, "hosted-editor-playing-side-a");

    window.click(at.sideTab.getCentre());
    // Away from the tab, which lights up under the pointer.
    movePointerTo(1900, 1190);
    const auto sideB = window.captureOncePainted();
    const auto skinB = EditorPicture::skinImage("WavySpaceB.png", sideB.getWidth(), sideB.getHeight());
    EXPECT_LT(EditorPicture::meanDifference(sideB, skinB, at.skinOnly), 4.0) << "the tab did not turn to SIDE B";
    const auto spectrum = movement(window, at.displayPanel);
    EXPECT_GT(spectrum, moving) << "the spectrum stands still";
    EditorPicture::keepForReview(sideB, "hosted-editor-playing-side-b");

    audio.reset();
    window.runMessages(1500);
    EXPECT_LT(movement(window, at.displayPanel), still) << "the spectrum moves without audio";
}
