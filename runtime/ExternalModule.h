#pragma once

#include "runtime/ExternalEntryPoints.h"
#include "runtime/SharedLibrary.h"
#include "runtime/String.h"

namespace PRT
{

// The entry points of one external, shared by every loader made for its name. The library is
// folder + "/" + name; every entry point that the library does not export, or all of them when it
// cannot be loaded, is bound to an operation that does nothing and returns 0, false or null, so a
// module always works as an object.
class ExternalModule
{
public:
    ExternalModule(const char* name, const char* folder);

    ExternalModule(const ExternalModule&) = delete;
    ExternalModule& operator=(const ExternalModule&) = delete;

    const String& getName() const { return name; }
    const String& getFolder() const { return folder; }
    bool isLoaded() const { return loaded; }

    ExternalEntryPoint::CreateExternal createExternal;
    ExternalEntryPoint::DeleteExternal deleteExternal;
    ExternalEntryPoint::Initialize initialize;
    ExternalEntryPoint::Count getNumMidiInputPorts;
    ExternalEntryPoint::Count getNumMidiOutputPorts;
    ExternalEntryPoint::GetNumParameters getNumParameters;
    ExternalEntryPoint::GetParameterText getParameterName;
    ExternalEntryPoint::GetParameterText getParameterId;
    ExternalEntryPoint::GetParameterInfo getParameterInfo;
    ExternalEntryPoint::GetParameterValue getParameterValue;
    ExternalEntryPoint::SetParameterValue setParameterValue;
    ExternalEntryPoint::MapParameterValue convertToNormalizedParameterValue;
    ExternalEntryPoint::MapParameterValue convertFromNormalizedParameterValue;
    ExternalEntryPoint::MapParameterValue constrainParameterValue;
    ExternalEntryPoint::PrepareToProcess prepareToProcess;
    ExternalEntryPoint::Process process;
    ExternalEntryPoint::Count getNumInputChannels;
    ExternalEntryPoint::Count getNumOutputChannels;
    ExternalEntryPoint::ProcessMidiEvent processMidiEvent;
    ExternalEntryPoint::ProcessClockEvent processClockEvent;

private:
    template <typename EntryPoint>
    void bind(EntryPoint& entryPoint, const char* symbol);

    String name;
    String folder;
    SharedLibrary library; // resolves the entry points by their symbol names
    bool loaded = false;
};

} // namespace PRT
