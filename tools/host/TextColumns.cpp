#include "tools/host/TextColumns.h"

#include "tools/host/EscapedText.h"

namespace Quillmore::Host
{
void printColumns(const std::vector<std::vector<juce::String>>& texts, std::ostream& out, const juce::String& indent)
{
    std::vector<std::vector<juce::String>> rows;
    for (const auto& row : texts)
    {
        rows.emplace_back();
        for (const auto& text : row)
            rows.back().push_back(escapedForOneLine(text));
    }

    std::vector<int> widths;
    for (const auto& row : rows)
        for (size_t column = 0; column < row.size(); ++column)
        {
            if (widths.size() <= column)
                widths.push_back(0);
            widths[column] = juce::jmax(widths[column], row[column].length());
        }

    for (const auto& row : rows)
    {
        juce::String line = indent;
        for (size_t column = 0; column < row.size(); ++column)
            line << (column + 1 < row.size() ? row[column].paddedRight(' ', widths[column] + 2) : row[column]);
        out << line.trimEnd() << "\n";
    }
}
} // namespace Quillmore::Host
