#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

// The warble history: two lines of the recent left and right warble values, smoothed, one value per
// pixel column, the newest at the left edge, scrolling right by one pixel per new value. 0.5 is the
// middle (no warble). The left line is drawn in a fixed colour on top, the right one in the colour of
// its colour ID (or its fixed colour when that is transparent).
class HistoryGraph : public juce::Component
{
public:
    static constexpr float restingValue = 0.5f;

    HistoryGraph(juce::Colour rightLineColour, juce::Colour leftLineColour, float smoothing = 0.65f);

    void setLineColourId(int id);

    // One step: both values are smoothed and put in front of their histories, the oldest dropping out
    // once a history is as long as the graph is wide. Values are 0..1; others are brought into that
    // range, and a value that is not a number holds the line where it is. Two lines that are flat and
    // stay so are not repainted.
    void pushValues(float left, float right);
    // Both lines flat at the middle, as the Heads section leaves them when it turns off.
    void reset();

    const std::vector<float>& getHistoryL() const { return historyL; }
    const std::vector<float>& getHistoryR() const { return historyR; }

    void resized() override;
    void paint(juce::Graphics& g) override;

private:
    void fitLength();

    int lineColourId = 0;
    juce::Colour rightLineColour;
    juce::Colour leftLineColour;
    std::vector<float> historyL, historyR;
    int length = 0;
    float smoothing;
    float fillValue = restingValue;
    float smoothedL = restingValue, smoothedR = restingValue;
    // How many of the newest values of both lines equal the newest (at most the length).
    int steadyRun = 0;

    JUCE_DECLARE_NON_COPYABLE(HistoryGraph)
};
