// Every input that the fuzz targets start from or once tripped over (tests/fuzz/corpus, tests/fuzz/
// findings), replayed in every build through exactly what the fuzz target does with it: a finding,
// once mended, stays mended without clang or a fuzzing run.
#include "tests/fuzz/HostileInputs.h"
#include "tests/plugin/ProcessorPlayer.h"

#include <gtest/gtest.h>

namespace
{
const juce::File fuzzFolder(QUILLMORE_FUZZ_FOLDER);

// The files of the target's seed and finding folders, and of any further folders given.
juce::Array<juce::File> inputsOf(const juce::String& target, const juce::Array<juce::File>& moreSeeds = {})
{
    juce::Array<juce::File> folders { fuzzFolder.getChildFile("corpus").getChildFile(target),
                                      fuzzFolder.getChildFile("findings").getChildFile(target) };
    folders.addArray(moreSeeds);
    juce::Array<juce::File> files;
    for (const auto& folder : folders)
        files.addArray(folder.findChildFiles(juce::File::findFiles, false));
    return files;
}

// Each input into a fresh processor, as the fuzz target hands it over.
template <typename Load>
void expectEachLeavesTheProcessorSane(const juce::Array<juce::File>& files, Load&& load)
{
    for (const auto& file : files)
    {
        juce::MemoryBlock bytes;
        ASSERT_TRUE(file.loadFileAsData(bytes)) << file.getFullPathName();
        QuillmoreAudioProcessor processor;
        ProcessorPlayer::prepare(processor, 256);
        EXPECT_EQ(load(processor, bytes.getData(), bytes.getSize()), "") << file.getFullPathName();
    }
}
} // namespace

TEST(FuzzFindings, UserPresetFilesLeaveTheProcessorSane)
{
    const auto files = inputsOf("user-preset-file", { fuzzFolder.getParentDirectory().getParentDirectory()
                                                          .getChildFile("resources").getChildFile("presets") });
    EXPECT_GT(files.size(), 79);
    expectEachLeavesTheProcessorSane(files, HostileInputs::loadUserPresetFile);
}

TEST(FuzzFindings, StatesLeaveTheProcessorSane)
{
    const auto files = inputsOf("state");
    EXPECT_GE(files.size(), 3);
    expectEachLeavesTheProcessorSane(files, HostileInputs::loadState);
}
