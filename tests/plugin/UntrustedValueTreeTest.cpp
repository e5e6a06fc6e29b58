// Reading value trees from bytes that cannot be trusted: everything the framework writes comes back,
// anything cut short, oversized or malformed comes back as an invalid tree.
#include "plugin/UntrustedValueTree.h"
#include "tests/plugin/CraftedValueTreeBytes.h"

#include <gtest/gtest.h>

namespace
{
juce::ValueTree read(const juce::MemoryBlock& bytes)
{
    return Quillmore::readUntrustedValueTree(bytes.getData(), bytes.getSize());
}

juce::MemoryBlock bytesOf(const juce::ValueTree& tree)
{
    return CraftedValueTreeBytes().tree(tree).block();
}

// A tree with every kind of value the framework writes, and children three levels deep.
juce::ValueTree everyKindOfValue()
{
    juce::ValueTree root("Parameters");
    root.setProperty("int", -123456, nullptr);
    root.setProperty("int64", juce::int64(1) << 40, nullptr);
    root.setProperty("yes", true, nullptr);
    root.setProperty("no", false, nullptr);
    root.setProperty("double", 0.1, nullptr);
    root.setProperty("text", juce::String::fromUTF8(u8"Bänder \u266b"), nullptr);
    root.setProperty("empty", juce::String(), nullptr);
    root.setProperty("void", juce::var(), nullptr);
    root.setProperty("undefined", juce::var::undefined(), nullptr);
    juce::Array<juce::var> inner { 1, "two" };
    root.setProperty("array", juce::Array<juce::var> { 3.5, juce::var(inner), juce::var() }, nullptr);
    const char bytes[] = { 0, 1, 2, 3 };
    root.setProperty("binary", juce::MemoryBlock(bytes, sizeof(bytes)), nullptr);

    juce::ValueTree child("PARAM");
    child.setProperty("id", "EchoTime", nullptr);
    child.setProperty("value", 250.0, nullptr);
    juce::ValueTree grandchild("Deeper");
    grandchild.appendChild(juce::ValueTree("Deepest"), nullptr);
    child.appendChild(grandchild, nullptr);
    root.appendChild(child, nullptr);
    root.appendChild(juce::ValueTree("PARAM"), nullptr);
    return root;
}
} // namespace

TEST(UntrustedValueTree, ReadsEverythingTheFrameworkWritesAndIgnoresWhatFollows)
{
    const auto tree = everyKindOfValue();
    auto bytes = bytesOf(tree);
    EXPECT_TRUE(read(bytes).isEquivalentTo(tree));

    bytes.append("trailing", 8);
    EXPECT_TRUE(read(bytes).isEquivalentTo(tree));

    EXPECT_TRUE(read(CraftedValueTreeBytes::nest(Quillmore::maxNestingDepth)).isValid());
}

TEST(UntrustedValueTree, EveryTreeCutShortIsRefused)
{
    const auto bytes = bytesOf(everyKindOfValue());
    for (size_t size = 0; size < bytes.getSize(); ++size)
        EXPECT_FALSE(Quillmore::readUntrustedValueTree(bytes.getData(), size).isValid()) << size << " bytes";
    EXPECT_FALSE(Quillmore::readUntrustedValueTree(nullptr, 100).isValid());
}

TEST(UntrustedValueTree, MalformedAndOversizedDeclarationsAreRefused)
{
    constexpr int huge = 0x7fffffff;
    const char notUtf8[] = { 'a', static_cast<char>(0xc3), static_cast<char>(0x28), 0 };
    const struct
    {
        const char* name;
        juce::MemoryBlock bytes;
    } cases[] = {
        { "more children than bytes", CraftedValueTreeBytes().treeHead("Parameters", 0).count(huge).block() },
        { "more properties than bytes", CraftedValueTreeBytes().treeHead("Parameters", huge).text("a").value(1).block() },
        { "a binary value longer than the data",
          CraftedValueTreeBytes().treeHead("Parameters", 1).text("blob").count(huge).byte(8).raw("abcd", 4).count(0).block() },
        { "an array counting more values than its length",
          CraftedValueTreeBytes().treeHead("Parameters", 1).text("list").count(3).byte(7).count(huge).byte(0).count(0).block() },
        { "an array whose values run past its length",
          CraftedValueTreeBytes().treeHead("Parameters", 1).text("list").count(2).byte(7).count(1).value(5).count(0).block() },
        { "a text value without its terminator",
          CraftedValueTreeBytes().treeHead("Parameters", 1).text("name").count(4).byte(5).raw("abc", 3).count(0).block() },
        { "an int of the wrong length", CraftedValueTreeBytes().treeHead("Parameters", 1).text("n").count(3).byte(1).raw("ab", 2).count(0).block() },
        { "an unknown kind of value", CraftedValueTreeBytes().treeHead("Parameters", 1).text("n").count(2).byte(42).byte(0).count(0).block() },
        { "a negative count", CraftedValueTreeBytes().treeHead("Parameters", 0).byte(0x81).byte(1).block() },
        { "a count of five bytes", CraftedValueTreeBytes().treeHead("Parameters", 0).byte(5).raw("\1\0\0\0\0", 5).block() },
        { "an empty property name", CraftedValueTreeBytes().treeHead("Parameters", 1).text("").value(1).count(0).block() },
        { "a child without a type", CraftedValueTreeBytes().treeHead("Parameters", 0).count(1).text("").count(0).count(0).block() },
        { "a type that is not an identifier", CraftedValueTreeBytes().treeHead("Para meters", 0).count(0).block() },
        { "a property name that is not an identifier",
          CraftedValueTreeBytes().treeHead("Parameters", 1).text("\x01\x02" "activePanel").value(1).count(0).block() },
        { "a text value that is not UTF-8",
          CraftedValueTreeBytes().treeHead("Parameters", 1).text("name").count(5).byte(5).raw(notUtf8, sizeof(notUtf8)).count(0).block() },
        { "nesting one level too deep", CraftedValueTreeBytes::nest(Quillmore::maxNestingDepth + 1) },
        { "nesting deep enough to end the stack", CraftedValueTreeBytes::nest(1000000) },
    };

    for (const auto& [name, bytes] : cases)
        EXPECT_FALSE(read(bytes).isValid()) << name;
}
