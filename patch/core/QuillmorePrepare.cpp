#include "patch/core/Quillmore.h"

namespace PRT
{

// The family's prepare has grown the block signals, stored the rate and size and set the monitors
// up; the modules are prepared after this, in member order.
void Quillmore::prepareSignalObjects(bool changed)
{
    if (signalObjectsSetUp && !changed)
        return;
    signalObjectsSetUp = true;
    // A new rate or block size empties spring model A: its tail does not survive the change.
    gen01.setUpDelayLines(getEngine());
    prepareMusicalTime();
}

} // namespace PRT
