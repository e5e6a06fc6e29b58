// Whatever bytes a host hands back, the processor takes only a complete "Parameters" state: empty,
// junk, random, truncated and hostile blobs and trees of another type change nothing, and a flipped
// bit can never tear a state apart.
#include "tests/plugin/CraftedValueTreeBytes.h"
#include "tests/plugin/ProcessorPlayer.h"
#include "tests/plugin/ProcessorState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
// Everything a state restores, one item each: the 48 parameters and the thirteen properties.
std::vector<juce::var> storedItems(QuillmoreAudioProcessor& processor)
{
    std::vector<juce::var> items;
    for (auto* parameter : processor.getParameters())
        if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*>(parameter))
            items.emplace_back(ProcessorState::value(processor, ranged->paramID));
    const auto f = processor.presetFields.get();
    for (const juce::var& item : { juce::var(f.currentPresetName), juce::var(processor.presetDirty.load()),
                                   juce::var(processor.activePanel.load()), juce::var(f.popupHasState),
                                   juce::var(f.popupLastTab), juce::var(f.popupFactoryScrollY),
                                   juce::var(f.popupUserScrollY), juce::var(f.popupSelFactoryRes),
                                   juce::var(f.popupSelUserIndex), juce::var(f.factoryOpenHeads),
                                   juce::var(f.factoryOpenSpaces), juce::var(f.factoryOpenQuillmores),
                                   juce::var(f.factoryOpenMiscFX) })
        items.push_back(item);
    return items;
}

int countDifferences(const std::vector<juce::var>& a, const std::vector<juce::var>& b)
{
    int differences = 0;
    for (size_t i = 0; i < a.size(); ++i)
        differences += a[i].equalsWithSameType(b[i]) ? 0 : 1;
    return differences;
}

// Moves every item away from its default, so that any item a load resets shows; the near and the far
// setting differ from each other in every parameter and in the name, page and browser view.
void moveAwayFromDefaults(QuillmoreAudioProcessor& processor, bool far)
{
    for (auto* parameter : processor.getParameters())
        if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*>(parameter))
        {
            const bool lowDefault = ranged->getDefaultValue() < 0.5f;
            ranged->setValueNotifyingHost(lowDefault ? (far ? 0.8f : 0.4f) : (far ? 0.2f : 0.6f));
        }
    processor.setCurrentPresetName(far ? "Far" : "Near");
    processor.activePanel = far ? 1 : 0;
    processor.presetFields.update([far](Quillmore::PresetFields& fields) {
        fields.popupHasState = true;
        fields.popupLastTab = far ? 1 : 0;
        fields.popupFactoryScrollY = far ? 50 : 30;
        fields.popupUserScrollY = far ? 100 : 60;
        fields.popupSelFactoryRes = far ? "Roomy_xml" : "Dottie_xml";
        fields.popupSelUserIndex = far ? 5 : 3;
        fields.factoryOpenHeads = fields.factoryOpenSpaces = fields.factoryOpenQuillmores = fields.factoryOpenMiscFX = far;
    });
}

class StateBlob : public ::testing::Test
{
protected:
    StateBlob()
    {
        // Another instance's state, different in every item: a load of it would show everywhere.
        QuillmoreAudioProcessor other(nullptr);
        moveAwayFromDefaults(other, false);
        otherState = ProcessorState::save(other);

        moveAwayFromDefaults(processor, true);
        before = ProcessorState::save(processor);
    }

    void expectUnchangedAfterLoading(const void* data, size_t size, const juce::String& what)
    {
        processor.setStateInformation(data, static_cast<int>(size));
        EXPECT_EQ(ProcessorState::save(processor), before) << what;
    }

    void expectUnchangedAfterLoading(const juce::MemoryBlock& blob, const juce::String& what)
    {
        expectUnchangedAfterLoading(blob.getData(), blob.getSize(), what);
    }

    QuillmoreAudioProcessor processor{ nullptr };
    juce::MemoryBlock otherState, before;
};
} // namespace

TEST_F(StateBlob, TheOtherStateWouldChangeAllButTwoItems)
{
    // Both have a browser view to restore and are modified; everything else differs.
    const auto items = storedItems(processor);
    QuillmoreAudioProcessor check(nullptr);
    moveAwayFromDefaults(check, true);
    ProcessorState::restore(check, otherState);
    EXPECT_EQ(countDifferences(storedItems(check), items), static_cast<int>(items.size()) - 2);
}

TEST_F(StateBlob, EmptyJunkAndRandomBlobsChangeNothing)
{
    expectUnchangedAfterLoading(nullptr, 0, "nothing");
    expectUnchangedAfterLoading(otherState.getData(), 0, "zero bytes");
    expectUnchangedAfterLoading(juce::MemoryBlock("not a state", 11), "text");

    // The other common way of keeping a plug-in state: XML in the framework's binary wrapping.
    juce::MemoryBlock xmlState;
    juce::AudioProcessor::copyXmlToBinary(*ProcessorState::treeOf(otherState).createXml(), xmlState);
    expectUnchangedAfterLoading(xmlState, "XML");

    juce::Random random(20240611);
    for (int i = 0; i < 500; ++i)
    {
        juce::MemoryBlock blob(static_cast<size_t>(1 + random.nextInt(4096)));
        random.fillBitsRandomly(blob.getData(), blob.getSize());
        expectUnchangedAfterLoading(blob, "random blob " + juce::String(i));
    }
}

TEST_F(StateBlob, EveryTruncationChangesNothing)
{
    for (size_t size = 1; size < otherState.getSize(); ++size)
        expectUnchangedAfterLoading(otherState.getData(), size, juce::String(size) + " bytes");
}

TEST_F(StateBlob, TreesOfAnotherTypeAndHostileValuesChangeNothing)
{
    auto tree = ProcessorState::treeOf(otherState);
    juce::ValueTree otherType("ParametersX");
    otherType.copyPropertiesAndChildrenFrom(tree, nullptr);
    expectUnchangedAfterLoading(ProcessorState::bytesOf(otherType), "another type");

    for (double hostile : { std::nan(""), HUGE_VAL, -HUGE_VAL })
    {
        auto withHostileValue = tree.createCopy();
        withHostileValue.getChild(7).setProperty("value", hostile, nullptr);
        expectUnchangedAfterLoading(ProcessorState::bytesOf(withHostileValue), "value " + juce::String(hostile));
    }
    auto withHostileText = tree.createCopy();
    withHostileText.getChild(3).setProperty("value", "nan", nullptr);
    expectUnchangedAfterLoading(ProcessorState::bytesOf(withHostileText), "value text nan");

    expectUnchangedAfterLoading(CraftedValueTreeBytes::nest(1000000), "a million nested trees");
    expectUnchangedAfterLoading(CraftedValueTreeBytes().treeHead("Parameters", 0).count(0x7fffffff).block(),
                                "two billion children declared");
}

TEST_F(StateBlob, AFlippedBitChangesAtMostOneItemAndKeepsEveryParameterInRange)
{
    // Every bit of the root with its thirteen properties and the first parameters, then one bit of
    // every further byte, a different one each time.
    std::vector<size_t> bits;
    for (size_t byte = 0; byte < before.getSize(); ++byte)
        for (size_t bit = 0; bit < 8; ++bit)
            if (byte < 600 || bit == byte % 8)
                bits.push_back(byte * 8 + bit);

    const auto items = storedItems(processor);
    for (const size_t bit : bits)
    {
        auto flipped = before;
        static_cast<juce::uint8*>(flipped.getData())[bit / 8] ^= static_cast<juce::uint8>(1u << (bit % 8));
        ProcessorState::restore(processor, flipped);

        const int differences = countDifferences(storedItems(processor), items);
        EXPECT_LE(differences, 1) << "bit " << bit;
        for (auto* parameter : processor.getParameters())
        {
            const float value = parameter->getValue();
            EXPECT_TRUE(value >= 0.0f && value <= 1.0f) << "bit " << bit << ": " << parameter->getName(40);
        }

        ProcessorState::restore(processor, before);
        ASSERT_EQ(ProcessorState::save(processor), before);
    }
}
