#pragma once

#include "patch/core/GeneratedPatcher.h"

#include <array>

namespace PRT::test
{

// A top level that owns one module of the generated patch and runs it on its own stereo ports,
// started the way the generated top level starts its modules: set-up, data refs, load clocks.
template <typename Module>
class ModuleTestRoot final : public GeneratedPatcher
{
public:
    ModuleTestRoot() : GeneratedPatcher({"ModuleTestRoot", 2, 2}, 0) {}

    void initialize() override
    {
        GeneratedPatcher::initialize();
        module->setupObjects();
        allocateDataRefs();
        scheduleLoadClocks();
    }

    Module* module = nullptr;

    // Which of the root's two inputs feeds each of the module's input ports (-1: none, the port
    // reads zeros): by default port 0 gets input 0 and port 1 input 1; a gate keyed on the right
    // input with the left one on both of its audio ports, say, is {0, 0, 1}.
    std::array<int, maxSignalPorts> inputRoute{0, 1, -1, -1, -1, -1, -1, -1};

private:
    void createChildren() override { module = createChild<Module>(); }

    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override
    {
        const SampleValue* routed[maxSignalPorts];
        for (size_t port = 0; port < inputRoute.size(); ++port)
            routed[port] = inputRoute[port] >= 0 && inputRoute[port] < 2 ? inputs[inputRoute[port]] : nullptr;
        module->process(routed, maxSignalPorts, outputs, 2, n);
    }
};

} // namespace PRT::test
