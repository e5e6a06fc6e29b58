#include "patch/core/Quillmore.h"
#include "runtime/PatcherState.h"

namespace PRT
{

void Quillmore::getPreset(PatcherStateInterface& state)
{
    state.add("__presetid", "prt");
    for (ParameterIndex index = 0; index < numQuillmoreParameters; ++index)
        state.getSubState(quillmoreParameters[index].id).add("value", values[index]);
    // The modules' sub-states under "__sps", in member order.
    GeneratedPatcher::getPreset(state);
}

void Quillmore::setPreset(MillisecondTime time, PatcherStateInterface& state)
{
    updateTime(time);
    // Only the parameters: the modules' sub-states are never read back. A parameter entry that is
    // missing, empty or without a float "value" leaves the parameter alone.
    for (ParameterIndex index = 0; index < numQuillmoreParameters; ++index)
    {
        const PatcherStateInterface* entry = state.findSubState(quillmoreParameters[index].id);
        if (entry == nullptr || entry->isEmpty())
            continue;
        if (const std::optional<float> value = entry->findFloat("value"))
            applyParameterValue(index, *value);
    }
}

MessageInfo Quillmore::getMessageInfo(Index index)
{
    // The one message port: the echo analyser's "EchoSpec" lists.
    if (index == 0)
        return {"EchoSpec", 1};
    return {"", 2};
}

} // namespace PRT
