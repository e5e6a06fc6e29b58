#pragma once

#include <juce_core/juce_core.h>

namespace Quillmore
{
// The per-user folder where applications keep their data. On Linux this is $XDG_CONFIG_HOME when it
// holds an absolute path, else the framework's answer (~/.config); elsewhere the framework's answer.
juce::File getUserApplicationDataFolder();
} // namespace Quillmore
