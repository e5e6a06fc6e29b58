// Values that are not finite numbers never reach a parameter: a preset file that holds one is left out
// of the list like any ill-formed file (a saved state that holds one is refused whole, PluginStateTest).
#include "plugin/NonFiniteParameterValues.h"
#include "plugin/PresetManager.h"
#include "tests/plugin/ParameterLayoutHost.h"
#include "tests/plugin/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
juce::ValueTree withParameter(const char* id, const juce::var& value)
{
    juce::ValueTree tree("Parameters");
    tree.appendChild(juce::ValueTree("PARAM", { { "id", "Input" }, { "value", 50 } }), nullptr);
    tree.appendChild(juce::ValueTree("PARAM", { { "id", id }, { "value", value } }), nullptr);
    return tree;
}
} // namespace

TEST(NonFiniteParameterValues, AreFoundAsTextsAndAsNumbersInParametersOnly)
{
    for (const juce::var& value : { juce::var("nan"), juce::var("-inf"), juce::var("NaN"),
                                    juce::var(std::numeric_limits<double>::quiet_NaN()),
                                    juce::var(std::numeric_limits<double>::infinity()), juce::var("1e39"),
                                    juce::var(-1.0e300) })
        EXPECT_TRUE(Quillmore::hasNonFiniteParameterValue(withParameter("EchoTime", value))) << value.toString();

    for (const juce::var& value : { juce::var("12.5"), juce::var("abc"), juce::var(3), juce::var(-1.0e30) })
        EXPECT_FALSE(Quillmore::hasNonFiniteParameterValue(withParameter("EchoTime", value))) << value.toString();

    juce::ValueTree notAParameter("Parameters");
    notAParameter.appendChild(juce::ValueTree("Other", { { "value", "nan" } }), nullptr);
    EXPECT_FALSE(Quillmore::hasNonFiniteParameterValue(notAParameter));
}

TEST(NonFiniteParameterValues, APresetFileWithOneIsLeftOutOfTheList)
{
    const TemporaryFolder folder;
    for (const auto& [name, value] : { std::pair { "Fine", "500" }, std::pair { "Broken", "nan" } })
        ASSERT_TRUE(folder.path().getChildFile(juce::String(name) + ".xml")
                        .replaceWithText("<Parameters><PARAM id=\"EchoTime\" value=\"" + juce::String(value) + "\"/></Parameters>"));

    ParameterLayoutHost host;
    PresetManager presets(host.state(), folder.path());
    ASSERT_EQ(presets.getEntries().size(), 1);
    EXPECT_EQ(presets.getEntries()[0].name, "Fine");
}
