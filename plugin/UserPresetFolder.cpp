#include "plugin/UserPresetFolder.h"

#include "plugin/QuillmoreUserFolder.h"

namespace Quillmore
{
juce::File getUserPresetFolder()
{
    return getQuillmoreUserFolder().getChildFile("User Presets");
}
} // namespace Quillmore
