// The real editor ticking on the message thread while a host automates every parameter in a burst
// from a thread of its own and the audio thread plays: built with ThreadSanitizer
// (tools/run-all-tests.sh does), a data race between them ends the binary with a report. Afterwards
// every control shows the host's last values. A binary of its own: it steps the message loop by hand.
#include "editor/QuillmoreAudioProcessorEditor.h"
#include "plugin/QuillmoreAudioProcessor.h"
#include "tests/plugin/ProcessorPlayer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <thread>

namespace juce
{
// The framework's message loop step on Linux, which its headers do not declare.
bool dispatchNextMessageOnSystemQueue(bool returnIfNoPendingMessages);
} // namespace juce

namespace
{
void deliverPostedMessages()
{
    for (int i = 0; i < 100000 && juce::dispatchNextMessageOnSystemQueue(true); ++i)
    {
    }
}

TEST(EditorTickUnderAutomation, AHostBurstWhileTheTickRunsIsCleanAndEndsShownInEveryControl)
{
    QuillmoreAudioProcessor processor;
    ProcessorPlayer::prepare(processor, 256);
    std::unique_ptr<juce::AudioProcessorEditor> created(processor.createEditor());
    auto* editor = dynamic_cast<QuillmoreAudioProcessorEditor*>(created.get());
    ASSERT_NE(editor, nullptr);

    std::atomic<bool> playing{true};
    std::thread audio([&] {
        juce::AudioBuffer<float> block(2, 256);
        juce::MidiBuffer midi;
        double phase = 0.0;
        while (playing)
        {
            for (int i = 0; i < 256; ++i, phase += 0.07)
                for (int channel = 0; channel < 2; ++channel)
                    block.setSample(channel, i, 0.7f * static_cast<float>(std::sin(phase)));
            processor.processBlock(block, midi);
        }
    });

    // Every parameter, many times over, some changes not a number; the last round finite.
    const auto& parameters = processor.getParameters();
    std::atomic<bool> automating{true};
    std::thread host([&] {
        std::mt19937 random(7);
        std::uniform_real_distribution<float> normalised(0.0f, 1.0f);
        constexpr int rounds = 300;
        for (int round = 0; round < rounds; ++round)
            for (int i = 0; i < parameters.size(); ++i)
            {
                auto value = normalised(random);
                if (round < rounds - 1 && (round * parameters.size() + i) % 97 == 0)
                    value = std::numeric_limits<float>::quiet_NaN();
                parameters[i]->setValueNotifyingHost(value);
            }
        automating = false;
    });

    long ticks = 0;
    while (automating)
    {
        editor->timerCallback();
        deliverPostedMessages();
        ++ticks;
    }
    host.join();
    playing = false;
    audio.join();
    deliverPostedMessages();
    editor->timerCallback();
    EXPECT_GT(ticks, 0);

    for (const auto& entry : QuillmoreAudioProcessorEditor::barTable())
    {
        auto* parameter = processor.apvts.getParameter(entry.parameterID);
        const auto& bar = editor->*(entry.bar);
        EXPECT_NEAR(bar.getValue(), parameter->convertFrom0to1(parameter->getValue()),
                    1.0e-4 * parameter->getNormalisableRange().getRange().getLength())
            << entry.parameterID;
    }
    for (const auto& [toggle, id] : {std::pair<juce::Button*, const char*>{&editor->hostSyncToggle, "EchoSyncOn"},
                                     {&editor->mixModeToggle, "SendRetMode"},
                                     {&editor->bypassToggle, "TrueBypass"}})
        EXPECT_EQ(toggle->getToggleState(), processor.apvts.getParameter(id)->getValue() >= 0.5f) << id;
    EXPECT_EQ(editor->isHeadsActive(), processor.apvts.getRawParameterValue("HeadsOn")->load() >= 0.5f);
    EXPECT_EQ(editor->isSpaceActive(), processor.apvts.getRawParameterValue("SpaceOn")->load() >= 0.5f);
    created.reset();
}
} // namespace
