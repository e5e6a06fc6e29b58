#include "plugin/UntrustedNumbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using Quillmore::readUntrustedNumber;

// As the framework reads numbers where it is defined; what its reader overflows on, as meant.
TEST(UntrustedNumbers, ReadsLikeTheFrameworkAndDefinedForAnyText)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    const struct
    {
        const char* text;
        double expected;
    } cases[] = {
        { "1234", 1234.0 },           { "  -2.5", -2.5 },        { "+7", 7.0 },
        { "12abc", 12.0 },            { ".5", 0.5 },             { "3.", 3.0 },
        { "1e3", 1000.0 },            { "1E-2", 0.01 },          { "2e", 2.0 },
        { "", 0.0 },                  { "abc", 0.0 },            { "e5", 0.0 },
        { "-", 0.0 },                 { "inf", inf },            { "-Infinity", -inf },
        { "1e39", 1e39 },             { "1e400", inf },          { "-3e44444444443z", -inf },
        { "7e-44444444444", 0.0 },    { "0e99999999999", 0.0 },  { "0.000001e-400", 0.0 },
        { "123456789012345678901234567890e-20", 1234567890.1234567890 },
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(readUntrustedNumber(c.text), c.expected) << '"' << c.text << '"';
    EXPECT_TRUE(std::isnan(readUntrustedNumber("NaN")));
    EXPECT_TRUE(std::isnan(readUntrustedNumber(" -nan")));
}

TEST(UntrustedNumbers, TextValuesOfChildrenBecomeNumbersAndNothingElseChanges)
{
    juce::ValueTree tree("Parameters");
    tree.setProperty("currentPresetName", "12", nullptr);
    juce::ValueTree text("PARAM"), number("PARAM");
    text.setProperty("id", "EchoTime", nullptr).setProperty("value", "-3e44444444443z", nullptr);
    number.setProperty("id", "Output", nullptr).setProperty("value", 150.0, nullptr);
    tree.appendChild(text, nullptr);
    tree.appendChild(number, nullptr);

    Quillmore::replaceValueTextsWithNumbers(tree);
    EXPECT_TRUE(tree["currentPresetName"].isString());
    EXPECT_TRUE(text["value"].isDouble());
    EXPECT_EQ(static_cast<double>(text["value"]), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(static_cast<double>(number["value"]), 150.0);
    EXPECT_TRUE(text["id"].isString());
}
