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
