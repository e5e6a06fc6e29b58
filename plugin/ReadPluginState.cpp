#include "plugin/ReadPluginState.h"

#include "plugin/NonFiniteParameterValues.h"
#include "plugin/UntrustedNumbers.h"
#include "plugin/UntrustedValueTree.h"

namespace Quillmore
{
juce::ValueTree readPluginState(const void* data, size_t size)
{
    static const juce::Identifier stateType("Parameters");

    auto tree = readUntrustedValueTree(data, size);
    replaceValueTextsWithNumbers(tree);
    if (! tree.hasType(stateType) || hasNonFiniteParameterValue(tree))
        return {};
    return tree;
}
} // namespace Quillmore
