#include "plugin/ReadPluginState.h"

#include "plugin/UntrustedValueTree.h"

#include <cmath>

namespace Quillmore
{
juce::ValueTree readPluginState(const void* data, size_t size)
{
    static const juce::Identifier stateType("Parameters");
    static const juce::Identifier idKey("id");
    static const juce::Identifier valueKey("value");

    auto tree = readUntrustedValueTree(data, size);
    if (! tree.hasType(stateType))
        return {};

    // The framework would hand a NaN on to the parameter and from there into the patch.
    for (const auto& child : tree)
        if (child.hasProperty(idKey) && child.hasProperty(valueKey) && ! std::isfinite(static_cast<double>(child[valueKey])))
            return {};
    return tree;
}
} // namespace Quillmore
