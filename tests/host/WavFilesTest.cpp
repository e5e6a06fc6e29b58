#include "tests/common/CraftedWav.h"
#include "tools/host/HostError.h"
#include "tools/host/TestSignal.h"
#include "tools/host/WavFiles.h"

#include <gtest/gtest.h>

using namespace Quillmore::Host;

TEST(WavFiles, FloatWavKeepsEverySampleRateAndChannel)
{
    SignalSettings settings;
    settings.kind = SignalKind::noise;
    settings.peakDecibels = 6.0; // above full scale: a float file keeps it
    const auto samples = generateSignal(settings, 88200.0);

    const juce::TemporaryFile file(".wav");
    writeFloatWav(file.getFile(), samples, 88200.0);
    writeFloatWav(file.getFile(), samples, 88200.0); // replacing leaves no trace of the first file
    const auto read = readWav(file.getFile());

    EXPECT_EQ(read.sampleRate, 88200.0);
    ASSERT_EQ(read.samples.getNumChannels(), samples.getNumChannels());
    ASSERT_EQ(read.samples.getNumSamples(), samples.getNumSamples());
    for (int channel = 0; channel < samples.getNumChannels(); ++channel)
        for (int i = 0; i < samples.getNumSamples(); ++i)
            ASSERT_EQ(read.samples.getSample(channel, i), samples.getSample(channel, i));
}

TEST(WavFiles, UnreadableInputIsReported)
{
    const juce::TemporaryFile file(".wav");
    ASSERT_TRUE(file.getFile().replaceWithText("not a wav file"));
    EXPECT_THROW(readWav(file.getFile()), HostError);
    EXPECT_THROW(readWav(file.getFile().getSiblingFile("missing.wav")), HostError);
}

namespace
{
std::string readFailure(const CraftedWav& wav)
{
    const juce::TemporaryFile file(".wav");
    wav.writeTo(file.getFile());
    try
    {
        readWav(file.getFile());
        return {};
    }
    catch (const InputError& error)
    {
        return error.what();
    }
}
} // namespace

// The header's length is believed only as far as the file holds it: never an allocation, a long
// render of zeros or an abort from its claim.
TEST(WavFiles, AHeaderClaimingMoreThanTheFileHoldsIsRefused)
{
    struct Case
    {
        const char* what;
        CraftedWav wav;
    };
    const Case cases[] {
        { "2 GiB of stereo float in 44 bytes", { 3, 2, 48000, 32, 0x80000000u, 0 } },
        { "4 GiB of 16-bit stereo in 44 bytes", { 1, 2, 48000, 16, 0xffffffffu, 0 } },
        { "4 GiB of 8-bit mono behind a chunk of filler", { 1, 1, 44100, 8, 0xffffffffu, 16, 100 } },
        { "one frame more than it holds", { 3, 2, 48000, 32, 8 * 1001, 8 * 1000 } },
        { "the filler's bytes counted as samples", { 1, 2, 48000, 16, 4 * 100, 4 * 100 - 4, 8 } },
    };
    for (const auto& c : cases)
        EXPECT_NE(readFailure(c.wav).find("truncated or damaged WAV file"), std::string::npos) << c.what;
}

TEST(WavFiles, OddHeadersReadWhatTheFileHoldsOrAreRefused)
{
    // As much as it claims, with a chunk before the samples and an odd byte after the last frame.
    const juce::TemporaryFile file(".wav");
    CraftedWav held { 1, 2, 48000, 16, 4 * 100 + 1, 4 * 100 + 1, 10 };
    held.writeTo(file.getFile());
    const auto read = readWav(file.getFile());
    EXPECT_EQ(read.samples.getNumChannels(), 2);
    EXPECT_EQ(read.samples.getNumSamples(), 100);
    EXPECT_EQ(read.sampleRate, 48000.0);

    EXPECT_NE(readFailure({ 3, 0, 48000, 32, 0, 0 }).find("as a WAV file"), std::string::npos) << "no channels";
    EXPECT_NE(readFailure({ 1, 2, 0, 16, 0, 0 }).find("as a WAV file"), std::string::npos) << "no sample rate";
    EXPECT_NE(readFailure({ 1, 2, 48000, 12, 6, 6 }).find("12-bit samples cannot be read"), std::string::npos);
    EXPECT_NE(readFailure({ 1, 2, 48000, 0, 4, 4 }).find("as a WAV file"), std::string::npos) << "no bits";

    // The host renders mono and stereo; more channels (65535 crashed the tool) are refused before
    // anything is read.
    EXPECT_NE(readFailure({ 3, 3, 48000, 32, 12, 12 }).find("has 3 channels; only mono and stereo"), std::string::npos);
    EXPECT_NE(readFailure({ 1, 65535, 48000, 8, 65535 * 2, 65535 * 2 }).find("has 65535 channels"), std::string::npos);
}
