#include "plugin/QuillmoreUserFolder.h"

#include "plugin/UserApplicationDataFolder.h"

namespace Quillmore
{
juce::File getQuillmoreUserFolder()
{
    return getUserApplicationDataFolder().getChildFile("ZarnPeloq").getChildFile("Quillmore");
}
} // namespace Quillmore
