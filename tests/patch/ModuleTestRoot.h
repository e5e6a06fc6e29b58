#pragma once

#include "patch/core/GeneratedPatcher.h"

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

private:
    void createChildren() override { module = createChild<Module>(); }

    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override
    {
        module->process(inputs, 2, outputs, 2, n);
    }
};

} // namespace PRT::test
