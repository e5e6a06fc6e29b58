#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// Counts the change gestures that open and close on one host parameter, as a host sees them.
class ParameterGestures : private juce::AudioProcessorParameter::Listener
{
public:
    explicit ParameterGestures(juce::RangedAudioParameter& parameterToWatch) : parameter(parameterToWatch)
    {
        parameter.addListener(this);
    }
    ~ParameterGestures() override { parameter.removeListener(this); }

    int begins = 0;
    int ends = 0;
    int changes = 0;
    bool changedOutsideGesture = false;

private:
    void parameterValueChanged(int, float) override
    {
        ++changes;
        changedOutsideGesture = changedOutsideGesture || begins == ends;
    }
    void parameterGestureChanged(int, bool starting) override { ++(starting ? begins : ends); }

    juce::RangedAudioParameter& parameter;
};
