// The editor opened and closed a hundred times in a window while audio runs, as a user who keeps
// opening the plug-in's window does. Each opening posts one refresh; half of the windows close before
// it arrives, and it must then do nothing. Built with -DQUILLMORE_SANITIZER=address, a leak or a use of
// a closed editor fails the run. The framework's message loop runs once per process, hence a binary
// of its own.
#include "editor/QuillmoreAudioProcessorEditor.h"
#include "plugin/QuillmoreAudioProcessor.h"
#include "tests/editor/EditorTestBed.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

using namespace EditorTestBed;

namespace
{
constexpr int openings = 100;

// Audio blocks on a thread of their own until stopped.
class AudioThread
{
public:
    explicit AudioThread(QuillmoreAudioProcessor& processor)
        : thread([this, &processor] {
              juce::AudioBuffer<float> buffer(2, 256);
              juce::MidiBuffer midi;
              while (!stopped.load())
              {
                  for (int channel = 0; channel < 2; ++channel)
                      for (int i = 0; i < buffer.getNumSamples(); ++i)
                          buffer.setSample(channel, i, 0.25f * static_cast<float>((i % 64) - 32) / 32.0f);
                  processor.processBlock(buffer, midi);
                  blocks.fetch_add(1);
              }
          })
    {
    }
    ~AudioThread()
    {
        stopped = true;
        thread.join();
    }

    std::atomic<long> blocks{0};

private:
    std::atomic<bool> stopped{false};
    std::thread thread;
};

class Openings
{
public:
    explicit Openings(QuillmoreAudioProcessor& processorToOpen) : processor(processorToOpen) {}

    void next()
    {
        closeKeptWindow();
        if (opened == openings)
        {
            juce::MessageManager::getInstance()->stopDispatchLoop();
            return;
        }

        editor.reset(processor.createEditorIfNeeded());
        auto* own = dynamic_cast<QuillmoreAudioProcessorEditor*>(editor.get());
        ASSERT_NE(own, nullptr);
        window = std::make_unique<DesktopWindow>(*editor);
        ++opened;
        refreshesPosted += own->isRefreshPending() ? 1 : 0;
        // A page switch and a tick while the audio thread publishes its values.
        own->sideToggle.triggerClick();
        tick(*own);

        // Every second window stays open until its refresh has arrived; the others close at once.
        if (opened % 2 == 1)
            closeWindow();
        juce::MessageManager::callAsync([this] { next(); });
    }

    int opened = 0;
    int refreshesPosted = 0;
    int refreshesArrived = 0;
    int activeEditorsLeft = 0;

private:
    void closeKeptWindow()
    {
        if (editor == nullptr)
            return;
        auto* own = dynamic_cast<QuillmoreAudioProcessorEditor*>(editor.get());
        refreshesArrived += own != nullptr && !own->isRefreshPending() ? 1 : 0;
        closeWindow();
    }

    void closeWindow()
    {
        window.reset();
        editor.reset();
        activeEditorsLeft += processor.getActiveEditor() != nullptr ? 1 : 0;
    }

    QuillmoreAudioProcessor& processor;
    std::unique_ptr<juce::AudioProcessorEditor> editor;
    std::unique_ptr<DesktopWindow> window;
};
} // namespace

TEST(EditorLifecycle, OpensAndClosesAHundredTimesWhileAudioRuns)
{
    QuillmoreAudioProcessor processor;
    processor.prepareToPlay(48000.0, 256);
    const auto windowsBefore = juce::Desktop::getInstance().getNumComponents();
    {
        AudioThread audio(processor);
        Openings openingsRun(processor);
        juce::MessageManager::callAsync([&openingsRun] { openingsRun.next(); });
        juce::MessageManager::getInstance()->runDispatchLoop();

        EXPECT_EQ(openingsRun.opened, openings);
        EXPECT_EQ(openingsRun.refreshesPosted, openings) << "each opening posts one refresh";
        EXPECT_EQ(openingsRun.refreshesArrived, openings / 2) << "the windows kept open saw their refresh arrive";
        EXPECT_EQ(openingsRun.activeEditorsLeft, 0);
        EXPECT_GT(audio.blocks.load(), 0);
    }
    EXPECT_EQ(processor.getActiveEditor(), nullptr);
    EXPECT_EQ(juce::Desktop::getInstance().getNumComponents(), windowsBefore) << "every window closed";
    processor.releaseResources();
}
