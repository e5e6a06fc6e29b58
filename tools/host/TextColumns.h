#pragma once

#include <juce_core/juce_core.h>

#include <ostream>
#include <vector>

namespace Quillmore::Host
{
// Rows of texts printed as left-aligned columns, each as wide as its widest entry (in characters)
// and two blanks apart, after an indent; the last column is not padded. Each text is escaped to stay on
// its line (escapedForOneLine).
void printColumns(const std::vector<std::vector<juce::String>>& rows, std::ostream& out, const juce::String& indent = {});
} // namespace Quillmore::Host
