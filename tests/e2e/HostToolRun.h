#pragma once

#include "tests/e2e/BuiltBundle.h"
#include "tools/host/HostCommandLine.h"

#include <juce_data_structures/juce_data_structures.h>

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

// The command-line host on the built bundle, from its arguments (the bundle's path put first) to
// what it reports.
inline std::string runHostTool(const juce::StringArray& arguments)
{
    juce::StringArray all { builtBundle().getFullPathName() };
    all.addArray(arguments);
    const auto options = Quillmore::Host::parseHostOptions(all);
    EXPECT_TRUE(options.has_value());
    std::ostringstream out;
    Quillmore::Host::runHost(*options, out);
    return out.str();
}

// The command-line host as a user runs it, on the built bundle: its exit status, and what it wrote
// to its standard output and error together.
struct HostToolProcess
{
    int exitStatus = -1;
    std::string output;
};

inline HostToolProcess runHostToolProcess(const juce::StringArray& arguments)
{
    juce::StringArray command { QUILLMORE_HOST_TOOL, builtBundle().getFullPathName() };
    command.addArray(arguments);
    juce::ChildProcess process;
    if (!process.start(command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
    {
        ADD_FAILURE() << "cannot start " << QUILLMORE_HOST_TOOL;
        return {};
    }
    HostToolProcess result;
    result.output = process.readAllProcessOutput().toStdString();
    // The output ends before the process has been reaped, and until then its exit code reads 0.
    EXPECT_TRUE(process.waitForProcessToFinish(60000));
    result.exitStatus = static_cast<int>(process.getExitCode());
    return result;
}

inline std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A state file that the plug-in saved: its parameter tree with the current preset's properties.
inline juce::ValueTree readSavedState(const juce::File& file)
{
    juce::MemoryBlock bytes;
    EXPECT_TRUE(file.loadFileAsData(bytes)) << file.getFullPathName();
    return juce::ValueTree::readFromData(bytes.getData(), bytes.getSize());
}

inline juce::var savedParameterValue(const juce::ValueTree& state, const juce::String& id)
{
    const auto child = state.getChildWithProperty("id", id);
    return child.isValid() ? child.getProperty("value") : juce::var();
}
