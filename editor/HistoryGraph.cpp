#include "editor/HistoryGraph.h"

#include "editor/ColourLookup.h"

#include <algorithm>
#include <cmath>

namespace
{
// One smoothing step towards a value in 0..1; a value that is not a number leaves the state as it is.
void smoothTowards(float& state, float value, float smoothing)
{
    if (std::isnan(value))
        return;
    state += (std::clamp(value, 0.0f, 1.0f) - state) * smoothing;
}
} // namespace

HistoryGraph::HistoryGraph(juce::Colour rightColour, juce::Colour leftColour, float smoothingWeight)
    : rightLineColour(rightColour), leftLineColour(leftColour),
      smoothing(std::isfinite(smoothingWeight) ? std::clamp(smoothingWeight, 0.0f, 1.0f) : 0.65f)
{
    setInterceptsMouseClicks(false, false);
    setOpaque(false);
}

void HistoryGraph::setLineColourId(int id)
{
    lineColourId = id;
    repaint();
}

void HistoryGraph::fitLength()
{
    const int wanted = std::max(1, getWidth());
    if (wanted == length)
        return;
    length = wanted;
    historyL.resize(static_cast<size_t>(length), fillValue);
    historyR.resize(static_cast<size_t>(length), fillValue);
    steadyRun = 0;
    while (steadyRun < length && historyL[static_cast<size_t>(steadyRun)] == historyL.front()
           && historyR[static_cast<size_t>(steadyRun)] == historyR.front())
        ++steadyRun;
}

void HistoryGraph::pushValues(float left, float right)
{
    smoothTowards(smoothedL, left, smoothing);
    smoothTowards(smoothedR, right, smoothing);
    fitLength();
    const bool sameAsNewest = historyL.front() == smoothedL && historyR.front() == smoothedR;
    // Two flat lines that stay flat scroll without a visible change.
    const bool unchanged = sameAsNewest && steadyRun >= length;
    steadyRun = sameAsNewest ? std::min(steadyRun + 1, length) : 1;
    historyL.insert(historyL.begin(), smoothedL);
    historyR.insert(historyR.begin(), smoothedR);
    if (historyL.size() > static_cast<size_t>(length))
        historyL.pop_back();
    if (historyR.size() > static_cast<size_t>(length))
        historyR.pop_back();
    if (!unchanged)
        repaint();
}

void HistoryGraph::reset()
{
    smoothedL = smoothedR = restingValue;
    length = std::max(1, getWidth());
    historyL.assign(static_cast<size_t>(length), restingValue);
    historyR.assign(static_cast<size_t>(length), restingValue);
    steadyRun = length;
    repaint();
}

void HistoryGraph::resized()
{
    fitLength();
}

void HistoryGraph::paint(juce::Graphics& g)
{
    if (getWidth() <= 1 || getHeight() <= 1)
        return;
    const auto h = static_cast<float>(getHeight());
    const auto lineOf = [this, h](const std::vector<float>& values) {
        juce::Path path;
        const auto count = std::min(static_cast<size_t>(getWidth()), values.size());
        for (size_t i = 0; i < count; ++i)
        {
            const juce::Point<float> point(static_cast<float>(i) + 0.5f, h - std::clamp(values[i], 0.0f, 1.0f) * h);
            if (i == 0)
                path.startNewSubPath(point);
            else
                path.lineTo(point);
        }
        return path;
    };
    const juce::PathStrokeType stroke(1.5f);
    g.setColour(Quillmore::findColourOr(*this, lineColourId, rightLineColour));
    g.strokePath(lineOf(historyR), stroke);
    g.setColour(leftLineColour);
    g.strokePath(lineOf(historyL), stroke);
}
