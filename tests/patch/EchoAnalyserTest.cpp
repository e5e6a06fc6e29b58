// The echo spectrum analyser inside the real engine core, as the only module of a test top level
// whose left input feeds the analyser: the powers it keeps in "binA", the band table in "listSizes",
// and the "EchoSpec" stream it sends, assembled into frames as the processor assembles them.
#include "patch/space/EchoAnalyser.h"
#include "patch/space/BlackmanWindow.h"
#include "patch/space/FramePowerSpectrum.h"

#include "tests/patch/ModuleTestRoot.h"
#include "tests/patch/PatchEngine.h"
#include "tests/patch/SchedulingRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>
#include <limits>
#include <random>
#include <vector>

using namespace PRT;
using namespace PRT::test;

using Analyser = Quillmore::PRTSubpatcher_55;

namespace
{
constexpr int64_t frame = 4096;
constexpr double twoPi = 6.283185307179586;

// |X[k]|² of the frame, summed in double precision.
std::vector<double> referencePowers(const std::vector<float>& samples)
{
    std::vector<double> powers(frame);
    for (int64_t k = 0; k < frame; ++k)
    {
        std::complex<double> sum = 0.0;
        for (int64_t n = 0; n < frame; ++n)
            sum += static_cast<double>(samples[static_cast<size_t>(n)]) *
                   std::polar(1.0, -twoPi * static_cast<double>((k * n) % frame) / frame);
        powers[static_cast<size_t>(k)] = std::norm(sum);
    }
    return powers;
}

std::vector<float> blackman()
{
    std::vector<float> window(frame);
    dsp::fillPeriodicBlackman(window.data(), frame);
    return window;
}

// Full scale at f Hz.
std::function<float(int64_t)> sine(double frequency, double rate, float amplitude = 1.0f)
{
    return [=](int64_t t) {
        return amplitude * static_cast<float>(std::sin(twoPi * frequency * static_cast<double>(t) / rate));
    };
}

float silence(int64_t)
{
    return 0.0f;
}

struct StreamList
{
    std::vector<float> values;
    MillisecondTime time;
};

class AnalyserRig
{
public:
    AnalyserRig(float sampleRate, Index blockSize)
        : root(patch.install(new ModuleTestRoot<Analyser>())), analyser(*root.module)
    {
        analyser.setEngineAndParent(&recorder, &root);
        prepare(sampleRate, blockSize);
    }

    void prepare(float sampleRate, Index blockSize)
    {
        patch.prepare(sampleRate, blockSize);
        rate = sampleRate;
        block = blockSize;
    }

    // samples of the signal (its argument: the sample's index since the rig started) through the
    // analyser, in blocks; the clocks that the last block raised arrive with the next block.
    void play(int64_t samples, const std::function<float(int64_t)>& signal)
    {
        while (samples > 0)
        {
            const Index n = static_cast<Index>(std::min<int64_t>(samples, block));
            for (Index i = 0; i < n; ++i)
                patch.left[i] = signal(played++);
            const SampleValue* inputs[] = {patch.left.data(), patch.right.data()};
            SampleValue* outputs[] = {patch.outLeft.data(), patch.outRight.data()};
            patch.engine.process(inputs, 2, outputs, 2, n, nullptr, nullptr);
            samples -= n;
        }
    }

    // The "EchoSpec" lists sent since the last call.
    std::vector<StreamList> takeStreamLists()
    {
        std::vector<StreamList> lists;
        for (const SentMessage& message : patch.takeSent())
            if (message.tag == tags::echoSpec.hash && message.kind == MessageEvent::List)
            {
                EXPECT_EQ(message.objectId, 0u);
                lists.push_back({message.values, message.time});
            }
        return lists;
    }

    // The times for which the analyser scheduled the clock, in samples since the rig started.
    std::vector<double> clockSamples(ClockId clock) const
    {
        std::vector<double> samples;
        for (const auto& [id, time] : recorder.scheduled)
            if (id == clock)
                samples.push_back(time * rate / 1000.0);
        return samples;
    }

    float bin(size_t k) { return static_cast<const float*>(root.getDataRef(15)->getData())[k]; }
    double tableEntry(size_t x) { return static_cast<const double*>(root.getDataRef(17)->getData())[x]; }

    PatchEngine patch;
    SchedulingRecorder recorder{patch.engine};
    ModuleTestRoot<Analyser>& root;
    Analyser& analyser;
    float rate = 0.0f;
    Index block = 0;
    int64_t played = 0;
};

// The processor's assembly: a marker opens a frame, the 256th value after it completes the frame.
std::vector<std::vector<float>> assembleFrames(const std::vector<StreamList>& lists)
{
    std::vector<std::vector<float>> frames;
    std::vector<float> open;
    bool inFrame = false;
    for (const StreamList& each : lists)
        for (float value : each.values)
        {
            if (value == Analyser::frameMarker)
            {
                inFrame = true;
                open.clear();
                continue;
            }
            if (!inFrame)
                continue;
            open.push_back(value);
            if (open.size() == 256)
            {
                frames.push_back(open);
                inFrame = false;
            }
        }
    return frames;
}

std::vector<size_t> lengthsOf(const std::vector<StreamList>& lists)
{
    std::vector<size_t> lengths;
    for (const StreamList& each : lists)
        lengths.push_back(each.values.size());
    return lengths;
}

// The lengths of a steady stream: marker, band list, marker, band list ...
std::vector<size_t> steadyLengths(size_t pairs)
{
    std::vector<size_t> lengths;
    for (size_t i = 0; i < pairs; ++i)
        lengths.insert(lengths.end(), {1, 256});
    return lengths;
}

// The mean of the given powers, summed one after the other in single precision.
float meanOf(std::initializer_list<float> powers)
{
    float sum = 0.0f;
    for (float p : powers)
        sum += p;
    return sum / static_cast<float>(powers.size());
}
} // namespace

TEST(EchoSpectrumTransform, GivesEveryBinOfTheDiscreteFourierTransform)
{
    std::mt19937 random(3);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    const std::vector<float> window = blackman();
    const struct
    {
        const char* name;
        std::function<float(int64_t)> sample;
    } frames[] = {
        {"windowed noise", [&](int64_t n) { return window[static_cast<size_t>(n)] * uniform(random); }},
        {"an impulse at sample 1", [](int64_t n) { return n == 1 ? 1.0f : 0.0f; }},
        {"a constant", [](int64_t) { return 0.5f; }},
        {"a windowed sine between bins", [&](int64_t n) { return window[static_cast<size_t>(n)] * sine(1000.0, 48000.0)(n); }},
    };
    dsp::FramePowerSpectrum transform;
    for (const auto& each : frames)
    {
        SCOPED_TRACE(each.name);
        std::vector<float> samples(frame), power(frame);
        for (int64_t n = 0; n < frame; ++n)
            samples[static_cast<size_t>(n)] = each.sample(n);
        transform.compute(samples.data(), power.data());
        const std::vector<double> expected = referencePowers(samples);
        const double largest = *std::max_element(expected.begin(), expected.end());
        for (size_t k = 0; k < static_cast<size_t>(frame); ++k)
            ASSERT_NEAR(power[k], expected[k], 2e-6 * largest) << "bin " << k;
    }
}

TEST(EchoSpectrumTransform, WindowIsThePeriodicBlackman)
{
    const std::vector<float> window = blackman();
    EXPECT_NEAR(window[0], 0.0f, 1e-7f);
    EXPECT_FLOAT_EQ(window[2048], 1.0f);
    for (size_t p : {1u, 500u, 1024u, 3000u, 4095u})
        EXPECT_NEAR(window[p], 0.42 - 0.5 * std::cos(twoPi * p / 4096.0) + 0.08 * std::cos(2 * twoPi * p / 4096.0), 1e-7);
    for (size_t p = 1; p < 2048; ++p)
        ASSERT_EQ(window[p], window[4096 - p]) << p;
}

TEST(EchoAnalyser, BinAHoldsThePowersOfTheWindowedPreviousFrame)
{
    // A full-scale 1 kHz sine at 48 kHz: after three frames "binA" holds the second one's powers.
    AnalyserRig rig(48000.0f, 64);
    const auto signal = sine(1000.0, 48000.0);
    rig.play(3 * frame, signal);

    const std::vector<float> window = blackman();
    std::vector<float> windowed(frame);
    for (int64_t n = 0; n < frame; ++n)
        windowed[static_cast<size_t>(n)] = window[static_cast<size_t>(n)] * signal(frame + n);
    const std::vector<double> expected = referencePowers(windowed);
    const double largest = *std::max_element(expected.begin(), expected.end());
    for (size_t k = 0; k < static_cast<size_t>(frame); ++k)
        ASSERT_NEAR(rig.bin(k), expected[k], 2e-6 * largest) << "bin " << k;

    size_t peak = 0;
    for (size_t k = 0; k <= 2048; ++k)
        peak = rig.bin(k) > rig.bin(peak) ? k : peak;
    EXPECT_EQ(peak, 85u);
    // A third of a bin off its centre, the sine loses 0.5 dB to the window's scalloping; centred
    // on bin 85 it gives (0.42 · 2048)² ≈ 7.4e5.
    EXPECT_NEAR(rig.bin(85), 6.62e5, 0.01e5);
    AnalyserRig centred(48000.0f, 64);
    centred.play(3 * frame, sine(85 * 48000.0 / 4096, 48000.0));
    EXPECT_NEAR(centred.bin(85), 7.4e5, 0.01e5);
}

TEST(EchoAnalyser, SilenceGivesExactZerosInBinsAndBands)
{
    AnalyserRig rig(48000.0f, 128);
    rig.play(5 * frame, silence);
    for (size_t k = 0; k < static_cast<size_t>(frame); ++k)
        ASSERT_EQ(rig.bin(k), 0.0f) << k;
    const auto frames = assembleFrames(rig.takeStreamLists());
    ASSERT_GE(frames.size(), 2u);
    for (const auto& values : frames)
        EXPECT_EQ(values, std::vector<float>(256, 0.0f));
}

TEST(EchoAnalyser, HostileSamplesLeaveEveryBinAndBandFinite)
{
    const auto tone = sine(1000.0, 48000.0, 0.5f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct
    {
        const char* name;
        std::function<float(int64_t)> signal;
        bool toneStaysOnTop;
    } cases[] = {
        {"NaN every 100 samples", [&](int64_t t) { return t % 100 == 7 ? nan : tone(t); }, true},
        {"infinities", [&](int64_t t) { return t % 1000 == 3 ? (t % 2000 == 3 ? inf : -inf) : tone(t); }, false},
        {"the largest floats", [&](int64_t t) { return t % 3 == 0 ? 3.4e38f : -3.4e38f; }, false},
        {"subnormals", [](int64_t t) { return (t % 2 ? 1 : -1) * 1e-42f; }, false},
    };
    for (const auto& each : cases)
    {
        SCOPED_TRACE(each.name);
        AnalyserRig rig(48000.0f, 256);
        rig.play(4 * frame, each.signal);
        size_t peak = 0;
        for (size_t k = 0; k < static_cast<size_t>(frame); ++k)
        {
            ASSERT_TRUE(std::isfinite(rig.bin(k)) && rig.bin(k) >= 0.0f) << "bin " << k << ": " << rig.bin(k);
            peak = k <= 2048 && rig.bin(k) > rig.bin(peak) ? k : peak;
        }
        if (each.toneStaysOnTop)
        {
            EXPECT_EQ(peak, 85u);
        }
        for (const auto& values : assembleFrames(rig.takeStreamLists()))
            for (float value : values)
                ASSERT_TRUE(std::isfinite(value) && value >= 0.0f) << value;
    }
}

TEST(EchoAnalyser, BandLayoutAtEachRateGivesEveryBandAtLeastOneBin)
{
    const struct
    {
        float rate;
        int lowBin, highBin, binCount;
    } layouts[] = {
        {22050.0f, 4, 1671, 1668}, {44100.0f, 2, 835, 834},  {48000.0f, 2, 768, 767},
        {96000.0f, 1, 384, 384},   {176400.0f, 1, 208, 208}, {192000.0f, 1, 192, 192},
    };
    for (const auto& expected : layouts)
    {
        SCOPED_TRACE(expected.rate);
        AnalyserRig rig(expected.rate, 64);
        rig.play(64, silence); // the load-time layout, over the table's fresh storage

        Analyser& a = rig.analyser;
        EXPECT_EQ(firstElement(a.message_obj_23.getContent()), expected.lowBin);
        EXPECT_EQ(firstElement(a.message_obj_82.getContent()), expected.highBin);
        EXPECT_EQ(firstElement(a.message_obj_31.getContent()), expected.binCount);

        // Equal-width bands over the bins the sweep reads; where there are fewer bins than bands,
        // one bin per band.
        const int sweepLength = std::max(expected.binCount, 256);
        const int narrow = sweepLength / 256;
        double sum = 0.0;
        for (size_t x = 0; x < 256; ++x)
        {
            const double entry = rig.tableEntry(x);
            ASSERT_TRUE(entry == narrow || entry == narrow + 1) << "band " << x << ": " << entry;
            sum += entry;
        }
        EXPECT_EQ(sum, sweepLength);
        EXPECT_EQ(rig.tableEntry(255), std::ceil(sweepLength / 256.0));
    }

    AnalyserRig at48(48000.0f, 64);
    at48.play(64, silence);
    EXPECT_EQ(at48.tableEntry(0), 2.0);
    EXPECT_EQ(at48.tableEntry(1), 3.0);
}

TEST(EchoAnalyser, StreamAfterStartUpIsAPartialFrameThenOneBandListPerMarker)
{
    // A 750 Hz sine repeats every 64 samples, so every frame has the same spectrum and the bands
    // can be checked against the bins.
    AnalyserRig rig(48000.0f, 64);
    rig.play(5 * frame + 64, sine(750.0, 48000.0));
    const std::vector<StreamList> lists = rig.takeStreamLists();

    // Frame 0: the first sweep completes 171 bands and sends none; from frame 1 on: the flush list,
    // then a band list at position 2049 and the marker at 4095.
    std::vector<size_t> expected = {1, 171, 256};
    for (size_t i = 0; i < 4; ++i)
        expected.insert(expected.end(), {1, i < 3 ? 256u : 0u});
    expected.pop_back();
    ASSERT_EQ(lengthsOf(lists), expected);
    EXPECT_EQ(lists[0].values[0], Analyser::frameMarker);
    // Each frame raises the sweep at position 2049 and the frame end at 4095, and the two clocks
    // without a handler at the next position 0.
    auto positions = [](std::initializer_list<double> offsets, size_t count, size_t firstFrame = 0) {
        std::vector<double> samples;
        for (size_t f = firstFrame; f < count; ++f)
            for (double offset : offsets)
                samples.push_back(static_cast<double>(f * frame) + offset);
        return samples;
    };
    for (const auto& [clock, expectedSamples] :
         {std::pair{Analyser::sweepClock, positions({2049}, 5)}, std::pair{Analyser::frameEndClock, positions({4095}, 5)},
          std::pair{Analyser::sweepEndClock, positions({0}, 6, 1)}, std::pair{Analyser::frameRestartClock, positions({0}, 6, 1)}})
    {
        const std::vector<double> samples = rig.clockSamples(clock);
        ASSERT_EQ(samples.size(), expectedSamples.size()) << std::hex << clock;
        for (size_t i = 0; i < samples.size(); ++i)
            EXPECT_NEAR(samples[i], expectedSamples[i], 1e-6) << std::hex << clock << std::dec << ", " << i;
    }

    const auto frames = assembleFrames(lists);
    ASSERT_EQ(frames.size(), 4u);
    std::vector<float> first = lists[1].values;
    first.insert(first.end(), lists[2].values.begin(), lists[2].values.begin() + 85);
    EXPECT_EQ(frames[0], first);
    EXPECT_EQ(frames[1], lists[4].values);
    EXPECT_EQ(frames[2], lists[6].values);

    // Band 0 carries the last two bins of the previous spectrum over; band j from 1 on averages
    // the bins of table entry j - 1.
    const auto& bands = frames[2];
    auto b = [&](size_t k) { return rig.bin(k); };
    EXPECT_FLOAT_EQ(bands[0], meanOf({b(767), b(768), b(2)}));
    EXPECT_FLOAT_EQ(bands[1], meanOf({b(3), b(4)}));
    EXPECT_FLOAT_EQ(bands[2], meanOf({b(5), b(6), b(7)}));
    EXPECT_FLOAT_EQ(bands[255], meanOf({b(764), b(765), b(766)}));
    // 750 Hz is bin 64 exactly: its band is the loudest.
    EXPECT_EQ(std::max_element(bands.begin(), bands.end()) - bands.begin(), 21);
    EXPECT_FLOAT_EQ(bands[21], meanOf({b(62), b(63), b(64)}));
}

TEST(EchoAnalyser, StreamIsTheSameForEveryBlockSize)
{
    // Six frames, then one block more to deliver the clocks the last one raised.
    const auto signal = sine(1234.5, 48000.0, 0.3f);
    struct Run
    {
        std::vector<StreamList> lists;
        std::vector<std::pair<ClockId, MillisecondTime>> clocks;
    };
    auto runWithBlocks = [&](Index block) {
        AnalyserRig rig(48000.0f, block);
        rig.play(6 * frame, signal);
        rig.play(block, silence);
        return Run{rig.takeStreamLists(), rig.recorder.scheduled};
    };
    const Run expected = runWithBlocks(64);
    ASSERT_EQ(lengthsOf(expected.lists), (std::vector<size_t>{1, 171, 256, 1, 256, 1, 256, 1, 256, 1, 256, 1}));

    for (Index block : {1, 100, 1024, 2047})
    {
        SCOPED_TRACE(block);
        const Run run = runWithBlocks(block);
        ASSERT_EQ(run.lists.size(), expected.lists.size());
        for (size_t i = 0; i < expected.lists.size(); ++i)
            EXPECT_EQ(run.lists[i].values, expected.lists[i].values) << "list " << i;
        ASSERT_GE(run.clocks.size(), expected.clocks.size() - 4);
        for (size_t i = 0; i < expected.clocks.size() - 4; ++i)
        {
            EXPECT_EQ(run.clocks[i].first, expected.clocks[i].first) << "clock " << i;
            EXPECT_NEAR(run.clocks[i].second, expected.clocks[i].second, 1e-6) << "clock " << i;
        }
    }
}

TEST(EchoAnalyser, RateChangesKeepTheStreamAlignedOrRealignItAfterOneFrame)
{
    const struct
    {
        float from, to;
        std::vector<size_t> afterChange; // the lengths of the lists from the first marker after the change
    } cases[] = {
        // Every later marker is followed by one band list.
        {48000.0f, 44100.0f, {1, 256, 1, 256, 1, 256}},
        {48000.0f, 192000.0f, {1, 256, 1, 256, 1, 256}},
        {192000.0f, 48000.0f, {1, 256, 1, 256, 1, 256}},
        // The first sweep at 96 kHz completes 254 bands and sends none; the next one flushes them.
        {32000.0f, 96000.0f, {1, 1, 254, 256, 1, 256}},
    };
    for (const auto& each : cases)
    {
        SCOPED_TRACE(std::to_string(each.from) + " to " + std::to_string(each.to));
        AnalyserRig rig(each.from, 128);
        rig.play(3 * frame, sine(500.0, each.from));
        rig.takeStreamLists();
        rig.prepare(each.to, 128);
        rig.play(3 * frame + 128, sine(500.0, each.to));
        std::vector<size_t> lengths = lengthsOf(rig.takeStreamLists());
        lengths.resize(std::min(lengths.size(), each.afterChange.size()));
        EXPECT_EQ(lengths, each.afterChange);
        EXPECT_LE(rig.analyser.getPendingBins(), 4u);
    }
}

TEST(EchoAnalyser, APrepareAtANewRateRestartsTheFrameFromSilence)
{
    AnalyserRig rig(48000.0f, 128);
    rig.play(3 * frame + 1000, sine(1000.0, 48000.0));
    rig.takeStreamLists();
    rig.prepare(44100.0f, 128);
    EXPECT_EQ(rig.analyser.getFramePosition(), 0);
    const double start = rig.patch.engine.getCurrentTime();
    rig.recorder.scheduled.clear();

    rig.play(frame + 128, sine(1000.0, 44100.0));
    const std::vector<StreamList> lists = rig.takeStreamLists();
    // The first sweep after the prepare reads the cleared spectrum: only the bins left over from
    // before reach its first band.
    ASSERT_EQ(lengthsOf(lists), (std::vector<size_t>{256, 1}));
    EXPECT_GT(lists[0].values[0], 0.0f);
    EXPECT_EQ(std::vector<float>(lists[0].values.begin() + 1, lists[0].values.end()), std::vector<float>(255, 0.0f));
    const std::vector<double> sweeps = rig.clockSamples(Analyser::sweepClock);
    const std::vector<double> ends = rig.clockSamples(Analyser::frameEndClock);
    ASSERT_EQ(sweeps.size(), 1u);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_NEAR(sweeps[0], start * 44.1 + 2049, 1e-6);
    EXPECT_NEAR(ends[0], start * 44.1 + 4095, 1e-6);
}

TEST(EchoAnalyser, AtTheHighestRatesFramesKeepComingWithEveryBandFilled)
{
    for (float rate : {176400.0f, 192000.0f})
    {
        SCOPED_TRACE(rate);
        AnalyserRig rig(rate, 256);
        std::mt19937 random(7);
        std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
        rig.play(12 * frame, [&](int64_t) { return noise(random); });
        const std::vector<StreamList> lists = rig.takeStreamLists();
        const auto frames = assembleFrames(lists);
        // The first frame holds the one band of the first sweep and the start of the next list.
        ASSERT_EQ(frames.size(), 11u);
        const std::vector<size_t> lengths = lengthsOf(lists);
        ASSERT_EQ(std::vector<size_t>(lengths.begin(), lengths.begin() + 3), (std::vector<size_t>{1, 1, 256}));
        EXPECT_EQ(std::vector<size_t>(lengths.begin() + 3, lengths.end()), steadyLengths(10));
        for (size_t f = 1; f < frames.size(); ++f)
            for (size_t band = 0; band < 256; ++band)
                ASSERT_GT(frames[f][band], 0.0f) << "frame " << f << ", band " << band;
        EXPECT_EQ(rig.analyser.getPendingBins(), 0u);
        EXPECT_EQ(rig.analyser.getPendingBands(), 0u);
    }
}
