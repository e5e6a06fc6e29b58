// The processor with the generated patch it ships with.
#include "plugin/QuillmoreAudioProcessor.h"

#include <gtest/gtest.h>

#include <set>

TEST(GeneratedPatchHookUp, EveryHostParameterIsForwardedToAPatcherParameterOfItsOwn)
{
    QuillmoreAudioProcessor processor;
    EXPECT_EQ(processor.getNumForwardedParameters(), 48);

    std::set<int> indices;
    for (auto* parameter : processor.getParameters())
    {
        const auto& id = dynamic_cast<juce::RangedAudioParameter&>(*parameter).paramID;
        const int index = processor.getPatcherParameterIndex(id);
        EXPECT_GE(index, 0) << id;
        indices.insert(index);
    }
    EXPECT_EQ(indices.size(), 48u) << "two host parameters share a patcher parameter";
}
