#pragma once

#include <juce_data_structures/juce_data_structures.h>

namespace Quillmore
{
// Whether a child of the tree that names a parameter ("id") gives it a value that is not a finite
// number ("nan", "inf" or their binary doubles), or a number too large for a float ("1e39"), which
// the parameter would hold as an infinity. The framework would hand such a value straight to
// the parameter: the host would show and automate NaN and the patch compute with it. The framework
// reads only the root's children.
bool hasNonFiniteParameterValue(const juce::ValueTree& tree);
} // namespace Quillmore
