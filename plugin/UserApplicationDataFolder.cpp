#include "plugin/UserApplicationDataFolder.h"

namespace Quillmore
{
juce::File getUserApplicationDataFolder()
{
#if JUCE_LINUX
    // The framework reads XDG_CONFIG_HOME only from ~/.config/user-dirs.dirs, never from the
    // environment, where the XDG base-directory rules put it. Relative values are to be ignored.
    const auto configHome = juce::SystemStats::getEnvironmentVariable("XDG_CONFIG_HOME", {});
    if (configHome.startsWithChar('/'))
        return juce::File(configHome);
#endif
    return juce::File::getSpecialLocation(juce::File::userApplicationDataDirectory);
}
} // namespace Quillmore
