// Every parameter's values through the VST3 edit controller, as a host writes and reads them: the
// plug-in's texts typed back in, and random values set and read back from the state the plug-in saves.
#include "tests/e2e/BuiltBundle.h"
#include "tools/host/HostedParameters.h"
#include "tools/host/PluginState.h"

#include <gtest/gtest.h>

#include <utility>

using namespace Quillmore::Host;

namespace
{
// A value the host may legally send: any position for a continuous parameter, a step for a stepped one.
float randomLegalValue(const juce::AudioProcessorParameter& parameter, juce::Random& random)
{
    if (!parameter.isDiscrete())
        return random.nextFloat();
    const int steps = parameter.getNumSteps();
    return static_cast<float>(random.nextInt(steps)) / static_cast<float>(steps - 1);
}
} // namespace

TEST(HostedParameterValues, EveryShownTextTypedBackShowsTheSameText)
{
    auto plugin = loadBuiltBundle();
    auto& instance = *plugin.instance;
    for (auto* parameter : instance.getParameters())
    {
        for (int i = 0; i <= 16; ++i)
        {
            const float position = static_cast<float>(i) / 16.0f;
            const auto shown = parameter->getText(position, 1024);
            setParameterFromText(*parameter, shown);
            flushParameterChanges(instance);
            EXPECT_EQ(parameter->getText(parameter->getValue(), 1024), shown)
                << parameter->getName(100) << " at position " << position;
        }
    }
}

TEST(HostedParameterValues, RandomValuesReadBackAsSetFromTheSavedState)
{
    juce::Random random(20261211);
    for (int round = 0; round < 5; ++round)
    {
        auto plugin = loadBuiltBundle();
        auto& instance = *plugin.instance;
        const auto& parameters = instance.getParameters();
        std::vector<float> set;
        for (auto* parameter : parameters)
        {
            set.push_back(randomLegalValue(*parameter, random));
            setParameterNormalised(*parameter, set.back());
        }
        flushParameterChanges(instance);

        // The host's own copy of a value says little (it keeps what it sent); an instance handed the
        // saved state shows what the plug-in made of it.
        auto restored = loadBuiltBundle();
        setPluginState(*restored.instance, getPluginState(instance));
        const auto& restoredParameters = restored.instance->getParameters();
        ASSERT_EQ(restoredParameters.size(), parameters.size());

        for (int index = 0; index < parameters.size(); ++index)
        {
            // The value set, up to where the plug-in rounds to its own steps (which switches and modes
            // do without telling the host their steps): it shows the very text that the set value shows.
            const float value = set[static_cast<size_t>(index)];
            EXPECT_EQ(restoredParameters[index]->getText(restoredParameters[index]->getValue(), 1024),
                      parameters[index]->getText(value, 1024))
                << parameters[index]->getName(100) << " set to " << value << " in round " << round;
        }
    }
}

// As a host's text field or a lane of text automation hands them over: the switch words, in any
// case, switch the plug-in (its saved state holds the value), and a text a parameter cannot read
// leaves it where it stands.
TEST(HostedParameterValues, SwitchWordsSwitchAndUnreadableTextsLeaveTheValue)
{
    const std::pair<const char*, float> words[] { { "On", 1 }, { "on", 1 },   { "TRUE", 1 }, { "Yes", 1 }, { "1", 1 },
                                                  { "Off", 0 }, { "OFF", 0 }, { "false", 0 }, { "no", 0 }, { "0", 0 } };
    auto plugin = loadBuiltBundle();
    auto& instance = *plugin.instance;
    const auto savedValue = [&](const char* id) {
        const auto state = getPluginState(instance);
        return static_cast<float>(juce::ValueTree::readFromData(state.getData(), state.getSize())
                                      .getChildWithProperty("id", id)
                                      .getProperty("value"));
    };

    for (const char* id : { "HeadsOn", "SpaceOn", "EchoSyncOn", "SendRetMode", "Order", "TapeStop", "TrueBypass" })
    {
        auto& parameter = findParameter(instance, id);
        for (const auto& [word, value] : words)
        {
            setParameterNormalised(parameter, 1.0f - value);
            flushParameterChanges(instance);
            const float read = parameter.getValueForText(word);
            EXPECT_EQ(read, value) << id << " \"" << word << '"';
            setParameterNormalised(parameter, read);
            flushParameterChanges(instance);
            EXPECT_EQ(savedValue(id), value) << id << " \"" << word << '"';
        }
    }

    for (auto* parameter : instance.getParameters())
    {
        // Not the VST3 client's own "Bypass", which the framework adds beside the plug-in's parameters
        // and reads as it does.
        if (parameter->getName(100) == "Bypass")
            continue;
        for (const float start : { 1.0f, 0.37f })
        {
            setParameterNormalised(*parameter, start);
            flushParameterChanges(instance);
            const auto shown = parameter->getText(parameter->getValue(), 1024);
            for (const char* text : { "banana", "", "nan", "1e999", "12 furlongs" })
                EXPECT_EQ(parameter->getText(parameter->getValueForText(text), 1024), shown)
                    << parameter->getName(100) << " \"" << text << '"';
        }
    }
}
