#pragma once

#include "patch/core/CosineOscillator.h"
#include "patch/core/GeneratedPatcher.h"
#include "runtime/DataRef.h"
#include "runtime/EngineInterface.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace PRT::test
{

// A top level that owns one module of the generated patch and runs it on its own stereo ports,
// started the way the generated top level starts its modules: set-up, data refs, load clocks. Like
// the top level it holds the shared cosine table (data reference 14) that the modules' oscillators
// read. A module with extra signal outputs writes them into extraOutputs.
template <typename Module>
class ModuleTestRoot final : public GeneratedPatcher
{
public:
    static constexpr Index maxExtraPorts = 3;

    ModuleTestRoot() : GeneratedPatcher({"ModuleTestRoot", 2, 2}, 0) {}

    void initialize() override
    {
        cosineTable.setIndex(cosineTableIndex);
        for (DataRefIndex index = cosineTableIndex + 1; index <= lastTableIndex; ++index)
            getDataRef(index)->setIndex(index);
        cosineTable.setRequestedSizeInBytes(dsp::kCosineTableSize * sizeof(double));
        cosineTable.allocateIfNeeded();
        auto* table = static_cast<double*>(cosineTable.getData());
        for (size_t i = 0; i < dsp::kCosineTableSize; ++i)
            table[i] = static_cast<float>(std::cos(6.283185307179586 * static_cast<double>(i) / dsp::kCosineTableSize));
        GeneratedPatcher::initialize();
        module->setupObjects();
        allocateDataRefs();
        scheduleLoadClocks();
    }

    DataRef* getDataRef(DataRefIndex index) override
    {
        if (index == cosineTableIndex)
            return &cosineTable;
        if (index > cosineTableIndex && index <= lastTableIndex)
            return &analyserTables[static_cast<size_t>(index - cosineTableIndex - 1)];
        return GeneratedPatcher::getDataRef(index);
    }

    void allocateDataRefs() override
    {
        GeneratedPatcher::allocateDataRefs();
        for (DataRefIndex index = cosineTableIndex + 1; index <= lastTableIndex; ++index)
        {
            DataRef& ref = *getDataRef(index);
            if (ref.getRequestedSizeInBytes() == 0)
                continue;
            ref.allocateIfNeeded();
            if (ref.isFreshlyAllocated() && ref.getData() != nullptr)
                std::fill_n(static_cast<char*>(ref.getData()), ref.getSizeInBytes(), char(0));
            if (getEngine() != nullptr)
                getEngine()->sendDataRefUpdated(index);
        }
    }

    static constexpr DataRefIndex cosineTableIndex = 14;
    static constexpr DataRefIndex lastTableIndex = 18;

    Module* module = nullptr;
    SignalBuffer extraOutputs[maxExtraPorts]{SignalBuffer{*this}, SignalBuffer{*this}, SignalBuffer{*this}};

    // Which of the root's two inputs feeds each of the module's input ports (-1: none, the port
    // reads zeros): by default port 0 gets input 0 and port 1 input 1; a gate keyed on the right
    // input with the left one on both of its audio ports, say, is {0, 0, 1}.
    std::array<int, maxSignalPorts> inputRoute{0, 1, -1, -1, -1, -1, -1, -1};

private:
    DataRef cosineTable{"PRTDefaultSinus", true, "buffer~"};
    DataRef analyserTables[lastTableIndex - cosineTableIndex]{{"binA", false, "buffer~"},
                                                              {"PRTDefaultFftWindow", false, "buffer~"},
                                                              {"listSizes", false, "data"},
                                                              {"logLists", false, "data"}};

    void createChildren() override { module = createChild<Module>(); }

    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override
    {
        const SampleValue* routed[maxSignalPorts];
        for (size_t port = 0; port < inputRoute.size(); ++port)
            routed[port] = inputRoute[port] >= 0 && inputRoute[port] < 2 ? inputs[inputRoute[port]] : nullptr;
        const Index extraOut = std::min(module->getNumExtraSignalOutputs(), maxExtraPorts);
        SampleValue* outs[2 + maxExtraPorts] = {outputs[0], outputs[1]};
        for (Index k = 0; k < extraOut; ++k)
            outs[2 + k] = extraOutputs[k].get();
        module->process(routed, maxSignalPorts, outs, 2 + extraOut, n);
    }
};

} // namespace PRT::test
