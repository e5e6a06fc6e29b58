#include "plugin/StateProperties.h"

#include "plugin/UntrustedNumbers.h"

#include <cmath>
#include <limits>

namespace Quillmore
{
namespace
{
const juce::Identifier currentPresetNameKey("currentPresetName");
const juce::Identifier presetDirtyKey("presetDirty");
const juce::Identifier activePanelKey("activePanel");
const juce::Identifier popupHasStateKey("popupHasState");
const juce::Identifier popupLastTabKey("popupLastTab");
const juce::Identifier popupFactoryScrollYKey("popupFactoryScrollY");
const juce::Identifier popupUserScrollYKey("popupUserScrollY");
const juce::Identifier popupSelFactoryResKey("popupSelFactoryRes");
const juce::Identifier popupSelUserIndexKey("popupSelUserIndex");
const juce::Identifier factoryOpenHeadsKey("factoryOpenHeads");
const juce::Identifier factoryOpenSpacesKey("factoryOpenSpaces");
const juce::Identifier factoryOpenQuillmoresKey("factoryOpenQuillmores");
const juce::Identifier factoryOpenMiscFXKey("factoryOpenMiscFX");

bool boolProperty(const juce::ValueTree& root, const juce::Identifier& key, bool fallback)
{
    if (!root.hasProperty(key))
        return fallback;
    // A text as the framework reads one ("true", or a number other than 0), through a reader that is
    // defined for any text.
    const auto& value = root[key];
    if (value.isString())
        return value.toString().trim().equalsIgnoreCase("true") || untrustedNumberOf(value) != 0.0;
    return static_cast<bool>(value);
}

// Through a double, so that a stored value outside the int range (or no number at all) cannot make
// an out-of-range conversion.
int intProperty(const juce::ValueTree& root, const juce::Identifier& key, int fallback, int lowest,
                int highest = std::numeric_limits<int>::max())
{
    if (! root.hasProperty(key))
        return fallback;
    const auto number = untrustedNumberOf(root[key]);
    if (! std::isfinite(number))
        return fallback;
    return static_cast<int>(juce::jlimit(static_cast<double>(lowest), static_cast<double>(highest), std::trunc(number)));
}

juce::String stringProperty(const juce::ValueTree& root, const juce::Identifier& key, const juce::String& fallback)
{
    return root.hasProperty(key) ? root[key].toString() : fallback;
}
} // namespace

void writeStateProperties(juce::ValueTree& root, const StateProperties& properties)
{
    const auto& fields = properties.fields;
    root.setProperty(currentPresetNameKey, fields.currentPresetName, nullptr);
    root.setProperty(presetDirtyKey, properties.presetDirty, nullptr);
    root.setProperty(activePanelKey, properties.activePanel, nullptr);
    root.setProperty(popupHasStateKey, fields.popupHasState, nullptr);
    root.setProperty(popupLastTabKey, fields.popupLastTab, nullptr);
    root.setProperty(popupFactoryScrollYKey, fields.popupFactoryScrollY, nullptr);
    root.setProperty(popupUserScrollYKey, fields.popupUserScrollY, nullptr);
    root.setProperty(popupSelFactoryResKey, fields.popupSelFactoryRes, nullptr);
    root.setProperty(popupSelUserIndexKey, fields.popupSelUserIndex, nullptr);
    root.setProperty(factoryOpenHeadsKey, fields.factoryOpenHeads, nullptr);
    root.setProperty(factoryOpenSpacesKey, fields.factoryOpenSpaces, nullptr);
    root.setProperty(factoryOpenQuillmoresKey, fields.factoryOpenQuillmores, nullptr);
    root.setProperty(factoryOpenMiscFXKey, fields.factoryOpenMiscFX, nullptr);
}

void readStateProperties(const juce::ValueTree& root, StateProperties& properties)
{
    auto& fields = properties.fields;
    fields.currentPresetName = stringProperty(root, currentPresetNameKey, "Init");
    fields.showsCurrentUserPreset = false;
    properties.presetDirty = boolProperty(root, presetDirtyKey, false);
    properties.activePanel = intProperty(root, activePanelKey, 0, 0, 1);
    fields.popupHasState = boolProperty(root, popupHasStateKey, false);
    fields.popupLastTab = intProperty(root, popupLastTabKey, 0, 0, 1);
    fields.popupFactoryScrollY = intProperty(root, popupFactoryScrollYKey, 0, 0);
    fields.popupUserScrollY = intProperty(root, popupUserScrollYKey, 0, 0);
    fields.popupSelFactoryRes = stringProperty(root, popupSelFactoryResKey, {});
    fields.popupSelUserIndex = intProperty(root, popupSelUserIndexKey, -1, -1);

    if (fields.popupHasState)
    {
        fields.factoryOpenHeads = boolProperty(root, factoryOpenHeadsKey, false);
        fields.factoryOpenSpaces = boolProperty(root, factoryOpenSpacesKey, false);
        fields.factoryOpenQuillmores = boolProperty(root, factoryOpenQuillmoresKey, false);
        fields.factoryOpenMiscFX = boolProperty(root, factoryOpenMiscFXKey, false);
    }
}
} // namespace Quillmore
