// The command-line host on the built bundle, from arguments to the files it writes.
#include "tests/e2e/BuiltBundle.h"
#include "tests/e2e/ExpectSameSamples.h"
#include "tools/host/HostCommandLine.h"
#include "tools/host/HostError.h"
#include "tools/host/WavFiles.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <gtest/gtest.h>

#include <sstream>

using namespace Quillmore::Host;

namespace
{
std::string run(const juce::StringArray& arguments)
{
    juce::StringArray all { builtBundle().getFullPathName() };
    all.addArray(arguments);
    const auto options = parseHostOptions(all);
    EXPECT_TRUE(options.has_value());
    std::ostringstream out;
    runHost(*options, out);
    return out.str();
}

// The third column of a parameter listing's line: the parameter's name.
std::string columnNamed(std::istringstream& columns)
{
    std::string index, number, name;
    columns >> index >> number >> name;
    return name;
}
} // namespace

TEST(HostCommandLine, RendersAGeneratedSignalWithVaryingBlocksIntoAFloatWav)
{
    const juce::TemporaryFile wav(".wav"), state(".state");
    // The host's bypass makes the rendered audio known: the input, one engine block (256 samples) late.
    const auto report = run({ "--info", "--list", "--set", "Bypass=On", "--signal", "noise", "--length", "0.3", "--seed",
                              "5", "--rate", "44100", "--varying-blocks", "16:700", "--output",
                              wav.getFile().getFullPathName(), "--save-state", state.getFile().getFullPathName() });

    EXPECT_NE(report.find("name:     Quillmore"), std::string::npos) << report;
    EXPECT_NE(report.find("vendor:   Zarn Peloq"), std::string::npos) << report;
    EXPECT_NE(report.find("Bypass"), std::string::npos) << report;
    EXPECT_NE(report.find("latency 256 samples"), std::string::npos) << report;
    EXPECT_GT(state.getFile().getSize(), 0);

    juce::WavAudioFormat format;
    std::unique_ptr<juce::AudioFormatReader> reader(format.createReaderFor(wav.getFile().createInputStream().release(), true));
    ASSERT_NE(reader, nullptr);
    EXPECT_TRUE(reader->usesFloatingPointData);
    EXPECT_EQ(reader->bitsPerSample, 32u);
    reader.reset();

    const auto rendered = readWav(wav.getFile());
    EXPECT_EQ(rendered.sampleRate, 44100.0);
    SignalSettings settings;
    settings.kind = SignalKind::noise;
    settings.seconds = 0.3;
    settings.seed = 5;
    const auto input = generateSignal(settings, 44100.0);
    ASSERT_EQ(rendered.samples.getNumChannels(), 2);
    ASSERT_EQ(rendered.samples.getNumSamples(), input.getNumSamples());
    for (int channel = 0; channel < 2; ++channel)
        expectDelayedSamples(rendered.samples, channel, input, channel, 256);
}

TEST(HostCommandLine, RendersAMonoWavFileAtItsOwnRateWithATail)
{
    const juce::TemporaryFile in(".wav"), out(".wav");
    SignalSettings settings;
    settings.kind = SignalKind::sine;
    settings.channels = 1;
    settings.seconds = 0.2;
    const auto input = generateSignal(settings, 22050.0);
    writeFloatWav(in.getFile(), input, 22050.0);

    // Blocks of 64 make the engine block, and with it the latency, 64 samples; the tail brings out the
    // input's last samples.
    run({ "--input", in.getFile().getFullPathName(), "--set", "Bypass=On", "--tail", "0.1", "--block", "64", "--output",
          out.getFile().getFullPathName() });

    const auto rendered = readWav(out.getFile());
    EXPECT_EQ(rendered.sampleRate, 22050.0);
    ASSERT_EQ(rendered.samples.getNumChannels(), 2);
    ASSERT_EQ(rendered.samples.getNumSamples(), input.getNumSamples() + 2205);
    for (int channel = 0; channel < 2; ++channel)
        expectDelayedSamples(rendered.samples, channel, input, 0, 64);
}

TEST(HostCommandLine, SetsParametersAndCarriesThemThroughAStateFile)
{
    const juce::TemporaryFile state(".state");
    const auto setReport = run({ "--set", "Bypass=On", "--save-state", state.getFile().getFullPathName() });
    EXPECT_NE(setReport.find("set Bypass = On (normalised 1.0000)"), std::string::npos) << setReport;

    const auto listing = run({ "--load-state", state.getFile().getFullPathName(), "--list" });
    std::istringstream lines(listing);
    std::string line;
    bool found = false;
    // The host's own "Bypass", not the plug-in's "TrueBypass": the line whose name column is "Bypass".
    while (std::getline(lines, line))
        if (std::istringstream columns(line); columnNamed(columns) == "Bypass")
        {
            found = true;
            EXPECT_NE(line.find("1.0000"), std::string::npos) << line;
            EXPECT_NE(line.find("On"), std::string::npos) << line;
        }
    EXPECT_TRUE(found) << listing;
}

TEST(HostCommandLine, ReportsWhatItCannotDo)
{
    const juce::TemporaryFile out(".wav");
    const auto missing = juce::File::getSpecialLocation(juce::File::tempDirectory).getChildFile("no-such-input.wav");
    EXPECT_THROW(run({ "--input", missing.getFullPathName(), "--output", out.getFile().getFullPathName() }), HostError);
    EXPECT_THROW(run({ "--set", "NoSuchParameter=1" }), HostError);
    EXPECT_THROW(run({ "--channels", "1", "--varying-blocks", "0:64", "--output", out.getFile().getFullPathName() }), HostError);

    juce::StringArray notABundle { "/no/such/plugin.vst3" };
    const auto options = parseHostOptions(notABundle);
    std::ostringstream report;
    EXPECT_THROW(runHost(*options, report), HostError);
}
