#include "editor/ComponentProperty.h"

#include <cmath>

namespace Quillmore
{
std::optional<double> finiteNumberProperty(const juce::NamedValueSet& properties, const juce::Identifier& key)
{
    const auto* value = properties.getVarPointer(key);
    if (value == nullptr || !(value->isInt() || value->isInt64() || value->isDouble() || value->isBool()))
        return std::nullopt;
    const auto number = static_cast<double>(*value);
    if (!std::isfinite(number))
        return std::nullopt;
    return number;
}

double numberPropertyOr(const juce::NamedValueSet& properties, const juce::Identifier& key, double fallback)
{
    return finiteNumberProperty(properties, key).value_or(fallback);
}

bool boolPropertyOr(const juce::NamedValueSet& properties, const juce::Identifier& key, bool fallback)
{
    const auto* value = properties.getVarPointer(key);
    return value == nullptr ? fallback : static_cast<bool>(*value);
}
} // namespace Quillmore
