// Blobs that declare gigabytes in a few bytes (a child count, a binary length, an array count) must
// neither be believed nor crash the plug-in. This binary caps its own address space at 1 GB above what
// it uses, so that believing one of them fails here at once, and hands the blobs to the state reader.
#include "plugin/QuillmoreAudioProcessor.h"
#include "plugin/UntrustedValueTree.h"
#include "tests/plugin/CraftedValueTreeBytes.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace
{
constexpr size_t allowance = size_t(1) << 30;

size_t addressSpaceInUse()
{
    unsigned long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r"))
    {
        if (std::fscanf(statm, "%lu", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    return pages * static_cast<size_t>(::sysconf(_SC_PAGESIZE));
}

bool underSanitizer()
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return true;
#else
    return false;
#endif
}
} // namespace

TEST(HostileStateWithinMemoryCap, GigabyteDeclarationsAreRefusedWithoutBeingBelieved)
{
    if (underSanitizer())
        GTEST_SKIP() << "sanitizers reserve address space of their own";

    QuillmoreAudioProcessor processor(nullptr);
    juce::MemoryBlock before;
    processor.getStateInformation(before);

    const rlimit cap { addressSpaceInUse() + allowance, RLIM_INFINITY };
    ASSERT_EQ(::setrlimit(RLIMIT_AS, &cap), 0);
    void* probe = std::malloc(2 * allowance);
    ASSERT_EQ(probe, nullptr) << "the cap does not hold";

    constexpr int huge = 0x7fffffff;
    const juce::MemoryBlock blobs[] = {
        CraftedValueTreeBytes().treeHead("Parameters", 0).count(huge).treeHead("PARAM", 0).count(0).block(),
        CraftedValueTreeBytes().treeHead("Parameters", 1).text("blob").count(huge).byte(8).raw("abcd", 4).count(0).block(),
        CraftedValueTreeBytes().treeHead("Parameters", 1).text("list").count(huge).byte(7).count(huge).count(0).block(),
        CraftedValueTreeBytes().treeHead("Parameters", 1).text("list").count(3).byte(7).count(huge).byte(0).count(0).block(),
    };
    for (const auto& blob : blobs)
    {
        EXPECT_FALSE(Quillmore::readUntrustedValueTree(blob.getData(), blob.getSize()).isValid());
        processor.setStateInformation(blob.getData(), static_cast<int>(blob.getSize()));
    }

    juce::MemoryBlock after;
    processor.getStateInformation(after);
    EXPECT_EQ(after, before);
}
