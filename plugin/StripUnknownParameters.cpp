#include "plugin/StripUnknownParameters.h"

#include "plugin/PresetParameterIds.h"

namespace Quillmore
{
void stripUnknownParameters(juce::ValueTree& tree)
{
    static const juce::Identifier idKey("id");

    // Last to first, so that removing an item leaves the indices still to visit valid.
    for (int i = tree.getNumProperties(); --i >= 0;)
    {
        const auto name = tree.getPropertyName(i);
        if (! isPresetParameterId(name.toString().toRawUTF8()))
            tree.removeProperty(name, nullptr);
    }

    for (int i = tree.getNumChildren(); --i >= 0;)
    {
        auto child = tree.getChild(i);
        if (child.hasProperty(idKey))
        {
            if (! isPresetParameterId(child[idKey].toString().toRawUTF8()))
                tree.removeChild(i, nullptr);
        }
        else
        {
            stripUnknownParameters(child);
        }
    }
}
} // namespace Quillmore
