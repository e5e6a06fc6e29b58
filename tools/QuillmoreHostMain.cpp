// quillmore-host: loads a VST3 bundle and lists, sets, renders, snapshots and saves it offline.
#include "tools/host/HostCommandLine.h"
#include "tools/host/HostEnvironment.h"
#include "tools/host/HostError.h"

#include <iostream>

int main(int argc, char* argv[])
{
    using namespace Quillmore::Host;

    juce::StringArray arguments;
    for (int i = 1; i < argc; ++i)
        arguments.add(juce::String::fromUTF8(argv[i]));

    std::optional<HostOptions> options;
    try
    {
        options = parseHostOptions(arguments);
    }
    catch (const UsageError& error)
    {
        std::cerr << "quillmore-host: " << error.what() << "\n" << hostUsage();
        return 2;
    }
    if (!options)
    {
        std::cout << hostUsage();
        return 0;
    }

    HostEnvironment environment;
    try
    {
        runHost(*options, std::cout);
    }
    catch (const HostError& error)
    {
        std::cerr << "quillmore-host: " << error.what() << "\n";
        // What the user gave is refused as a malformed command line is; anything else failed.
        return dynamic_cast<const InputError*>(&error) != nullptr ? 2 : 1;
    }
    return 0;
}
