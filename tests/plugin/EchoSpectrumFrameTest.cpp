// Echo-spectrum frames: "EchoSpec" lists sent by the patch go through the engine to the processor's
// handler on the audio thread, which assembles them into the double buffer; the editor reads it.
#include "tests/plugin/ProcessorHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace
{
using Message = LaggedPassThroughPatcher::Message;
using Block = std::vector<Message>;

constexpr float marker = -2048.0f;
constexpr int frameSize = QuillmoreAudioProcessor::spectrumFrameSize;

// count values from first on: every value tells where it came from.
std::vector<float> countFrom(float first, int count)
{
    std::vector<float> values;
    for (int i = 0; i < count; ++i)
        values.push_back(first + static_cast<float>(i));
    return values;
}

std::vector<float> join(std::initializer_list<std::vector<float>> parts)
{
    std::vector<float> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Message spectrumList(std::vector<float> values)
{
    return { "EchoSpec", PRT::MessageEvent::List, std::move(values) };
}

struct StreamCase
{
    const char* name;
    std::vector<Block> blocks; // what each engine block sends
    std::optional<std::vector<float>> frame; // what one read then finds
};

std::vector<StreamCase> streamCases()
{
    return {
        { "one list holds a marker and a frame",
          { { spectrumList(join({ { marker }, countFrom(1, 256) })) } },
          countFrom(1, 256) },
        { "a frame split over lists and blocks completes with the first value of the next; the rest is dropped",
          { { spectrumList(join({ { marker }, countFrom(1, 255) })) },
            { spectrumList(countFrom(256, 3)) },
            { spectrumList(countFrom(259, 254)) } },
          countFrom(1, 256) },
        { "a marker ending a list starts the frame in the next",
          { { spectrumList({ 5.0f, marker }), spectrumList(countFrom(1, 256)) } },
          countFrom(1, 256) },
        { "a marker mid-frame restarts it and the partial values are lost",
          { { spectrumList(join({ { marker }, countFrom(1, 100) })),
              spectrumList(join({ countFrom(101, 20), { marker }, countFrom(1001, 256) })) } },
          countFrom(1001, 256) },
        { "300 values after one marker make one frame of the first 256",
          { { spectrumList(join({ { marker }, countFrom(1, 300) })) } },
          countFrom(1, 256) },
        { "values before the first marker are dropped",
          { { spectrumList(countFrom(1, 10)), spectrumList(join({ countFrom(11, 300), { marker }, countFrom(501, 256) })) } },
          countFrom(501, 256) },
        { "two frames between reads: the read gets the second",
          { { spectrumList(join({ { marker }, countFrom(1, 256) })) },
            { spectrumList(join({ { marker }, countFrom(1001, 256) })) } },
          countFrom(1001, 256) },
        { "numbers and bangs tagged EchoSpec and lists of another tag are not spectrum",
          { { { "EchoSpec", PRT::MessageEvent::Number, { marker } },
              { "EchoSpec", PRT::MessageEvent::Bang, {} },
              spectrumList(countFrom(1, 256)),
              { "OtherList", PRT::MessageEvent::List, join({ { marker }, countFrom(1, 256) }) },
              { "OtherList", PRT::MessageEvent::List, { marker } },
              spectrumList(countFrom(1, 256)) } },
          std::nullopt },
    };
}

constexpr int blockSize = 128;

// Each block's messages go out of an engine block of their own.
void play(ProcessorHarness& harness, const std::vector<Block>& blocks)
{
    for (const auto& block : blocks)
    {
        const int before = harness.patcher.processedBlocks;
        harness.patcher.sendInNextBlock(block);
        while (harness.patcher.processedBlocks == before)
            harness.processSilence(1, blockSize);
    }
}

// What the editor's read finds.
std::optional<std::vector<float>> read(QuillmoreAudioProcessor& processor, int size = frameSize)
{
    std::vector<float> frame(static_cast<size_t>(frameSize), -1.0f);
    if (!processor.readSpectrumFrame(frame.data(), size))
        return std::nullopt;
    return frame;
}
} // namespace

TEST(EchoSpectrumFrames, AssembleFromTheStreamOfLists)
{
    for (const auto& streamCase : streamCases())
    {
        SCOPED_TRACE(streamCase.name);
        ProcessorHarness harness;
        harness.prepare(blockSize);
        play(harness, streamCase.blocks);

        EXPECT_EQ(read(harness.processor), streamCase.frame);
        EXPECT_EQ(read(harness.processor), std::nullopt) << "one frame, read once";
    }
}

TEST(EchoSpectrumFrames, AFrameWaitsThroughAReadOfTheWrongSizeAndGoesWithPrepare)
{
    ProcessorHarness harness;
    harness.prepare(blockSize);
    play(harness, { { spectrumList(join({ { marker }, countFrom(1, 256) })) } });

    EXPECT_EQ(read(harness.processor, frameSize - 1), std::nullopt);
    EXPECT_EQ(read(harness.processor), countFrom(1, 256));

    play(harness, { { spectrumList(join({ { marker }, countFrom(1001, 256) })) } });
    harness.prepare(blockSize);
    EXPECT_EQ(read(harness.processor), std::nullopt);
}

TEST(EchoSpectrumFrames, FramesAlternateHalvesAndAPartialFrameSurvivesPrepare)
{
    ProcessorHarness harness;
    harness.prepare(blockSize);
    auto& processor = harness.processor;

    for (float first : { 1.0f, 1001.0f, 2001.0f })
    {
        const int half = processor.spectrumWriteIndex.load();
        play(harness, { { spectrumList(join({ { marker }, countFrom(first, 256) })) } });
        EXPECT_EQ(processor.spectrumWriteIndex.load(), 1 - half);
        EXPECT_EQ(read(processor), countFrom(first, 256));
    }

    // The handler's frame under assembly is not the buffer's: a prepare between its parts keeps it.
    play(harness, { { spectrumList(join({ { marker }, countFrom(1, 200) })) } });
    harness.prepare(blockSize);
    play(harness, { { spectrumList(countFrom(201, 56)) } });
    EXPECT_EQ(read(processor), countFrom(1, 256));
}

// The real patch: a sine through the echo reaches the editor's buffer as the loudest band of the frame.
TEST(EchoSpectrumFrames, ASineThroughTheEchoShowsInItsBand)
{
    QuillmoreAudioProcessor processor;
    ProcessorPlayer::prepare(processor, 512);
    ProcessorPlayer::setHostValue(processor, "HeadsOn", 0.0f);
    ProcessorPlayer::setHostValue(processor, "EchoMix", 100.0f);

    // 984.375 Hz is the centre of bin 84, which band 28 averages with bins 83 and 85 at 48 kHz.
    juce::AudioBuffer<float> input(2, 2 * 48000);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < input.getNumSamples(); ++i)
            input.setSample(channel, i, 0.5f * std::sin(2.0 * juce::MathConstants<double>::pi * 984.375 * i / 48000.0));
    ProcessorPlayer::render(processor, input, 512);

    const auto frame = read(processor);
    ASSERT_TRUE(frame.has_value());
    const auto loudest = std::max_element(frame->begin(), frame->end());
    EXPECT_EQ(loudest - frame->begin(), 28);
    EXPECT_GT(*loudest, 10.0f) << "the echo is heard (still fading in over its first 6.5 s)";
    for (int band : { 5, 100, 200, 255 })
        EXPECT_LT((*frame)[static_cast<size_t>(band)], *loudest / 100.0f) << "band " << band;
}
