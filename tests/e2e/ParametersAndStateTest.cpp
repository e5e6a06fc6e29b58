// Parameters and state through the VST3 interfaces. The framework's own "Bypass" parameter is the one
// every build has, so it stands for the rest here.
#include "tests/e2e/BuiltBundle.h"
#include "tools/host/HostError.h"
#include "tools/host/HostedParameters.h"
#include "tools/host/PluginState.h"

#include <gtest/gtest.h>

using namespace Quillmore::Host;

namespace
{
const ParameterRow* rowNamed(const std::vector<ParameterRow>& rows, const juce::String& name)
{
    for (const auto& row : rows)
        if (row.name == name)
            return &row;
    return nullptr;
}
} // namespace

TEST(HostedParameters, ListsBypassWithThePluginsTextAndSetsItFromText)
{
    auto plugin = loadBuiltBundle();
    auto rows = describeParameters(*plugin.instance, {});
    const auto* bypass = rowNamed(rows, "Bypass");
    ASSERT_NE(bypass, nullptr);
    EXPECT_EQ(bypass->normalised, 0.0f);
    EXPECT_EQ(bypass->text, "Off");

    auto& parameter = findParameter(*plugin.instance, bypass->id); // by VST3 number
    EXPECT_EQ(&parameter, &findParameter(*plugin.instance, "bypass")); // by name
    setParameterFromText(parameter, "On");
    flushParameterChanges(*plugin.instance);

    rows = describeParameters(*plugin.instance, {});
    bypass = rowNamed(rows, "Bypass");
    ASSERT_NE(bypass, nullptr);
    EXPECT_EQ(bypass->normalised, 1.0f);
    EXPECT_EQ(bypass->text, "On");
}

TEST(HostedParameters, RejectsUnknownParametersAndOutOfRangeValues)
{
    auto plugin = loadBuiltBundle();
    EXPECT_THROW(findParameter(*plugin.instance, "NoSuchParameter"), HostError);
    auto& bypass = findParameter(*plugin.instance, "Bypass");
    EXPECT_THROW(setParameterNormalised(bypass, 1.5f), HostError);
    EXPECT_THROW(setParameterNormalised(bypass, std::numeric_limits<float>::quiet_NaN()), HostError);
}

TEST(PluginStateFile, SavedStateRestoresTheSettingInAFreshInstance)
{
    const juce::TemporaryFile stateFile(".state");
    {
        auto plugin = loadBuiltBundle();
        setParameterFromText(findParameter(*plugin.instance, "Bypass"), "On");
        flushParameterChanges(*plugin.instance);
        savePluginState(*plugin.instance, stateFile.getFile());
    }
    ASSERT_GT(stateFile.getFile().getSize(), 0);

    auto fresh = loadBuiltBundle();
    auto& bypass = findParameter(*fresh.instance, "Bypass");
    ASSERT_EQ(bypass.getValue(), 0.0f);
    loadPluginState(*fresh.instance, stateFile.getFile());
    EXPECT_EQ(bypass.getValue(), 1.0f);

    // And the plug-in itself hands the restored state out again, byte for byte.
    juce::MemoryBlock saved;
    ASSERT_TRUE(stateFile.getFile().loadFileAsData(saved));
    EXPECT_EQ(getPluginState(*fresh.instance), saved);
}

TEST(PluginStateFile, RestoresParametersAndThePresetNameInAFreshInstance)
{
    const juce::TemporaryFile stateFile(".state");
    std::vector<ParameterRow> savedRows;
    {
        auto plugin = loadBuiltBundle();
        auto& instance = *plugin.instance;
        // A host reaches the preset name only through a state: hand one in that names a preset.
        const auto initial = getPluginState(instance);
        auto tree = juce::ValueTree::readFromData(initial.getData(), initial.getSize());
        ASSERT_EQ(tree["currentPresetName"].toString(), "Clean Default");
        tree.setProperty("currentPresetName", "Night Tape", nullptr);
        juce::MemoryOutputStream named;
        tree.writeToStream(named);
        setPluginState(instance, named.getMemoryBlock());

        setParameterFromText(findParameter(instance, "EchoTime"), "480 ms");
        setParameterFromText(findParameter(instance, "SpaceOn"), "0");
        setParameterFromText(findParameter(instance, "TrueBypass"), "On");
        flushParameterChanges(instance);
        savedRows = describeParameters(instance, {});
        savePluginState(instance, stateFile.getFile());
    }
    ASSERT_EQ(rowNamed(savedRows, "EchoTime")->text, "480 ms");

    auto fresh = loadBuiltBundle();
    ASSERT_NE(rowNamed(describeParameters(*fresh.instance, {}), "EchoTime")->text, "480 ms");
    loadPluginState(*fresh.instance, stateFile.getFile());

    const auto rows = describeParameters(*fresh.instance, {});
    ASSERT_EQ(rows.size(), savedRows.size());
    for (size_t i = 0; i < rows.size(); ++i)
    {
        EXPECT_EQ(rows[i].name, savedRows[i].name);
        EXPECT_EQ(rows[i].normalised, savedRows[i].normalised) << rows[i].name;
        EXPECT_EQ(rows[i].text, savedRows[i].text) << rows[i].name;
    }

    // The edits after the named preset marked it modified; the fresh instance shows the same.
    const auto restored = getPluginState(*fresh.instance);
    const auto tree = juce::ValueTree::readFromData(restored.getData(), restored.getSize());
    EXPECT_EQ(tree["currentPresetName"].toString(), "Night Tape");
    EXPECT_TRUE(static_cast<bool>(tree["presetDirty"]));
}

TEST(PluginStateFile, MissingStateFileIsReported)
{
    auto plugin = loadBuiltBundle();
    EXPECT_THROW(loadPluginState(*plugin.instance, juce::File::getSpecialLocation(juce::File::tempDirectory)
                                                        .getChildFile("no-such-quillmore-state")),
                 HostError);
}
