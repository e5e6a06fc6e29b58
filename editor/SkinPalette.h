#pragma once

#include <juce_core/juce_core.h>

#include <array>

// One skin: the embedded PNG data of its SIDE A and SIDE B background images (null when it has none)
// and its 22 colours by slot, which the editor installs under the look and feel's colour IDs.
struct SkinPalette
{
    static constexpr int slotCount = 22;

    const char* imageAData = nullptr;
    juce::uint32 imageASize = 0;
    const char* imageBData = nullptr;
    juce::uint32 imageBSize = 0;
    std::array<juce::uint32, slotCount> colours{};
};

// Skins 1 to 7; any other number gives the empty palette (no images, every colour transparent black).
SkinPalette makeSkinPalette(int skinNumber);
