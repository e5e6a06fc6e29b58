#pragma once

#include <juce_data_structures/juce_data_structures.h>

#include <functional>

// Bytes in the framework's binary value-tree form, written piece by piece so that a test can declare
// counts and lengths that the bytes do not hold.
class CraftedValueTreeBytes
{
public:
    CraftedValueTreeBytes& text(const char* value)
    {
        out.writeString(value);
        return *this;
    }

    CraftedValueTreeBytes& count(int value)
    {
        out.writeCompressedInt(value);
        return *this;
    }

    CraftedValueTreeBytes& byte(int value)
    {
        out.writeByte(static_cast<char>(value));
        return *this;
    }

    CraftedValueTreeBytes& raw(const void* data, size_t size)
    {
        out.write(data, size);
        return *this;
    }

    CraftedValueTreeBytes& tree(const juce::ValueTree& tree)
    {
        tree.writeToStream(out);
        return *this;
    }

    // A var as the framework writes it.
    CraftedValueTreeBytes& value(const juce::var& value)
    {
        value.writeToStream(out);
        return *this;
    }

    // The start of a tree: its type and how many properties it declares.
    CraftedValueTreeBytes& treeHead(const char* type, int numProperties)
    {
        return text(type).count(numProperties);
    }

    juce::MemoryBlock block() const { return out.getMemoryBlock(); }

    // A tree nested depth levels deep: each one the only child of the one above.
    static juce::MemoryBlock nest(int depth)
    {
        CraftedValueTreeBytes bytes;
        for (int i = 0; i < depth; ++i)
            bytes.treeHead("Parameters", 0).count(1);
        bytes.treeHead("Parameters", 0).count(0);
        return bytes.block();
    }

private:
    juce::MemoryOutputStream out;
};
