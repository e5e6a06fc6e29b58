#include "plugin/NonFiniteParameterValues.h"

#include <cmath>
#include <limits>

namespace Quillmore
{
bool hasNonFiniteParameterValue(const juce::ValueTree& tree)
{
    static const juce::Identifier idKey("id");
    static const juce::Identifier valueKey("value");

    for (const auto& child : tree)
    {
        if (!child.hasProperty(idKey) || !child.hasProperty(valueKey))
            continue;
        // The parameter holds a float: a double beyond its range would not convert to one.
        const auto value = static_cast<double>(child[valueKey]);
        if (!std::isfinite(value) || std::abs(value) > std::numeric_limits<float>::max())
            return true;
    }
    return false;
}
} // namespace Quillmore
