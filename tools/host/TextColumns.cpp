#include "tools/host/TextColumns.h"

namespace Quillmore::Host
{
void printColumns(const std::vector<std::vector<juce::String>>& rows, std::ostream& out, const juce::String& indent)
{
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
