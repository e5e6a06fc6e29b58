#pragma once

#include "patch/core/DataViewSlot.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/MessageTags.h"
#include "patch/core/Quillmore.h"

namespace PRT
{

// "Echo": the echo spectrum analyser, which streams "EchoSpec" band lists to the processor. Its
// tables are the top level's data references "binA", "listSizes" and "logLists".
class Quillmore::PRTSubpatcher_55 : public GeneratedPatcher
{
public:
    PRTSubpatcher_55() : GeneratedPatcher({"Echo", 1, 0}) {}

    void allocateDataRefs() override
    {
        const float sampleRate = getSampleRate();
        binA.requestFrames(8192, 1, sampleRate);
        listSizes.requestFrames(2048, 1, sampleRate);
        logLists.requestFrames(2048, 1, sampleRate);
        GeneratedPatcher::allocateDataRefs();
    }

    TopLevelDataView<Float32Buffer> binA{*this, 15};
    TopLevelDataView<Float64Buffer> listSizes{*this, 17};
    TopLevelDataView<Float64Buffer> logLists{*this, 18};
    LoadBang loadbang{*this, HashedText("Echo/loadbang_obj-1")};

protected:
    const char* resolveOwnTag(MessageTag tag) override
    {
        return tag == tags::echoSpec.hash ? tags::echoSpec.text : nullptr;
    }
    // Stand-in until the analyser is built: it sends no spectrum.
    void processBlock(const SampleValue* const*, SampleValue* const*, Index) override {}
};

} // namespace PRT
