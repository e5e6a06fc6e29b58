#include "plugin/NonFiniteParameterValues.h"

#include <cmath>

namespace Quillmore
{
bool hasNonFiniteParameterValue(const juce::ValueTree& tree)
{
    static const juce::Identifier idKey("id");
    static const juce::Identifier valueKey("value");

    for (const auto& child : tree)
        if (child.hasProperty(idKey) && child.hasProperty(valueKey) && !std::isfinite(static_cast<double>(child[valueKey])))
            return true;
    return false;
}
} // namespace Quillmore
