#include "plugin/PresetFileName.h"

namespace Quillmore
{
namespace
{
// File::getChildFile takes a name starting with "~" for a home-folder path on POSIX systems, so a
// preset called "~Warm" would land outside the folder. The path is joined by hand instead; the
// sanitised name holds no separator.
juce::File childFile(const juce::File& folder, const juce::String& fileName)
{
    return juce::File(folder.getFullPathName() + juce::File::getSeparatorString() + fileName);
}
} // namespace

juce::String sanitiseFileName(const juce::String& name)
{
    juce::String result(name);
    for (const auto c : juce::String("\\/:*?\"<>|"))
        result = result.replaceCharacter(c, '_');
    return result;
}

juce::File presetFileFor(const juce::File& folder, const juce::String& name)
{
    return childFile(folder, sanitiseFileName(name) + ".xml");
}

juce::File firstFreePresetFile(const juce::File& folder, const juce::String& name)
{
    auto stem = sanitiseFileName(name);
    auto file = childFile(folder, stem + ".xml");
    if (! file.exists())
        return file;

    int number = 1;
    if (stem.endsWithChar(')'))
    {
        const int open = stem.lastIndexOfChar('(');
        const auto digits = stem.substring(open + 1, stem.length() - 1);
        // At most nine digits, so that counting on cannot overflow.
        if (open > 0 && digits.isNotEmpty() && digits.length() <= 9 && digits.containsOnly("0123456789"))
        {
            number = digits.getIntValue();
            stem = stem.substring(0, open);
        }
    }

    do
        file = childFile(folder, stem + "(" + juce::String(++number) + ").xml");
    while (file.exists());
    return file;
}
} // namespace Quillmore
