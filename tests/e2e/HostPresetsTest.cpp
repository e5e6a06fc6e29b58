// The command-line host choosing the plug-in's presets by name, through the plug-in's own preset loading.
#include "tests/e2e/HostToolRun.h"
#include "tools/host/AlignedRender.h"
#include "tools/host/HostError.h"
#include "tools/host/PluginPresets.h"
#include "tools/host/PluginState.h"
#include "tools/host/TestSignal.h"
#include "tools/host/WavFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

using namespace Quillmore::Host;

namespace
{
struct Listing
{
    std::vector<std::pair<std::string, std::string>> factory; // category, name
    std::vector<std::string> user;
    juce::File userFolder;
};

// What --list-presets prints: a heading, a row of column titles and the factory presets in two columns,
// then "user presets, in FOLDER:" and a name a line ("(none)" when there are none).
Listing listPresets()
{
    const auto lines = linesOf(runHostTool({ "--list-presets" }));
    Listing listing;
    size_t l = 0;
    EXPECT_EQ(lines.at(l++), "factory presets:");
    const auto nameColumn = lines.at(l++).find("name");
    for (; l < lines.size() && lines[l].rfind("  ", 0) == 0; ++l)
    {
        auto category = lines[l].substr(2, nameColumn - 2);
        category.erase(category.find_last_not_of(' ') + 1);
        listing.factory.emplace_back(category, lines[l].substr(nameColumn));
    }
    const std::string userHeading = "user presets, in ";
    EXPECT_EQ(lines.at(l).rfind(userHeading, 0), 0u) << lines.at(l);
    listing.userFolder = juce::File(lines.at(l).substr(userHeading.size(), lines[l].size() - userHeading.size() - 1));
    for (++l; l < lines.size(); ++l)
        if (lines[l] != "  (none)")
            listing.user.push_back(lines[l].substr(2));
    return listing;
}

void expectFiniteAndAudible(const juce::AudioBuffer<float>& samples, const std::string& what)
{
    float peak = 0.0f;
    for (int channel = 0; channel < samples.getNumChannels(); ++channel)
        for (int i = 0; i < samples.getNumSamples(); ++i)
        {
            const float value = samples.getSample(channel, i);
            ASSERT_TRUE(std::isfinite(value)) << what << ", channel " << channel << ", sample " << i;
            peak = std::max(peak, std::abs(value));
        }
    EXPECT_GT(peak, 1.0e-4f) << what << " renders noise as silence";
    EXPECT_LT(peak, 100.0f) << what;
}

class UserPresetFile
{
public:
    UserPresetFile(const juce::File& folder, const juce::String& name, float echoMix)
        : file(folder.getChildFile(name + ".xml"))
    {
        EXPECT_TRUE(folder.createDirectory());
        EXPECT_TRUE(file.replaceWithText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Parameters>\n"
                                         "  <PARAM id=\"EchoMix\" value=\""
                                         + juce::String(echoMix) + "\"/>\n</Parameters>\n"));
    }
    ~UserPresetFile() { file.deleteFile(); }

private:
    const juce::File file;
};
} // namespace

// Loaded one after another into one instance, as a user steps through them, each preset must replace
// the one before whole (a document that leaves a value out puts it back to its default).
TEST(HostPresets, EveryFactoryPresetLoadsByNameRendersAndNamesTheSavedState)
{
    const auto listing = listPresets();
    ASSERT_EQ(listing.factory.size(), 79u);
    EXPECT_EQ(listing.factory.front(), std::make_pair(std::string("Pinned"), std::string("Clean Default")));
    const std::set<std::string> categories { "Pinned", "Heads", "Spaces", "Quillmores", "Misc FX" };

    auto plugin = loadBuiltBundle();
    PluginPresets presets(*plugin.instance);
    SignalSettings noise;
    noise.kind = SignalKind::noise;
    noise.seconds = 0.1;
    const auto input = generateSignal(noise, 48000.0);
    AlignedRenderSettings settings;
    settings.preRollSamples = 28800; // past the start-up fade, then from one preset straight into the next
    settings.latencySamples = latencySamplesOf(*plugin.instance);
    settings.fixedTailSamples = 0;

    for (const auto& [category, name] : listing.factory)
    {
        EXPECT_EQ(categories.count(category), 1u) << category;
        const auto& loaded = presets.load(juce::String(name).toUpperCase());
        EXPECT_EQ(loaded.name, juce::String(name));
        EXPECT_TRUE(loaded.isFactory);

        auto blocks = BlockSizes::fixed(512);
        expectFiniteAndAudible(renderAligned(*plugin.instance, input, blocks, settings).output, name);
        const auto state = getPluginState(*plugin.instance);
        const auto saved = juce::ValueTree::readFromData(state.getData(), state.getSize());
        EXPECT_EQ(saved.getProperty("currentPresetName").toString(), juce::String(name));
        EXPECT_FALSE(static_cast<bool>(saved.getProperty("presetDirty"))) << name;
    }
}

TEST(HostPresets, AFactoryPresetByNameNamesTheSavedStateAndRenders)
{
    const juce::TemporaryFile wav(".wav"), state(".state");
    const auto report = runHostTool({ "--preset", "Bargain Bin-Tape", "--signal", "noise", "--length", "0.1", "--tail", "0",
                                      "--output", wav.getFile().getFullPathName(), "--save-state",
                                      state.getFile().getFullPathName() });
    EXPECT_NE(report.find("loaded the Heads factory preset \"Bargain Bin-Tape\""), std::string::npos) << report;
    expectFiniteAndAudible(readWav(wav.getFile()).samples, "Bargain Bin-Tape");
    const auto saved = readSavedState(state.getFile());
    EXPECT_EQ(saved.getProperty("currentPresetName").toString(), "Bargain Bin-Tape");
    EXPECT_EQ(static_cast<double>(savedParameterValue(saved, "Flutter")), 45.0) << "the preset's own flutter";
}

TEST(HostPresets, UserPresetsLoadByNameAfterTheFactoryOnesAndSettingsApplyOnTop)
{
    const auto folder = listPresets().userFolder;
    ASSERT_NE(folder, juce::File());
    const UserPresetFile mine(folder, "My Slap", 37.0f), shadowing(folder, "More Slap", 11.0f);

    const auto listing = listPresets();
    EXPECT_EQ(listing.user, (std::vector<std::string> { "More Slap", "My Slap" }));

    const juce::TemporaryFile state(".state");
    const auto report = runHostTool({ "--preset", "  my slap ", "--save-state", state.getFile().getFullPathName() });
    EXPECT_NE(report.find("loaded the user preset \"My Slap\""), std::string::npos) << report;
    auto saved = readSavedState(state.getFile());
    EXPECT_EQ(saved.getProperty("currentPresetName").toString(), "My Slap");
    EXPECT_EQ(static_cast<double>(savedParameterValue(saved, "EchoMix")), 37.0);

    // A factory preset of the same name comes first; settings follow the preset.
    runHostTool({ "--preset", "More Slap", "--set", "EchoTime=400 ms", "--save-state", state.getFile().getFullPathName() });
    saved = readSavedState(state.getFile());
    EXPECT_EQ(saved.getProperty("currentPresetName").toString(), "More Slap");
    EXPECT_EQ(static_cast<double>(savedParameterValue(saved, "EchoMix")), 35.0) << "the factory preset's own mix";
    EXPECT_NEAR(static_cast<double>(savedParameterValue(saved, "EchoTime")), 400.0, 1.0e-3);

    // The host's view follows the loaded preset: the listing shows the preset's values.
    bool listed = false;
    for (const auto& line : linesOf(runHostTool({ "--preset", "My Slap", "--list" })))
        if (line.find(" EchoMix ") != std::string::npos)
            listed = line.find("37.0 %") != std::string::npos;
    EXPECT_TRUE(listed);
}

TEST(HostPresets, AnUnknownNameFailsNamingTheNearestNames)
{
    try
    {
        runHostTool({ "--preset", "Dotted Dub Dely", "--output", "/tmp/never-written.wav" });
        FAIL() << "an unknown preset was accepted";
    }
    catch (const HostError& error)
    {
        const std::string message = error.what();
        EXPECT_NE(message.find("no preset is named \"Dotted Dub Dely\"; the nearest: \"Dotted Dub Delay\""), std::string::npos)
            << message;
        EXPECT_NE(message.find("--list-presets"), std::string::npos) << message;
    }
    EXPECT_FALSE(juce::File("/tmp/never-written.wav").exists());
}

// A user preset's name is its file's name, which may hold any character but "/": listed, each stays on
// its own line, escaped; it loads by the escaped name as by the real one, a real name first where a
// name typed fits both ways.
TEST(HostPresets, NamesWithControlCharactersAreListedEscapedAndLoadEitherWay)
{
    const auto folder = listPresets().userFolder;
    ASSERT_NE(folder, juce::File());
    const UserPresetFile lineBreak(folder, "Line\nBreak", 21.0f), tab(folder, "Tab\tStop", 22.0f),
        backslash(folder, "Line\\nBreak", 23.0f), bell(folder, "Bell\a", 24.0f);

    const auto listing = listPresets();
    EXPECT_EQ(listing.user,
              (std::vector<std::string> { "Bell\\x07", "Line\\nBreak", "Line\\\\nBreak", "Tab\\tStop" }));

    const juce::TemporaryFile state(".state");
    const std::tuple<const char*, double> loads[] {
        { "line\nbreak", 21 },      // the real name
        { "Line\\\\nBreak", 23 }, // as listed
        { "Line\\nBreak", 23 },     // the other's real name, before the first's escaped one
        { "Tab\\tStop", 22 },       // as listed
        { "Bell\\x07", 24 },
    };
    for (const auto& [typed, echoMix] : loads)
    {
        const auto report = runHostTool({ "--preset", typed, "--save-state", state.getFile().getFullPathName() });
        EXPECT_EQ(linesOf(report).size(), 2u) << report;
        EXPECT_EQ(static_cast<double>(savedParameterValue(readSavedState(state.getFile()), "EchoMix")), echoMix) << typed;
    }
}
