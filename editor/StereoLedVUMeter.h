#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

// The stereo output meter: two rows of fifteen LED segments, blending from the low to the high colour
// along the row, and a clip light at the end of each row, on a grid of 65 x 13 units. The lowest
// segment is lit at every level.
class StereoLedVUMeter : public juce::Component
{
public:
    static constexpr int segments = 15;
    static constexpr juce::uint32 unlitColour = 0xff05080a;
    static constexpr juce::uint32 fallbackBackground = 0xff141928;
    static constexpr juce::uint32 fallbackLow = 0xff1500dc;
    static constexpr juce::uint32 fallbackHigh = 0xffea00a1;
    static constexpr juce::uint32 fallbackClip = 0xfff02929;

    StereoLedVUMeter();

    // Background, lowest segment, highest segment, lit clip light. 0 for none.
    void setColourIds(int background, int low, int high, int clip);
    // Levels 0..1; anything else is brought into that range (not a number: 0). Each repaints only when
    // what the meter shows changes (the lit segments, the clip lights).
    void setLevels(float left, float right);
    void setClipLights(bool left, bool right);
    bool isClipLit(int channel) const { return channel == 0 ? clipLitL : clipLitR; }

    // The index of the highest lit segment for a level, 0..14.
    static int litIndex(float level);
    // The colour of segment i when lit.
    juce::Colour segmentColour(int index) const;

    void paint(juce::Graphics& g) override;

private:
    std::array<int, 4> colourIds{};
    float levelL = 0.0f, levelR = 0.0f;
    bool clipLitL = false, clipLitR = false;

    JUCE_DECLARE_NON_COPYABLE(StereoLedVUMeter)
};
