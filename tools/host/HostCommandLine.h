#pragma once

#include "tools/host/TestSignal.h"

#include <juce_core/juce_core.h>

#include <optional>
#include <ostream>
#include <stdexcept>
#include <utility>
#include <vector>

namespace Quillmore::Host
{
// What one run of the command-line host does, in this order: load the plug-in, load a state, load a
// preset, set parameters, print its identity, parameters and presets, render, snapshot the editor,
// save the state.
struct HostOptions
{
    juce::File plugin;
    bool showInfo = false;
    bool listParameters = false;
    bool listPresets = false;
    std::optional<juce::String> preset;                                    // a preset's name
    std::vector<std::pair<juce::String, juce::String>> textSettings;       // ID -> text
    std::vector<std::pair<juce::String, float>> normalisedSettings;       // ID -> 0 ... 1
    std::optional<juce::File> loadState, saveState;

    std::optional<juce::File> input;   // WAV input; a generated signal otherwise
    SignalSettings signal;
    double preRollSeconds = 7.0;       // silence run through the plug-in before the input, not written
    bool compensateLatency = true;     // output sample n lines up with input sample n
    std::optional<double> tailSeconds; // automatic when not given: until silent, at most the plug-in's tail
    std::optional<double> sampleRate;  // the input file's rate, or 48 kHz, when not given
    int blockSize = 512;
    std::optional<std::pair<int, int>> varyingBlocks; // smallest, largest
    juce::uint32 seed = 1;
    std::optional<juce::File> output;
    std::optional<juce::File> snapshot;
};

class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Throws UsageError for unknown or malformed arguments. "--help" yields no options.
std::optional<HostOptions> parseHostOptions(const juce::StringArray& arguments);

const char* hostUsage();

// Carries out the options, reporting on out; throws HostError on failure. Call on the message thread
// of a HostEnvironment.
void runHost(const HostOptions& options, std::ostream& out);
} // namespace Quillmore::Host
