// Golden renders: seeded renders of the phrase through the bundle, each section on its own and a few
// factory presets, fingerprinted by the RMS and peak level of each channel per 100 ms and compared
// with the fingerprints committed in tests/e2e/golden/. Any change of the sound fails here; a
// deliberate one is recorded with tools/record-golden-renders.sh, which rewrites the fingerprints.
#include "tests/e2e/SeededRender.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <sstream>

namespace
{
constexpr double windowSeconds = 0.1;
constexpr double floorDecibels = -100.0;
// The same build renders the same samples; this leaves room for the last digit of the files only.
constexpr double toleranceDecibels = 0.01;

struct Golden
{
    const char* name;
    SeededRender render;
};

SeededRender withPreset(const char* preset)
{
    SeededRender render;
    render.preset = preset;
    return render;
}

SeededRender withSettings(std::vector<std::pair<const char*, const char*>> settings)
{
    SeededRender render;
    render.settings = std::move(settings);
    return render;
}

const Golden goldens[] = {
    { "defaults", {} },
    { "heads", withSettings({ { "SpaceOn", "0" }, { "MstrWarble", "60" }, { "Wow", "50" }, { "Flutter", "40" },
                              { "StDrift", "40" }, { "Instability", "30" }, { "Blips", "30" }, { "Degrade", "40" },
                              { "NoiseAmnt", "20" }, { "HighPass", "80" }, { "HighRolloff", "9000" },
                              { "Saturate", "30" } }) },
    { "space", withSettings({ { "HeadsOn", "0" }, { "EchoMix", "40" }, { "EchoTime", "180" }, { "EchoFdbck", "60" },
                              { "EchoFilterLFOAmount", "50" }, { "SpringMix", "40" }, { "SpringAB", "50" },
                              { "EchoToSpring", "30" } }) },
    { "preset-attic-treasure", withPreset("Attic Treasure") },
    { "preset-dotted-dub-delay", withPreset("Dotted Dub Delay") },
    { "preset-expensive-springs", withPreset("Expensive Springs") },
    { "preset-wowie", withPreset("Wowie") },
};

double decibels(double level)
{
    return level > 0.0 ? std::max(floorDecibels, 20.0 * std::log10(level)) : floorDecibels;
}

// One row per window: RMS and peak of each channel, in dBFS.
std::vector<std::vector<double>> fingerprintOf(const juce::AudioBuffer<float>& samples, double sampleRate)
{
    const int window = static_cast<int>(windowSeconds * sampleRate);
    std::vector<std::vector<double>> rows;
    for (int start = 0; start + window <= samples.getNumSamples(); start += window)
    {
        std::vector<double> row;
        for (int channel = 0; channel < samples.getNumChannels(); ++channel)
        {
            row.push_back(decibels(samples.getRMSLevel(channel, start, window)));
            row.push_back(decibels(samples.getMagnitude(channel, start, window)));
        }
        rows.push_back(row);
    }
    return rows;
}

juce::File goldenFile(const char* name)
{
    return juce::File(QUILLMORE_GOLDEN_FOLDER).getChildFile(juce::String(name) + ".txt");
}

void writeFingerprint(const juce::File& file, const char* name, const std::vector<std::vector<double>>& rows)
{
    std::ostringstream text;
    text << "# " << name << ": RMS and peak level of each channel per " << windowSeconds * 1000.0
         << " ms window, dBFS (floor " << floorDecibels << ")\n# rmsL peakL rmsR peakR\n";
    text << std::fixed << std::setprecision(3);
    for (const auto& row : rows)
    {
        for (size_t i = 0; i < row.size(); ++i)
            text << (i > 0 ? " " : "") << row[i];
        text << "\n";
    }
    ASSERT_TRUE(file.replaceWithText(text.str())) << file.getFullPathName();
}

std::vector<std::vector<double>> readFingerprint(const juce::File& file)
{
    std::vector<std::vector<double>> rows;
    std::ifstream in(file.getFullPathName().toStdString());
    for (std::string line; std::getline(in, line);)
    {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream values(line);
        std::vector<double> row;
        for (double value; values >> value;)
            row.push_back(value);
        rows.push_back(row);
    }
    return rows;
}

bool recording()
{
    return std::getenv("QUILLMORE_RECORD_GOLDEN_RENDERS") != nullptr;
}

class GoldenRenders : public testing::TestWithParam<Golden>
{
};

void PrintTo(const Golden& golden, std::ostream* out)
{
    *out << golden.name;
}
} // namespace

TEST_P(GoldenRenders, MatchTheRecordedFingerprint)
{
    const Golden& golden = GetParam();
    const auto output = renderSeeded(golden.render);
    ASSERT_EQ(output.getNumChannels(), 2);
    const auto actual = fingerprintOf(output, golden.render.sampleRate);
    const auto file = goldenFile(golden.name);
    if (recording())
    {
        writeFingerprint(file, golden.name, actual);
        return;
    }

    const auto expected = readFingerprint(file);
    ASSERT_EQ(actual.size(), expected.size()) << file.getFullPathName() << " (record with tools/record-golden-renders.sh)";
    const char* measures[] = { "RMS left", "peak left", "RMS right", "peak right" };
    int differences = 0;
    for (size_t w = 0; w < actual.size(); ++w)
    {
        ASSERT_EQ(expected[w].size(), 4u) << file.getFullPathName() << ", window " << w;
        for (size_t m = 0; m < 4; ++m)
            if (!(std::abs(actual[w][m] - expected[w][m]) <= toleranceDecibels) && ++differences <= 5)
                ADD_FAILURE() << golden.name << ": " << measures[m] << " in window " << w << " (from " << static_cast<int>(w) * 100 << " ms) is "
                              << actual[w][m] << " dBFS, recorded " << expected[w][m]
                              << " dBFS (a deliberate change of the sound: tools/record-golden-renders.sh)";
    }
    EXPECT_EQ(differences, 0) << golden.name << ": windows that differ";
}

INSTANTIATE_TEST_SUITE_P(SectionsAndPresets, GoldenRenders, testing::ValuesIn(goldens),
                         [](const testing::TestParamInfo<Golden>& info) {
                             auto name = std::string(info.param.name);
                             for (auto& c : name)
                                 if (c == '-')
                                     c = '_';
                             return name;
                         });

// The seed hook: the same seed renders the same samples, with the random sources (hiss, drift,
// blips, dropouts, instability) loud in them; another seed renders others.
TEST(GoldenRenderSeed, TheSameSeedRepeatsARenderAndAnotherChangesIt)
{
    SeededRender render = withSettings({ { "SpaceOn", "0" }, { "NoiseAmnt", "60" }, { "MstrWarble", "80" },
                                         { "StDrift", "60" }, { "Instability", "60" }, { "Blips", "60" },
                                         { "Degrade", "60" } });
    render.inputSeconds = 1.0;
    render.tailSeconds = 0.0;
    const auto first = renderSeeded(render);
    const auto again = renderSeeded(render);
    render.seed += 1;
    const auto other = renderSeeded(render);

    int differentFromFirst = 0;
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < first.getNumSamples(); ++i)
        {
            ASSERT_EQ(first.getSample(channel, i), again.getSample(channel, i)) << "channel " << channel << ", sample " << i;
            differentFromFirst += first.getSample(channel, i) != other.getSample(channel, i);
        }
    EXPECT_GT(differentFromFirst, first.getNumSamples()) << "another seed renders other samples";
}
