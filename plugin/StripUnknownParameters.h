#pragma once

#include <juce_data_structures/juce_data_structures.h>

namespace Quillmore
{
// Removes from a preset tree, in place and without undo, every property whose name and every child
// whose "id" is not a preset parameter ID (exact case). Children without an "id" are searched the
// same way; a child with a known "id" stays as it is.
void stripUnknownParameters(juce::ValueTree& tree);
} // namespace Quillmore
