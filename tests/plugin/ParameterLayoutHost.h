#pragma once

#include "plugin/ParameterLayout.h"

#include <juce_audio_processors/juce_audio_processors.h>

// A bare processor that owns the parameter state "Parameters" built from the real layout, the way
// the plug-in's processor does, so tests see the parameters exactly as a host does.
class ParameterLayoutHost : public juce::AudioProcessor
{
public:
    ParameterLayoutHost() : parameters(*this, nullptr, "Parameters", Quillmore::createParameterLayout()) {}

    juce::RangedAudioParameter& parameter(const juce::String& id)
    {
        auto* found = parameters.getParameter(id);
        if (found == nullptr)
            throw std::out_of_range("no parameter " + id.toStdString());
        return *found;
    }

    juce::AudioProcessorValueTreeState& state() { return parameters; }

    // The parameter's value in its own range.
    float value(const juce::String& id)
    {
        auto& p = parameter(id);
        return p.convertFrom0to1(p.getValue());
    }

    void setValue(const juce::String& id, float newValue)
    {
        auto& p = parameter(id);
        p.setValueNotifyingHost(p.convertTo0to1(newValue));
    }

    const juce::String getName() const override { return "ParameterLayoutHost"; }
    void prepareToPlay(double, int) override {}
    void releaseResources() override {}
    void processBlock(juce::AudioBuffer<float>&, juce::MidiBuffer&) override {}
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }
    bool hasEditor() const override { return false; }
    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram(int) override {}
    const juce::String getProgramName(int) override { return {}; }
    void changeProgramName(int, const juce::String&) override {}
    void getStateInformation(juce::MemoryBlock&) override {}
    void setStateInformation(const void*, int) override {}

private:
    juce::ScopedJuceInitialiser_GUI juce; // the parameter state runs a timer on the message thread
    juce::AudioProcessorValueTreeState parameters;
};
