#include "plugin/PresetManager.h"

#include "plugin/ApplyPresetTree.h"
#include "plugin/NonFiniteParameterValues.h"
#include "plugin/PresetFileName.h"
#include "plugin/StripUnknownParameters.h"
#include "plugin/UntrustedNumbers.h"
#include "plugin/UntrustedXml.h"

#include <algorithm>
#include <utility>

namespace
{
const juce::Identifier presetTreeType("Parameters");

// The tree's XML in the framework's default text format, written beside the target and moved over
// it, so that a failed write never leaves a half-written preset behind. The temporary name is short
// and not "*.xml": long preset names still fit, and a scan never lists it.
bool writePresetFile(const juce::ValueTree& tree, const juce::File& file)
{
    const auto xml = tree.createXml();
    if (xml == nullptr)
        return false;
    juce::MemoryOutputStream text;
    xml->writeTo(text);

    juce::File temporary;
    do
        temporary = file.getSiblingFile(".quillmore-" + juce::String::toHexString(juce::Random::getSystemRandom().nextInt64()) + ".tmp");
    while (temporary.exists());

    const juce::TemporaryFile replacement(file, temporary);
    {
        juce::FileOutputStream out(temporary);
        if (! out.openedOk())
            return false;
        out.write(text.getData(), text.getDataSize());
        out.flush();
        // A write that a full disk cuts short is not an error to the stream: only the file's size
        // tells.
        if (out.getStatus().failed() || temporary.getSize() != static_cast<juce::int64>(text.getDataSize()))
            return false;
    }
    return replacement.overwriteTargetFileWithTemporary();
}
} // namespace

PresetManager::PresetManager(juce::AudioProcessorValueTreeState& parametersToUse, juce::File folderToUse)
    : parameters(parametersToUse), folder(std::move(folderToUse))
{
    rescanUserPresets();
}

void PresetManager::rescanUserPresets()
{
    entries.clear();
    currentIndex = -1;

    if (! folder.isDirectory())
        return;

    for (const auto& item : juce::RangedDirectoryIterator(folder, false, "*", juce::File::findFiles))
    {
        const auto file = item.getFile();
        if (! file.hasFileExtension("xml"))
            continue;

        // Anything but a preset tree stays out of the list, so that it can never reach the parameters.
        const auto xml = Quillmore::parseUntrustedXml(file);
        if (xml == nullptr || ! xml->hasTagName(presetTreeType.toString()))
            continue;

        auto state = juce::ValueTree::fromXml(*xml);
        Quillmore::replaceValueTextsWithNumbers(state);
        if (state.isValid() && ! Quillmore::hasNonFiniteParameterValue(state))
            entries.add({ file.getFileNameWithoutExtension(), state, file });
    }

    std::stable_sort(entries.begin(), entries.end(), [](const UserPresetEntry& a, const UserPresetEntry& b)
                     { return a.name.compareIgnoreCase(b.name) < 0; });
}

bool PresetManager::loadPreset(int index)
{
    if (! isValidIndex(index) || ! entries.getReference(index).state.isValid())
        return false;

    Quillmore::applyPresetTree(parameters, entries.getReference(index).state);
    currentIndex = index;
    return true;
}

bool PresetManager::saveCurrentAsPreset(const juce::String& name)
{
    auto presetName = name.trim();
    if (presetName.isEmpty())
        presetName = "Preset " + juce::String(entries.size() + 1);

    const auto state = copyStrippedState();
    folder.createDirectory();
    const auto file = Quillmore::firstFreePresetFile(folder, presetName);
    if (! writePresetFile(state, file))
        return false;

    entries.add({ presetName, state, file });
    currentIndex = entries.size() - 1;
    return true;
}

bool PresetManager::overwritePreset(int index)
{
    if (! isValidIndex(index))
        return false;

    auto& entry = entries.getReference(index);
    if (! entry.file.existsAsFile())
        return false;

    const auto state = copyStrippedState();
    if (! writePresetFile(state, entry.file))
        return false;

    entry.state = state;
    return true;
}

bool PresetManager::renamePreset(int index, const juce::String& newName)
{
    const auto name = newName.trim();
    if (! isValidIndex(index) || name.isEmpty())
        return false;

    auto& entry = entries.getReference(index);
    if (name == entry.name || Quillmore::presetFileFor(folder, name) == entry.file)
    {
        entry.name = name;
        return true;
    }

    folder.createDirectory();
    const auto newFile = Quillmore::firstFreePresetFile(folder, name);
    // The file moves as it is: another instance of the plug-in may have overwritten it since this
    // list was made, and the entry's tree would undo that.
    const bool inPlace = entry.file.existsAsFile() ? entry.file.moveFileTo(newFile) : writePresetFile(entry.state, newFile);
    if (! inPlace)
        return false;

    entry.name = name;
    entry.file = newFile;
    return true;
}

bool PresetManager::deletePreset(int index)
{
    if (! isValidIndex(index))
        return false;

    const auto& file = entries.getReference(index).file;
    if (file.existsAsFile() && ! file.deleteFile())
        return false;

    entries.remove(index);
    if (currentIndex == index)
        currentIndex = -1;
    else if (currentIndex > index)
        --currentIndex;
    return true;
}

juce::ValueTree PresetManager::copyStrippedState() const
{
    auto state = parameters.copyState();
    Quillmore::stripUnknownParameters(state);
    return state;
}
