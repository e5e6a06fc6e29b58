#include "tools/host/TextColumns.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace Quillmore::Host;

TEST(TextColumns, EveryColumnStartsWhereItsHeadingDoesHoweverLongItsEntries)
{
    const std::vector<std::vector<juce::String>> rows { { "index", "id", "name", "text" },
                                                        { "5", "EchoFilterLFOAmount", "EchoFilterLFOAmount", "0.00 %" },
                                                        { "37", "EchoToSpring", juce::String::fromUTF8("Echo\xc3\xa9>Springs"), "" },
                                                        { "100", "x", "y", "1/8 DOTTED" } };
    std::ostringstream out;
    printColumns(rows, out, "  ");

    std::vector<juce::String> lines;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);)
        lines.push_back(juce::String::fromUTF8(line.c_str()));
    ASSERT_EQ(lines.size(), rows.size());

    // Each column begins two characters (not bytes: the accented name) past the widest entry before it.
    const std::vector<int> starts { 2, 2 + 5 + 2, 2 + 5 + 2 + 19 + 2, 2 + 5 + 2 + 19 + 2 + 19 + 2 };
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
        {
            if (rows[r][c].isEmpty())
                continue;
            EXPECT_TRUE(lines[r].substring(starts[c]).startsWith(rows[r][c]) && (c == 0 || lines[r][starts[c] - 1] == ' '))
                << "row " << r << ", column " << c << ": \"" << lines[r] << "\"";
        }
    EXPECT_FALSE(lines[2].endsWithChar(' ')) << "an empty last column leaves no trailing blanks";
}
