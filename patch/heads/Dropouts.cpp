#include "patch/heads/Dropouts.h"

#include "patch/core/SignalBuffer.h"

namespace PRT
{

DropoutGenerator::DropoutGenerator(const char* name, HashedText amountPath, HashedText loadPathA, HashedText loadPathB)
    : GeneratedPatcher({name, 0, 1}), number_obj_102(*this, amountPath), loadObjectB(*this, loadPathA, clocks::loadObjectB),
      loadObjectA(*this, loadPathB, clocks::loadObjectA)
{
    number_obj_102.onValue = [this](float value) { amount = value; };
}

void DropoutGenerator::allocateDataRefs()
{
    cosineTable.requestFrames(16384, 1, getSampleRate());
    cosineTable.allocateNow();
}

Quillmore::PRTSubpatcher_50::PRTSubpatcher_50() : GeneratedPatcher({"Dropouts", 2, 2})
{
    number_obj_28.onValue = [this](float degrade) {
        freqDropoutsL->updateTime(getTime());
        freqDropoutsL->setAmount(degrade);
        freqDropoutsR->updateTime(getTime());
        freqDropoutsR->setAmount(degrade);
    };
}

void Quillmore::PRTSubpatcher_50::createChildren()
{
    freqDropoutsL = createChild<PRTSubpatcher_34>();
    freqDropoutsR = createChild<PRTSubpatcher_35>();
}

void Quillmore::PRTSubpatcher_50::setupObjects()
{
    number_obj_28.setUp(NumberBox::floatFormat);
    freqDropoutsL->number_obj_102.setUp(NumberBox::floatFormat);
    freqDropoutsR->number_obj_102.setUp(NumberBox::floatFormat);
}

void Quillmore::PRTSubpatcher_50::processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n)
{
    copySignal(inputs[0], outputs[0], n);
    copySignal(inputs[1], outputs[1], n);
}

} // namespace PRT
