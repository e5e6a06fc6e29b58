#pragma once

#include "patch/core/ClockIds.h"
#include "patch/core/DataViewSlot.h"
#include "patch/core/LoadTimeObjects.h"
#include "patch/core/NumberBox.h"
#include "patch/core/Quillmore.h"

namespace PRT
{

// A random dropout control generator. "FreqDropoutsL" and "FreqDropoutsR" run this same code and
// differ in their object paths.
class DropoutGenerator : public GeneratedPatcher
{
public:
    DropoutGenerator(const char* name, HashedText amountPath, HashedText loadPathA, HashedText loadPathB);

    // The dropout amount, from Degrade.
    void setAmount(float degrade) { number_obj_102.setNumberValue(degrade); }

    // Its oscillator reads the top level's cosine table: 16384 samples, asked for and allocated here.
    void allocateDataRefs() override;

    NumberBox number_obj_102; // amount
    LoadBang loadObjectB;     // clock 0x01be208a
    LoadBang loadObjectA;     // clock 0x35360389
    TopLevelDataView<Float64Buffer> cosineTable{*this, Quillmore::cosineTableIndex};

    float amount = 0.0f;

protected:
    void processBlock(const SampleValue* const*, SampleValue* const*, Index) override {}
};

// "Dropouts": random high-frequency dropouts (Degrade) and the high roll-off (HighRolloff).
class Quillmore::PRTSubpatcher_50 : public GeneratedPatcher
{
public:
    class PRTSubpatcher_34; // "Dropouts/FreqDropoutsL"
    class PRTSubpatcher_35; // "Dropouts/FreqDropoutsR"

    PRTSubpatcher_50();

    // HighRolloff 20..18000 Hz: the cut-off of the roll-off filters.
    virtual void setRolloffInput(float hz) { rolloffCutoff = hz; }

    void setupObjects() override;

    DropoutGenerator* freqDropoutsL = nullptr;
    DropoutGenerator* freqDropoutsR = nullptr;

    NumberBox number_obj_28{*this, HashedText("Dropouts/number_obj-28")}; // Degrade
    LoadBang loadbang{*this, HashedText("Dropouts/loadbang_obj-1")};

    float rolloffCutoff = 0.0f;

protected:
    void createChildren() override;
    // Stand-in until the dropouts are built: the pair passes untouched.
    void processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n) override;
};

class Quillmore::PRTSubpatcher_50::PRTSubpatcher_34 : public DropoutGenerator
{
public:
    PRTSubpatcher_34()
        : DropoutGenerator("FreqDropoutsL", HashedText("Dropouts/FreqDropoutsL/number_obj-102"),
                           HashedText("Dropouts/FreqDropoutsL/loadmess_obj-1"),
                           HashedText("Dropouts/FreqDropoutsL/loadmess_obj-2"))
    {
    }
};

class Quillmore::PRTSubpatcher_50::PRTSubpatcher_35 : public DropoutGenerator
{
public:
    PRTSubpatcher_35()
        : DropoutGenerator("FreqDropoutsR", HashedText("Dropouts/FreqDropoutsR/number_obj-102"),
                           HashedText("Dropouts/FreqDropoutsR/loadmess_obj-1"),
                           HashedText("Dropouts/FreqDropoutsR/loadmess_obj-2"))
    {
    }
};

} // namespace PRT
