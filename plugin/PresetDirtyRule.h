#pragma once

#include <juce_core/juce_core.h>

namespace Quillmore
{
// Whether a change of this host parameter modifies the current preset. The bypass, the tape stop
// switch, the host tempo and the three values the patch reports back never do.
bool marksPresetDirty(const juce::String& parameterId);
} // namespace Quillmore
