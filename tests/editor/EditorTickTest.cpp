// The real editor's 16 ms tick on the real processor, stepped by hand with the test clock: what the
// processor publishes reaches the displays (the spectrum frame, the warble, the output meter and its
// clip hold), the spectrum handle's hold on the echo filter's bars, hostile values, and an idle tick
// that repaints nothing.
#include "tests/editor/EditorWindowFixture.h"
#include "tests/plugin/ProcessorPlayer.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

using Editor = QuillmoreAudioProcessorEditor;
using namespace EditorTestBed;

namespace
{
const float notANumber = std::numeric_limits<float>::quiet_NaN();
const float infinity = std::numeric_limits<float>::infinity();

class EditorTickTest : public EditorWindowFixture
{
protected:
    juce::RangedAudioParameter& parameter(const char* id) { return *processor.apvts.getParameter(id); }
    void set(const char* id, float value) { ProcessorPlayer::setHostValue(processor, id, value); }

    void showSide(int side)
    {
        if (editor().getActiveSide() != side)
            openWindow().click(editor().sideToggle.getBounds().getCentre().toFloat());
        ASSERT_EQ(editor().getActiveSide(), side);
    }

    // Host blocks of a sine through the processor, as the audio thread plays them; returns the last
    // block's peak.
    float play(int blocks, float amplitude, int blockSize = 512)
    {
        if (!prepared)
            ProcessorPlayer::prepare(processor, blockSize);
        prepared = true;
        juce::AudioBuffer<float> block(2, blockSize);
        juce::MidiBuffer midi;
        for (int b = 0; b < blocks; ++b)
        {
            for (int i = 0; i < blockSize; ++i)
            {
                const auto v = amplitude * static_cast<float>(std::sin(0.0654 * static_cast<double>(phase++)));
                block.setSample(0, i, v);
                block.setSample(1, i, v);
            }
            processor.processBlock(block, midi);
        }
        return block.getMagnitude(0, blockSize);
    }

    // Plays 512-sample blocks until the condition holds (at most 30 s of audio); returns whether it did.
    bool playUntil(const std::function<bool()>& condition, float amplitude)
    {
        for (int i = 0; i < 3000; ++i)
        {
            if (condition())
                return true;
            play(1, amplitude);
        }
        return condition();
    }

    // The frame waiting in the processor's double buffer, read without taking it.
    std::array<float, QuillmoreAudioProcessor::spectrumFrameSize> waitingFrame() const
    {
        std::array<float, QuillmoreAudioProcessor::spectrumFrameSize> frame{};
        const auto& half = processor.spectrumFrames[static_cast<size_t>(1 - processor.spectrumWriteIndex.load())];
        for (size_t i = 0; i < frame.size(); ++i)
            frame[i] = half[i].load();
        return frame;
    }

    TestClock clock;
    bool prepared = false;
    juce::int64 phase = 0;
};

TEST_F(EditorTickTest, AHotSpectrumFrameReachesTheViewWithinOneTick)
{
    showSide(1);
    set("EchoMix", 100.0f);
    set("EchoFdbck", 60.0f);
    tick(editor());
    // The echo fades in over its first seconds: until then its frames are silent.
    const auto hot = [this] {
        const auto frame = waitingFrame();
        return processor.spectrumReady.load() && *std::max_element(frame.begin(), frame.end()) > 0.0f;
    };
    ASSERT_TRUE(playUntil(hot, 0.5f)) << "no sounding spectrum frame from the echo";
    const auto frame = waitingFrame();

    tick(editor());
    EXPECT_FALSE(processor.spectrumReady.load()) << "the tick took the frame";
    const auto& bins = editor().spectrumView.getSmoothedBins();
    for (size_t i = 0; i < frame.size(); ++i)
        ASSERT_EQ(bins[i], frame[i]) << "bin " << i << ": the first frame is shown as it is";

    // With the Space off no frame is taken; the first tick after it returns takes the last one.
    set("SpaceOn", 0.0f);
    tick(editor());
    ASSERT_TRUE(playUntil([this] { return processor.spectrumReady.load(); }, 0.5f));
    tick(editor());
    EXPECT_TRUE(processor.spectrumReady.load()) << "taken while the Space is off";
    set("SpaceOn", 1.0f);
    tick(editor());
    EXPECT_FALSE(processor.spectrumReady.load());
}

// The LFO display's speed (held to 0.02..40 Hz) and its one-shot hard sync, armed again by every tick.
TEST_F(EditorTickTest, TheSpaceStepDrivesTheLfoDisplay)
{
    showSide(1);
    auto& view = editor().spectrumView;
    const auto phaseStepIn50Ms = [this, &view] {
        tick(editor());
        view.timerCallback();
        const auto before = view.getPhase();
        clock.advance(50);
        view.timerCallback();
        return std::remainder(view.getPhase() - before, juce::MathConstants<double>::twoPi);
    };
    set("EchoFilterLFOSpeed", 5.0f);
    EXPECT_NEAR(phaseStepIn50Ms(), 0.05 * juce::MathConstants<double>::twoPi * 5.0, 1.0e-3);
    set("EchoFilterLFOSpeed", 0.01f);
    EXPECT_NEAR(phaseStepIn50Ms(), 0.05 * juce::MathConstants<double>::twoPi * 0.02, 1.0e-5) << "held at 0.02 Hz";

    auto& hardSync = view.getHardSyncDebouncer();
    tick(editor());
    ASSERT_TRUE(hardSync.isArmed());
    EXPECT_EQ(hardSync.getTimerInterval(), 120);
    hardSync.timerCallback();
    EXPECT_FALSE(hardSync.isArmed()) << "fired";
    tick(editor());
    EXPECT_TRUE(hardSync.isArmed()) << "armed again by the next tick";
}

TEST_F(EditorTickTest, TheClipLightHoldsForOneSecondAfterTheLastClippingBlockThenFalls)
{
    tick(editor());
    EXPECT_FALSE(editor().outputMeter.isClipLit(0)) << "dark at start";
    EXPECT_FALSE(editor().outputMeter.isClipLit(1));

    set("Output", 200.0f);
    const auto peak = play(40, 1.0f);
    ASSERT_TRUE(processor.clipL.load() && processor.clipR.load()) << "the loud blocks did not clip: " << peak;
    tick(editor());
    EXPECT_TRUE(editor().outputMeter.isClipLit(0));
    EXPECT_TRUE(editor().outputMeter.isClipLit(1));

    set("Output", 0.0f);
    play(4, 0.0f);
    ASSERT_FALSE(processor.clipL.load());
    for (int elapsed = 16; elapsed < 1000; elapsed += 16)
    {
        clock.advance(16);
        tick(editor());
        ASSERT_TRUE(editor().outputMeter.isClipLit(0)) << elapsed << " ms after the clip";
    }
    clock.advance(1000 - 992 - 1);
    tick(editor());
    EXPECT_TRUE(editor().outputMeter.isClipLit(0)) << "999 ms after the clip";
    clock.advance(1);
    tick(editor());
    EXPECT_FALSE(editor().outputMeter.isClipLit(0)) << "1000 ms after the clip";
    EXPECT_FALSE(editor().outputMeter.isClipLit(1));

    // One channel alone, as the processor publishes it.
    processor.clipR = true;
    tick(editor());
    processor.clipR = false;
    EXPECT_FALSE(editor().outputMeter.isClipLit(0));
    EXPECT_TRUE(editor().outputMeter.isClipLit(1));
}

TEST_F(EditorTickTest, TheWarbleMovesTheMetersAndTheHistoryOnlyWhileTheHeadsAreOn)
{
    processor.warbleL = 1.7f;
    processor.warbleR = -0.3f;
    tick(editor());
    EXPECT_EQ(editor().warbleMeterL.getValue(), 1.0f);
    EXPECT_EQ(editor().warbleMeterR.getValue(), 0.0f);
    EXPECT_FLOAT_EQ(editor().warbleHistory.getHistoryL().front(), 0.5f + 0.5f * 0.65f) << "smoothed towards 1";
    EXPECT_FLOAT_EQ(editor().warbleHistory.getHistoryR().front(), 0.5f - 0.5f * 0.65f) << "smoothed towards 0";

    set("HeadsOn", 0.5f);
    tick(editor());
    EXPECT_TRUE(editor().isHeadsActive()) << "0.5 counts as on";

    set("HeadsOn", 0.0f);
    tick(editor());
    EXPECT_EQ(editor().warbleMeterL.getValue(), 0.0f);
    const auto historyWhenOff = editor().warbleHistory.getHistoryL();
    processor.warbleL = 0.9f;
    processor.warbleR = 0.1f;
    tick(editor());
    EXPECT_EQ(editor().warbleMeterL.getValue(), 0.0f);
    EXPECT_EQ(editor().warbleHistory.getHistoryL(), historyWhenOff);

    set("HeadsOn", 1.0f);
    tick(editor());
    EXPECT_EQ(editor().warbleMeterL.getValue(), 0.9f);
    EXPECT_EQ(editor().warbleMeterR.getValue(), 0.1f);
}

TEST_F(EditorTickTest, DroppingTheSpectrumHandleKeepsTheFilterBarsShowingTheirValuesFor800Ms)
{
    showSide(1);
    auto& window = openWindow();
    const auto area = editor().getLocalArea(editor().xyOverlay.get(), editor().xyOverlay->getLocalBounds()).toFloat();
    const auto grab = area.getCentre();
    const auto drop = grab + juce::Point<float>(20.0f, -5.0f);
    const auto pinned = [this] { return editor().filterFreqBar.isValuePinned() && editor().filterQBar.isValuePinned(); };

    window.press(grab);
    window.dragTo(drop);
    EXPECT_TRUE(pinned()) << "while held";
    EXPECT_EQ(editor().filterFreqBar.getShownText(), parameter("EchoFilterFreq").getCurrentValueAsText());
    window.release(drop);
    clock.advance(799);
    tick(editor());
    EXPECT_TRUE(pinned()) << "799 ms after the drop";
    clock.advance(1);
    tick(editor());
    EXPECT_FALSE(editor().filterFreqBar.isValuePinned()) << "800 ms after the drop";
    EXPECT_FALSE(editor().filterQBar.isValuePinned());

    // Grabbed again within the 800 ms: the deadline is gone until the next drop.
    window.drag(grab, drop);
    clock.advance(500);
    window.press(drop);
    clock.advance(1000);
    tick(editor());
    EXPECT_TRUE(pinned()) << "held again";
    window.release(drop);

    // With the Space off the deadline waits for the first tick with the Space on.
    set("SpaceOn", 0.0f);
    tick(editor());
    clock.advance(2000);
    tick(editor());
    EXPECT_TRUE(pinned());
    set("SpaceOn", 1.0f);
    tick(editor());
    EXPECT_FALSE(pinned());
}

TEST_F(EditorTickTest, HostileValuesLeaveEveryDisplayFinite)
{
    showSide(1);
    for (const auto* id : {"EchoFilterFreq", "EchoFilterQ", "EchoFilterLFOAmount", "EchoFilterLFOSpeed", "HeadsOn", "SpaceOn"})
        for (const float value : {notANumber, infinity, -infinity})
        {
            parameter(id).setValueNotifyingHost(value);
            tick(editor());
        }
    processor.warbleL = notANumber;
    processor.warbleR = infinity;
    processor.outputLevelL = notANumber;
    processor.outputLevelR = -infinity;
    processor.echoFilterFrequency = notANumber;
    for (int i = 0; i < 3; ++i)
    {
        clock.advance(16);
        tick(editor());
    }
    EXPECT_TRUE(std::isfinite(editor().warbleMeterL.getValue()));
    EXPECT_TRUE(std::isfinite(editor().warbleMeterR.getValue()));
    for (const auto v : editor().warbleHistory.getHistoryL())
        ASSERT_TRUE(std::isfinite(v));
    EXPECT_TRUE(std::isfinite(editor().spectrumView.getPhase()));
    writeSnapshot(render(editor()), "editor-tick-hostile-values");
}

// Idle: the processor publishes nothing new and no parameter moves. A tick then asks for no repaint
// on either page; a new value repaints only its own display.
TEST_F(EditorTickTest, AnIdleTickRepaintsNothing)
{
    openWindow();
    for (const int side : {0, 1})
    {
        showSide(side);
        for (int i = 0; i < 400; ++i) // the history settles, every display shows what is published
            tick(editor());
        deliverPostedMessages();
        RepaintRecorder meterRepaints(editor().outputMeter);
        RepaintRecorder repaints(editor());
        for (int i = 0; i < 5; ++i)
        {
            clock.advance(16);
            tick(editor());
        }
        EXPECT_EQ(repaints.onMessageThread(), 0) << "page " << side;

        processor.outputLevelL = 0.8f;
        tick(editor());
        EXPECT_EQ(meterRepaints.onMessageThread(), 1) << "page " << side;
        EXPECT_EQ(repaints.onMessageThread(), 1) << "page " << side << ": the meter alone";
        processor.outputLevelL = 0.0f;
        tick(editor());
    }
}

// Audio through the processor with full warble and a loud echo: the warble meters, the history, the
// spectrum and the output meter all move. Snapshots of both pages for review.
TEST_F(EditorTickTest, WhileAudioRunsTheDisplaysMove)
{
    set("MstrWarble", 100.0f);
    set("Wow", 100.0f);
    set("Flutter", 60.0f);
    set("EchoMix", 100.0f);
    set("EchoFdbck", 70.0f);
    set("EchoFilterLFOAmount", 60.0f);
    set("EchoFilterLFOSpeed", 1.0f);
    openWindow();
    play(700, 0.6f); // past the echo's fade-in
    std::vector<float> meterValues;
    for (int t = 0; t < 150; ++t)
    {
        play(2, 0.6f, 384); // about 16 ms at 48 kHz
        clock.advance(16);
        tick(editor());
        meterValues.push_back(editor().warbleMeterL.getValue());
    }
    const auto [low, high] = std::minmax_element(meterValues.begin(), meterValues.end());
    EXPECT_GT(*high - *low, 0.05f) << "the warble meter stood still";
    const auto& history = editor().warbleHistory.getHistoryL();
    EXPECT_NE(*std::min_element(history.begin(), history.end()), *std::max_element(history.begin(), history.end()));
    writeSnapshot(render(editor()), "editor-tick-side-a-audio");

    showSide(1);
    for (int t = 0; t < 60; ++t)
    {
        play(2, 0.6f, 384);
        clock.advance(16);
        tick(editor());
    }
    const auto& bins = editor().spectrumView.getSmoothedBins();
    EXPECT_GT(*std::max_element(bins.begin(), bins.end()), 0.0f) << "no spectrum shown";
    EXPECT_GT(StereoLedVUMeter::litIndex(processor.outputLevelL.load()), 3);
    writeSnapshot(render(editor()), "editor-tick-side-b-audio");
}
} // namespace
