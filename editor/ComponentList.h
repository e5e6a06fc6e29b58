#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

namespace Quillmore
{
// Components of different types as one list to walk through.
template <typename... Components>
std::array<juce::Component*, sizeof...(Components)> componentList(Components&... components)
{
    return {static_cast<juce::Component*>(&components)...};
}
} // namespace Quillmore
