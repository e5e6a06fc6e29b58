#include "plugin/PresetDirtyRule.h"

namespace Quillmore
{
bool marksPresetDirty(const juce::String& parameterId)
{
    // Compared in place: this runs on whichever thread moves a parameter, the audio thread included.
    for (const char* neutral : { "TrueBypass", "EchoFiltMeter", "WarbleL", "WarbleR", "hostTempo", "TapeStop" })
        if (parameterId == neutral)
            return false;
    return true;
}
} // namespace Quillmore
