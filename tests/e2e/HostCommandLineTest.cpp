// The command-line host on the built bundle, from arguments to the files it writes.
#include "tests/common/CraftedWav.h"
#include "tests/e2e/ExpectSameSamples.h"
#include "tests/e2e/HostToolRun.h"
#include "tools/host/HostError.h"
#include "tools/host/WavFiles.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <gtest/gtest.h>

#include <cmath>
#include <regex>

using namespace Quillmore::Host;

namespace
{
// The third column of a parameter listing's line: the parameter's name.
std::string columnNamed(std::istringstream& columns)
{
    std::string index, number, name;
    columns >> index >> number >> name;
    return name;
}

// The latency that a render's report gives.
int reportedLatency(const std::string& report)
{
    std::smatch match;
    if (!std::regex_search(report, match, std::regex("latency ([0-9]+) samples")))
    {
        ADD_FAILURE() << "no latency in: " << report;
        return -1;
    }
    return std::stoi(match[1]);
}

float peakOf(const juce::AudioBuffer<float>& buffer, int start, int end)
{
    float peak = 0.0f;
    for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
        for (int i = start; i < end; ++i)
            peak = std::max(peak, std::abs(buffer.getSample(channel, i)));
    return peak;
}
} // namespace

TEST(HostCommandLine, RendersAGeneratedSignalWithVaryingBlocksLinedUpWithItsInput)
{
    const juce::TemporaryFile wav(".wav"), state(".state");
    // The host's bypass passes the input on, delayed by exactly the latency the plug-in reports: with
    // that latency taken out, the render is the input, sample for sample, and ends with it.
    const auto report = runHostTool({ "--info", "--list", "--set", "Bypass=On", "--signal", "noise", "--length", "0.3",
                                      "--seed", "5", "--rate", "44100", "--varying-blocks", "16:700", "--output",
                                      wav.getFile().getFullPathName(), "--save-state", state.getFile().getFullPathName() });

    EXPECT_NE(report.find("name:     Quillmore"), std::string::npos) << report;
    EXPECT_NE(report.find("vendor:   Zarn Peloq"), std::string::npos) << report;
    EXPECT_NE(report.find("Bypass"), std::string::npos) << report;
    EXPECT_NE(report.find("latency 513 samples, taken out)"), std::string::npos) << report;
    EXPECT_NE(report.find("ended once silent"), std::string::npos) << report;
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
        expectDelayedSamples(rendered.samples, channel, input, channel, 0);
}

TEST(HostCommandLine, RendersAMonoWavFileAtItsOwnRateAsItComesOutWhenAsked)
{
    const juce::TemporaryFile in(".wav"), out(".wav");
    SignalSettings settings;
    settings.kind = SignalKind::sine;
    settings.channels = 1;
    settings.seconds = 0.2;
    const auto input = generateSignal(settings, 22050.0);
    writeFloatWav(in.getFile(), input, 22050.0);

    // Blocks of 64 make the engine block 64 samples and the latency twice that and a sample: kept in,
    // and with no lead-in, the render starts with the plug-in's first sample; the fixed tail brings out
    // the input's last samples.
    runHostTool({ "--input", in.getFile().getFullPathName(), "--set", "Bypass=On", "--tail", "0.1", "--block", "64",
                  "--keep-latency", "--pre-roll", "0", "--output", out.getFile().getFullPathName() });

    const auto rendered = readWav(out.getFile());
    EXPECT_EQ(rendered.sampleRate, 22050.0);
    ASSERT_EQ(rendered.samples.getNumChannels(), 2);
    ASSERT_EQ(rendered.samples.getNumSamples(), input.getNumSamples() + 2205);
    for (int channel = 0; channel < 2; ++channel)
        expectDelayedSamples(rendered.samples, channel, input, 0, 129);
}

TEST(HostCommandLine, TheReadmeImpulseIsHeardAtTheStartOnceThePluginHasStarted)
{
    const juce::TemporaryFile wav(".wav");
    const auto report = runHostTool({ "--signal", "impulse", "--output", wav.getFile().getFullPathName() });
    const auto rendered = readWav(wav.getFile()).samples;
    ASSERT_EQ(rendered.getNumSamples(), 96000) << "2 s of input, and a tail that ended as it fell silent";
    EXPECT_NE(report.find("ended once silent"), std::string::npos) << report;
    // The impulse is at -12 dBFS; the plain settings pass it on near the file's start.
    EXPECT_GT(peakOf(rendered, 0, 2048), 0.1f);

    // Without the lead-in the plug-in's start-up fade swallows it where it stands (what the Heads'
    // filters ring of it lies far below hearing); the tape's start at instantiation may replay it
    // later, when its crossfade passes through the thrown-back tape.
    runHostTool({ "--signal", "impulse", "--pre-roll", "0", "--output", wav.getFile().getFullPathName() });
    EXPECT_LT(peakOf(readWav(wav.getFile()).samples, 0, 24000), 1e-6f);
}

// The render moves the plug-in's output earlier by exactly the latency the plug-in reports, whatever
// the rate and blocks (the latency is twice the engine block that the largest host block calls for,
// and a sample).
TEST(HostCommandLine, TakesOutTheReportedLatency)
{
    const std::vector<juce::StringArray> cases { { "--rate", "48000" },
                                                 { "--rate", "44100", "--block", "64" },
                                                 { "--rate", "96000", "--varying-blocks", "17:150" } };
    const std::vector<int> latencies { 513, 129, 257 };
    for (size_t c = 0; c < cases.size(); ++c)
    {
        const juce::TemporaryFile kept(".wav"), aligned(".wav");
        juce::StringArray common { "--signal", "noise", "--length", "0.2", "--tail", "0.05", "--seed", "3" };
        common.addArray(cases[c]);

        auto keptArguments = common;
        keptArguments.addArray({ "--keep-latency", "--output", kept.getFile().getFullPathName() });
        auto alignedArguments = common;
        alignedArguments.addArray({ "--output", aligned.getFile().getFullPathName() });
        runHostTool(keptArguments);
        const int latency = reportedLatency(runHostTool(alignedArguments));
        EXPECT_EQ(latency, latencies[c]) << cases[c].joinIntoString(" ");

        const auto late = readWav(kept.getFile()).samples;
        const auto early = readWav(aligned.getFile()).samples;
        ASSERT_EQ(late.getNumSamples(), early.getNumSamples());
        ASSERT_GT(peakOf(late, 0, late.getNumSamples()), 0.01f) << "a render to compare";
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i + latency < late.getNumSamples(); ++i)
                ASSERT_EQ(early.getSample(channel, i), late.getSample(channel, i + latency))
                    << cases[c].joinIntoString(" ") << ", channel " << channel << ", sample " << i;
    }
}

TEST(HostCommandLine, TheDefaultRenderOfAnEchoPresetRingsOutAndEndsOnceSilent)
{
    // "More Slap": a 95 ms echo at 8 % feedback, 35 % in the mix, no hiss: its repeats die away in well
    // under the plug-in's 10 s tail. The echo fades in over its first 6.5 s after the plug-in is built:
    // the default lead-in covers that.
    const juce::TemporaryFile wav(".wav");
    const auto report = runHostTool({ "--preset", "More Slap", "--signal", "impulse", "--length", "0.05", "--output",
                                      wav.getFile().getFullPathName() });
    const auto rendered = readWav(wav.getFile()).samples;
    const int inputEnd = 2400;
    EXPECT_NE(report.find("ended once silent"), std::string::npos) << report;
    ASSERT_GT(rendered.getNumSamples(), inputEnd + 4800) << "the first repeat, 95 ms after the impulse, is in the tail";
    ASSERT_LT(rendered.getNumSamples(), inputEnd + 480000) << "the render stopped before the plug-in's tail length";
    EXPECT_GT(peakOf(rendered, inputEnd, inputEnd + 4800), 0.01f) << "the repeats ring on after the input";
    // The file ends where the output fell below -100 dBFS.
    EXPECT_LT(peakOf(rendered, rendered.getNumSamples() - 480, rendered.getNumSamples()), 1.0e-3f);
}

TEST(HostCommandLine, ListColumnsLineUpForEveryId)
{
    const auto lines = linesOf(runHostTool({ "--list" }));
    ASSERT_GT(lines.size(), 40u);
    const auto& heading = lines.front();
    const std::vector<std::string> headings { "index", "id", "name", "normalised", "text" };
    std::vector<size_t> starts;
    for (const auto& column : headings)
        starts.push_back(heading.find(column));
    ASSERT_EQ(heading.rfind("index", 0), 0u) << heading;

    bool longIdSeen = false;
    for (size_t l = 1; l < lines.size(); ++l)
    {
        const auto& line = lines[l];
        for (size_t c = 1; c < starts.size(); ++c)
            ASSERT_TRUE(line.size() > starts[c] && line[starts[c] - 1] == ' ' && line[starts[c]] != ' ')
                << "column \"" << headings[c] << "\" does not start at " << starts[c] << ": " << line;
        // The ID column holds one word: the ID, then blanks up to the name.
        const auto id = line.substr(starts[1], starts[2] - starts[1]);
        const auto word = id.substr(0, id.find(' '));
        EXPECT_EQ(id.find_first_not_of(' ', word.size()), std::string::npos) << line;
        longIdSeen |= word == "EchoFilterLFOAmount";
    }
    EXPECT_TRUE(longIdSeen);
}

TEST(HostCommandLine, SetsParametersAndCarriesThemThroughAStateFile)
{
    const juce::TemporaryFile state(".state");
    const auto setReport = runHostTool({ "--set", "Bypass=On", "--save-state", state.getFile().getFullPathName() });
    EXPECT_NE(setReport.find("set Bypass = On (normalised 1.0000)"), std::string::npos) << setReport;

    const auto listing = runHostTool({ "--load-state", state.getFile().getFullPathName(), "--list" });
    bool found = false;
    // The host's own "Bypass", not the plug-in's "TrueBypass": the line whose name column is "Bypass".
    for (const auto& line : linesOf(listing))
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
    EXPECT_THROW(runHostTool({ "--input", missing.getFullPathName(), "--output", out.getFile().getFullPathName() }), HostError);
    EXPECT_THROW(runHostTool({ "--set", "NoSuchParameter=1" }), HostError);
    EXPECT_THROW(runHostTool({ "--channels", "1", "--varying-blocks", "0:64", "--output", out.getFile().getFullPathName() }),
                 HostError);

    juce::StringArray notABundle { "/no/such/plugin.vst3" };
    const auto options = parseHostOptions(notABundle);
    std::ostringstream report;
    EXPECT_THROW(runHost(*options, report), HostError);
}

// --set takes the texts a parameter shows, the switch words and numbers with or without the
// parameter's unit, and the plug-in acts on what was asked: the report shows the asked text and the
// saved state holds the asked value.
TEST(HostCommandLine, SetTakesWhatTheParameterShowsBackAsAsked)
{
    struct Case
    {
        juce::StringArray settings;
        const char* id;
        double saved;
        const char* reported;
    };
    const Case cases[] {
        { { "HeadsOn=Off", "HeadsOn=On" }, "HeadsOn", 1, "set HeadsOn = HEADS ON" },
        { { "HeadsOn=off" }, "HeadsOn", 0, "set HeadsOn = HEADS OFF" },
        { { "SpaceOn=FALSE" }, "SpaceOn", 0, "set SpaceOn = SPACE OFF" },
        { { "TapeStop=On" }, "TapeStop", 1, "set TapeStop = 1" },
        { { "Order=no" }, "Order", 0, "set Order = 0" },
        { { "EchoSyncOn=yes" }, "EchoSyncOn", 1, "set EchoSyncOn = TEMPO SYNC ON" },
        { { "SendRetMode=send/ret mode" }, "SendRetMode", 1, "set SendRetMode = SEND/RET MODE" },
        { { "TrueBypass=TRUE" }, "TrueBypass", 1, "set TrueBypass = On" },
        { { "EchoSyncDiv=1/16 TRIPLET" }, "EchoSyncDiv", 2, "set EchoSyncDiv = 1/16 TRIPLET" },
        { { "EchoSyncDiv=whole" }, "EchoSyncDiv", 15, "set EchoSyncDiv = WHOLE" },
        { { "EchoMix=50" }, "EchoMix", 50, "set EchoMix = 50.0 %" },
        { { "EchoMix=12.34 %" }, "EchoMix", 12.3, "set EchoMix = 12.3 %" },
        { { "EchoTime=1.5 s" }, "EchoTime", 1500, "set EchoTime = 1.50 s" },
        { { "EchoTime=1500" }, "EchoTime", 1500, "set EchoTime = 1.50 s" },
        { { "EchoTime=320ms" }, "EchoTime", 320, "set EchoTime = 320 ms" },
        { { "HighRolloff=5 kHz" }, "HighRolloff", 5000, "set HighRolloff = 5.00 kHz" },
        { { "Input=-inf dB" }, "Input", 0, "set Input = -inf dB" },
        { { "NoiseGateTime=INF - Gate Disabled" }, "NoiseGateTime", 30000, "set NoiseGateTime = INF - Gate Disabled" },
        { { "SpringAB=70 % A / 30 % B" }, "SpringAB", 30, "set SpringAB = 70 % A / 30 % B" },
        { { "SpringAB=20" }, "SpringAB", 20, "set SpringAB = 80 % A / 20 % B" },
        { { "NoiseDuckThresh=-12.5 dB" }, "NoiseDuckThresh", -12.5, "set NoiseDuckThresh = -12.5 dB" },
        { { "EchoStOffset=-37.5" }, "EchoStOffset", -0.5, "set EchoStOffset = -37.5 %" },
        { { "HighPassQ=1.25" }, "HighPassQ", 1.25, "set HighPassQ = 1.25" },
    };
    const juce::TemporaryFile state(".state");
    for (const auto& c : cases)
    {
        juce::StringArray arguments;
        for (const auto& setting : c.settings)
            arguments.addArray({ "--set", setting });
        arguments.addArray({ "--save-state", state.getFile().getFullPathName() });
        const auto report = runHostTool(arguments);
        const auto what = c.settings.joinIntoString(", ").toStdString();
        EXPECT_NE(report.find(c.reported), std::string::npos) << what << ":\n" << report;
        EXPECT_NEAR(static_cast<double>(savedParameterValue(readSavedState(state.getFile()), c.id)), c.saved, 1.0e-4) << what;
    }

    // The examples of the help.
    EXPECT_EQ(runHostToolProcess({ "--set", "EchoTime=500 ms", "--set", "HeadsOn=On" }).exitStatus, 0);
}

// A text the parameter does not show back as asked stops the tool before it renders or saves
// anything, with exit status 2 and a message that names the parameter and what it takes.
TEST(HostCommandLine, SetRefusesTextsThatTheParameterDoesNotReadAsAsked)
{
    const std::string switchWords = " (or On/Off, true/false, yes/no, 1/0)";
    const std::pair<const char*, std::string> cases[] {
        { "HeadsOn=banana", "HeadsOn does not take \"banana\"; it takes \"HEADS OFF\" or \"HEADS ON\"" + switchWords },
        { "Order=banana", "Order does not take \"banana\"; it takes \"0\" or \"1\"" + switchWords },
        { "TapeStop=2", "TapeStop does not take \"2\"; it takes \"0\" or \"1\"" + switchWords },
        { "TrueBypass=banana", "TrueBypass does not take \"banana\"; it takes \"Off\" or \"On\"" + switchWords },
        { "EchoSyncDiv=1/16T",
          "EchoSyncDiv does not take \"1/16T\"; it takes one of \"1/64\", \"1/32\", \"1/16 TRIPLET\", \"1/32 DOTTED\", \"1/16\", "
          "\"1/8 TRIPLET\", \"1/16 DOTTED\", \"1/8\", \"1/4 TRIPLET\", \"1/8 DOTTED\", \"1/4\", \"1/2 TRIPLET\", \"1/4 DOTTED\", "
          "\"1/2\", \"1/2 DOTTED\", \"WHOLE\"" },
        { "EchoMix=1e9 ms", "EchoMix does not take \"1e9 ms\"; it takes 0.00 % to 100 % (a number, with or without \"%\")" },
        { "EchoMix=150", "EchoMix does not take \"150\"; it takes 0.00 % to 100 % (a number, with or without \"%\")" },
        { "EchoMix=On", "EchoMix does not take \"On\"; it takes 0.00 % to 100 % (a number, with or without \"%\")" },
        { "EchoTime=2 Hz", "EchoTime does not take \"2 Hz\"; it takes 1 ms to 5.00 s (a number, with or without \"ms\")" },
        { "Output=nan", "Output does not take \"nan\"; it takes -inf dB to +6.0 dB (a number, with or without \"dB\")" },
        { "HighPassQ=1 %", "HighPassQ does not take \"1 %\"; it takes 0.10 to 2.00 (a number)" },
        { "SpringSize=14", "SpringSize does not take \"14\"; it takes 4.0 to 12.0 (a number)" },
    };
    const juce::TemporaryFile wav(".wav"), state(".state");
    for (const auto& [setting, message] : cases)
    {
        const auto run = runHostToolProcess({ "--set", setting, "--output", wav.getFile().getFullPathName(), "--save-state",
                                              state.getFile().getFullPathName() });
        EXPECT_EQ(run.exitStatus, 2) << setting << ":\n" << run.output;
        EXPECT_NE(run.output.find("quillmore-host: " + message + "\n"), std::string::npos) << setting << ":\n" << run.output;
        EXPECT_FALSE(wav.getFile().exists()) << setting;
        EXPECT_FALSE(state.getFile().exists()) << setting;
    }
}

// A WAV header that claims more samples than its file holds stops the tool with exit status 2; no
// bad header aborts it.
TEST(HostCommandLine, InputWavFilesAreBelievedOnlyAsFarAsTheyHoldSamples)
{
    struct Case
    {
        const char* what;
        CraftedWav wav;
        int exitStatus;
        const char* message;
    };
    const Case cases[] {
        { "2 GiB of stereo float in 44 bytes", { 3, 2, 48000, 32, 0x80000000u, 0 }, 2, "truncated or damaged WAV file" },
        { "4 GiB of 16-bit stereo in 44 bytes", { 1, 2, 48000, 16, 0xffffffffu, 0 }, 2, "truncated or damaged WAV file" },
        { "one frame more than it holds", { 3, 2, 48000, 32, 8 * 1001, 8 * 1000 }, 2, "truncated or damaged WAV file" },
        { "no channels", { 3, 0, 48000, 32, 0, 0 }, 2, "as a WAV file" },
        { "12-bit samples", { 1, 2, 48000, 12, 6, 6 }, 2, "12-bit samples cannot be read" },
        { "a rate of 300 MHz", { 1, 1, 300000000, 16, 2, 2 }, 2, "the host renders at most 768000 Hz" },
        { "65535 channels", { 1, 65535, 48000, 8, 65535, 65535 }, 2, "has 65535 channels; only mono and stereo" },
    };
    const juce::TemporaryFile in(".wav"), out(".wav");
    for (const auto& c : cases)
    {
        c.wav.writeTo(in.getFile());
        const auto run = runHostToolProcess({ "--input", in.getFile().getFullPathName(), "--output", out.getFile().getFullPathName() });
        EXPECT_EQ(run.exitStatus, c.exitStatus) << c.what << ":\n" << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << c.what << ":\n" << run.output;
        EXPECT_FALSE(out.getFile().exists()) << c.what;
    }

    // An odd byte after the last frame is left out; the frames held are rendered.
    CraftedWav odd { 1, 2, 48000, 16, 4 * 480 + 1, 4 * 480 + 1 };
    odd.writeTo(in.getFile());
    const auto run = runHostToolProcess({ "--input", in.getFile().getFullPathName(), "--tail", "0", "--output",
                                          out.getFile().getFullPathName() });
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_EQ(readWav(out.getFile()).samples.getNumSamples(), 480);
}
