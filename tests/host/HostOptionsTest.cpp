#include "tools/host/HostCommandLine.h"

#include <gtest/gtest.h>

using namespace Quillmore::Host;

TEST(HostOptions, ParsesARenderRequest)
{
    const auto options = parseHostOptions({ "/x/Quillmore.vst3", "--set", "EchoTime = 500 ms", "--set-normalised", "Order=1",
                                            "--signal", "impulse", "--length", "1.5", "--level", "-6", "--channels", "1",
                                            "--rate", "96000", "--varying-blocks", "32:480", "--seed", "9", "--tail", "2",
                                            "--output", "/tmp/out.wav", "--list" });
    ASSERT_TRUE(options.has_value());
    EXPECT_EQ(options->plugin.getFullPathName(), "/x/Quillmore.vst3");
    ASSERT_EQ(options->textSettings.size(), 1u);
    EXPECT_EQ(options->textSettings[0].first, "EchoTime");
    EXPECT_EQ(options->textSettings[0].second, "500 ms");
    ASSERT_EQ(options->normalisedSettings.size(), 1u);
    EXPECT_EQ(options->normalisedSettings[0].second, 1.0f);
    EXPECT_EQ(options->signal.kind, SignalKind::impulse);
    EXPECT_EQ(options->signal.seconds, 1.5);
    EXPECT_EQ(options->signal.peakDecibels, -6.0);
    EXPECT_EQ(options->signal.channels, 1);
    EXPECT_EQ(options->signal.seed, 9u);
    EXPECT_EQ(options->seed, 9u);
    EXPECT_EQ(options->sampleRate, 96000.0);
    EXPECT_EQ(options->varyingBlocks, std::make_pair(32, 480));
    EXPECT_EQ(options->tailSeconds, 2.0);
    EXPECT_EQ(options->output->getFullPathName(), "/tmp/out.wav");
    EXPECT_TRUE(options->listParameters);
    EXPECT_FALSE(options->snapshot.has_value());
    // What a render does unless asked otherwise: a lead-in, the latency taken out.
    EXPECT_EQ(options->preRollSeconds, 7.0);
    EXPECT_TRUE(options->compensateLatency);
    EXPECT_FALSE(options->preset.has_value());
}

TEST(HostOptions, ParsesPresetsAndTheRenderTimeline)
{
    const auto options = parseHostOptions({ "a.vst3", "--preset", " Dotted Dub Delay ", "--list-presets", "--pre-roll", "0",
                                            "--keep-latency", "--output", "o.wav" });
    ASSERT_TRUE(options.has_value());
    EXPECT_EQ(options->preset, juce::String("Dotted Dub Delay"));
    EXPECT_TRUE(options->listPresets);
    EXPECT_EQ(options->preRollSeconds, 0.0);
    EXPECT_FALSE(options->compensateLatency);
    EXPECT_FALSE(options->tailSeconds.has_value()) << "no --tail: the automatic tail";
}

TEST(HostOptions, HelpAsksForNothing)
{
    EXPECT_FALSE(parseHostOptions({ "--help" }).has_value());
}

TEST(HostOptions, RejectsMalformedArguments)
{
    const std::vector<juce::StringArray> malformed {
        {},                                          // no plug-in
        { "a.vst3", "b.vst3" },                      // two plug-ins
        { "a.vst3", "--bogus" },
        { "a.vst3", "--block" },                     // value missing
        { "a.vst3", "--block", "12.5" },
        { "a.vst3", "--length", "2s" },
        { "a.vst3", "--signal", "square" },
        { "a.vst3", "--set", "NoEqualsSign" },
        { "a.vst3", "--set", "=5" },
        { "a.vst3", "--set-normalised", "Order=high" },
        { "a.vst3", "--channels", "3" },
        { "a.vst3", "--rate", "0" },
        { "a.vst3", "--varying-blocks", "64" },
        { "a.vst3", "--input", "in.wav" },           // nothing to render it into
        { "a.vst3", "--preset", "  " },
        { "a.vst3", "--preset" },
        { "a.vst3", "--tail", "-1" },
        { "a.vst3", "--tail", "nan" },
        { "a.vst3", "--tail", "1e300" },
        { "a.vst3", "--pre-roll", "-0.5" },
        { "a.vst3", "--pre-roll", "inf" },
        { "a.vst3", "--length", "1e12" },
        { "a.vst3", "--rate", "1e300" },
        { "a.vst3", "--rate", "-48000" },
    };
    for (const auto& arguments : malformed)
        EXPECT_THROW(parseHostOptions(arguments), UsageError) << arguments.joinIntoString(" ");
}
