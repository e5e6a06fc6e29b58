#pragma once

#include "plugin/QuillmoreAudioProcessor.h"

#include <stdexcept>

// A processor's state the way a host keeps it, and its parameter values.
namespace ProcessorState
{
inline juce::MemoryBlock save(QuillmoreAudioProcessor& processor)
{
    juce::MemoryBlock state;
    processor.getStateInformation(state);
    return state;
}

inline void restore(QuillmoreAudioProcessor& processor, const juce::MemoryBlock& state)
{
    processor.setStateInformation(state.getData(), static_cast<int>(state.getSize()));
}

inline juce::ValueTree treeOf(const juce::MemoryBlock& state)
{
    return juce::ValueTree::readFromData(state.getData(), state.getSize());
}

inline juce::MemoryBlock bytesOf(const juce::ValueTree& tree)
{
    juce::MemoryOutputStream out;
    tree.writeToStream(out);
    return out.getMemoryBlock();
}

// A host parameter's value in its own range.
inline float value(QuillmoreAudioProcessor& processor, const juce::String& id)
{
    auto* raw = processor.apvts.getRawParameterValue(id);
    if (raw == nullptr)
        throw std::out_of_range("no parameter " + id.toStdString());
    return raw->load();
}
} // namespace ProcessorState
