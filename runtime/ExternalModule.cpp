#include "runtime/ExternalModule.h"

namespace PRT
{
namespace
{
// The fall-back for an entry point the external does not offer: one instance per signature, each
// doing nothing and returning a zero value (0, false, null) of its result type.
template <typename EntryPoint>
struct DoNothing;

template <typename Result, typename... Arguments>
struct DoNothing<Result (*)(Arguments...)>
{
    static Result call(Arguments...) { return Result(); }
};
} // namespace

ExternalModule::ExternalModule(const char* moduleName, const char* moduleFolder)
    : name(moduleName), folder(moduleFolder)
{
    String path(folder);
    path.append("/");
    path.append(name.c_str());
    loaded = library.open(path.c_str());

    bind(createExternal, "createExternal");
    bind(deleteExternal, "deleteExternal");
    bind(initialize, "initialize");
    bind(getNumMidiInputPorts, "getNumMidiInputPorts");
    bind(getNumMidiOutputPorts, "getNumMidiOutputPorts");
    bind(getNumParameters, "getNumParameters");
    bind(getParameterName, "getParameterName");
    bind(getParameterId, "getParameterId");
    bind(getParameterInfo, "getParameterInfo");
    bind(getParameterValue, "getParameterValue");
    bind(setParameterValue, "setParameterValue");
    bind(convertToNormalizedParameterValue, "convertToNormalizedParameterValue");
    bind(convertFromNormalizedParameterValue, "convertFromNormalizedParameterValue");
    bind(constrainParameterValue, "constrainParameterValue");
    bind(prepareToProcess, "prepareToProcess");
    bind(process, "process");
    bind(getNumInputChannels, "getNumInputChannels");
    bind(getNumOutputChannels, "getNumOutputChannels");
    bind(processMidiEvent, "processMidiEvent");
    bind(processClockEvent, "processClockEvent");
}

template <typename EntryPoint>
void ExternalModule::bind(EntryPoint& entryPoint, const char* symbol)
{
    void* found = library.findSymbol(symbol);
    entryPoint = found != nullptr ? reinterpret_cast<EntryPoint>(found) : &DoNothing<EntryPoint>::call;
}

} // namespace PRT
