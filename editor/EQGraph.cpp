#include "editor/EQGraph.h"

#include "editor/ColourLookup.h"

#include <algorithm>
#include <cmath>

namespace
{
const double logLowest = std::log(EQGraph::lowestHz);
const double logSpan = std::log(EQGraph::highestHz) - std::log(EQGraph::lowestHz);

// The cubic Bézier of four values at t.
double bezier(double p0, double p1, double p2, double p3, double t)
{
    const double s = 1.0 - t;
    return s * s * s * p0 + 3.0 * s * s * t * p1 + 3.0 * s * t * t * p2 + t * t * t * p3;
}

// A frequency as the parameter gives it to the display: its own units, or at most 1.0001 a normalised
// value, which stands for the legal value nearest to that point of the range.
double frequencyOf(float value, const juce::NormalisableRange<float>& range)
{
    if (value <= 1.0001f)
        return range.snapToLegalValue(range.convertFrom0to1(std::clamp(value, 0.0f, 1.0f)));
    return value;
}

// The value's place in its range, 0..1 (0 for an empty range).
double proportionOf(float value, const juce::NormalisableRange<float>& range)
{
    const double span = static_cast<double>(range.end) - range.start;
    if (!(span > 0.0))
        return 0.0;
    return (std::clamp(static_cast<double>(value), static_cast<double>(range.start), static_cast<double>(range.end)) - range.start) / span;
}

// One of the eleven stops of a shade: start blended towards end by t^k, per channel, alpha included.
juce::Colour shadeStop(juce::Colour start, juce::Colour end, double t, double k)
{
    const auto p = static_cast<float>(std::clamp(std::pow(t, k), 0.0, 1.0));
    const auto mix = [p](float a, float b) { return a + (b - a) * p; };
    return juce::Colour::fromFloatRGBA(mix(start.getFloatRed(), end.getFloatRed()), mix(start.getFloatGreen(), end.getFloatGreen()),
                                       mix(start.getFloatBlue(), end.getFloatBlue()), mix(start.getFloatAlpha(), end.getFloatAlpha()));
}

// A horizontal shade across the plot's middle line from position `from` to position `to` (which may lie
// outside the plot), its blend curve set by `amount`: the stops follow t^k, k = ln(reference) / ln(amount).
juce::ColourGradient shadeGradient(juce::Rectangle<float> plot, double from, double to, juce::Colour start,
                                   juce::Colour end, double reference, double amount)
{
    const double k = std::log(reference) / std::log(std::clamp(amount, 0.001, 0.999));
    juce::ColourGradient gradient;
    gradient.isRadial = false;
    gradient.point1 = {plot.getX() + static_cast<float>(from) * plot.getWidth(), plot.getCentreY()};
    gradient.point2 = {plot.getX() + static_cast<float>(to) * plot.getWidth(), plot.getCentreY()};
    for (int i = 0; i <= 10; ++i)
        gradient.addColour(i / 10.0, shadeStop(start, end, i / 10.0, k));
    return gradient;
}
} // namespace

EQGraph::EQGraph()
{
    setName("EQGraph");
    setOpaque(false);
}

double EQGraph::xToHz(double position)
{
    const double u = std::isnan(position) ? 0.0 : std::clamp(position, 0.0, 1.0);
    return std::exp(std::pow(u, 2.0 / 3.0) * logSpan + logLowest);
}

double EQGraph::hzToX(double hz)
{
    if (std::isnan(hz))
        return 0.0;
    const double logPosition = (std::log(std::clamp(hz, lowestHz, highestHz)) - logLowest) / logSpan;
    return std::pow(std::clamp(logPosition, 0.0, 1.0), 1.5);
}

juce::String EQGraph::hzText(double hz)
{
    // By the whole hertz shown, so that 1 kHz read back from the axis (999.99999...) is "1.00 kHz".
    if (hz >= 999.5)
        return juce::String(hz * 0.001, 2) + " kHz";
    return juce::String(static_cast<long long>(std::llround(hz))) + " Hz";
}

double EQGraph::displayQToQ(double displayQ)
{
    return (displayQ + 1.0) * 1.9 * 0.5 + 0.1;
}

void EQGraph::highPassChanged(float hz, const juce::NormalisableRange<float>& range)
{
    if (std::isnan(hz))
        return;
    hpfPos = hzToX(frequencyOf(hz, range));
    repaint();
}

void EQGraph::rolloffChanged(float hz, const juce::NormalisableRange<float>& range)
{
    if (std::isnan(hz))
        return;
    rolloffPos = hzToX(frequencyOf(hz, range));
    repaint();
}

void EQGraph::highPassQChanged(float q, const juce::NormalisableRange<float>& range)
{
    if (std::isnan(q))
        return;
    const double clamped = std::clamp(q, range.start, range.end);
    hpfQ = std::clamp((clamped - 0.1) * 2.0 / 1.9 - 1.0, -1.0, 1.0);
    repaint();
}

void EQGraph::saturationChanged(float value, const juce::NormalisableRange<float>& range)
{
    if (std::isnan(value))
        return;
    saturationShade = std::clamp(proportionOf(value, range) * 0.799 + 0.001, 0.0, 1.0);
    repaint();
}

void EQGraph::degradationChanged(float value, const juce::NormalisableRange<float>& range)
{
    if (std::isnan(value))
        return;
    degradeShade = std::clamp(1.0 - proportionOf(value, range) * 0.8, 0.0, 1.0);
    repaint();
}

void EQGraph::setSlopeWidth(float width)
{
    if (std::isfinite(width))
        slopeWidth = width;
    repaint();
}

void EQGraph::setRolloffWidth(float width)
{
    if (std::isfinite(width))
        rolloffWidth = width;
    repaint();
}

void EQGraph::setColourIds(int background, int leftShadeStart, int leftShadeEnd, int rightShadeStart, int rightShadeEnd)
{
    backgroundId = background;
    leftShadeStartId = leftShadeStart;
    leftShadeEndId = leftShadeEnd;
    rightShadeStartId = rightShadeStart;
    rightShadeEndId = rightShadeEnd;
    repaint();
}

double EQGraph::slopeStart() const
{
    return std::min(hpfPos - std::max(0.004, slopeWidth), hpfPos - 0.004);
}

double EQGraph::rolloffEnd() const
{
    return std::max(rolloffPos + std::max(0.004, rolloffWidth), rolloffPos + 0.004);
}

double EQGraph::hpfCurve(double x) const
{
    const double b = hpfPos;
    const double a = slopeStart();
    const double c = b + riseWidth;
    const double s = std::max(0.004, b - a);
    const double r = std::max(0.004, c - b);
    const double g = std::clamp(kneeBlend, 0.0, 1.0);
    if (x <= a)
        return floorLevel;

    const double unfaded = x < b - 0.000001
                               ? bezier(floorLevel, floorLevel + (hpfQ - floorLevel) * g, hpfQ, hpfQ, std::clamp((x - a) / s, 0.0, 1.0))
                               : bezier(hpfQ, hpfQ, 0.0, 0.0, std::clamp((x - b) / r, 0.0, 1.0));
    if (x >= c)
        return 0.0;
    if (fadeWidth > 0.0 && x > c - fadeWidth)
    {
        const double t = std::clamp((x - (c - fadeWidth)) / std::max(fadeWidth, 0.000001), 0.0, 1.0);
        return unfaded * (1.0 - (3.0 - 2.0 * t) * t * t);
    }
    return unfaded;
}

double EQGraph::rolloffCurve(double x) const
{
    const double e = rolloffPos;
    const double h = rolloffEnd();
    if (x <= e)
        return 0.0;
    if (x >= h)
        return floorLevel;
    const double t = std::clamp((x - e) / std::max(0.004, h - e), 0.0, 1.0);
    return 3.0 * (1.0 - t) * t * t * rolloffShape * floorLevel + t * t * t * floorLevel;
}

juce::Path EQGraph::curvePath(juce::Rectangle<float> area, double x0, double x1) const
{
    juce::Path path;
    if (!(x0 < x1))
        return path;
    const int n = std::clamp(curveResolution, 8, 2048);
    for (int i = 0; i < n; ++i)
    {
        const double x = x0 + (x1 - x0) * i / (n - 1);
        const juce::Point<float> point(area.getX() + static_cast<float>(x) * area.getWidth(),
                                       area.getCentreY() - static_cast<float>(hpfCurve(x) + rolloffCurve(x)) * area.getHeight() * 0.5f);
        if (i == 0)
            path.startNewSubPath(point);
        else
            path.lineTo(point);
    }
    return path;
}

juce::Rectangle<float> EQGraph::plotInside(float outerInsetFraction) const
{
    const auto frame = getLocalBounds().toFloat().reduced(outerInsetFraction * static_cast<float>(getWidth()));
    return frame.reduced(0.015f * frame.getWidth());
}

juce::Rectangle<float> EQGraph::plotArea() const
{
    return plotInside(0.002f);
}

juce::Rectangle<float> EQGraph::paintedPlotArea() const
{
    return plotInside(0.001f);
}

juce::Rectangle<float> EQGraph::columnRect(juce::Rectangle<float> area, double from, double to) const
{
    const float left = area.getX() + static_cast<float>(from) * area.getWidth();
    const float right = area.getX() + static_cast<float>(to) * area.getWidth();
    return {left, area.getY(), right - left, area.getHeight()};
}

juce::Rectangle<float> EQGraph::hpfHitRect() const
{
    double d = std::clamp(slopeStart() - 0.3, 0.0, 1.0);
    double e = std::clamp(hpfPos + riseWidth, 0.0, 1.0);
    if (e - d < 0.1)
    {
        if (d <= 0.0001)
            e = std::min(d + 0.1, 1.0);
        else
            d = std::max(e - 0.1, 0.0);
    }
    if (d >= e)
        return {};
    return columnRect(plotArea(), d, e);
}

juce::Rectangle<float> EQGraph::rolloffHitRect() const
{
    double d = std::clamp(std::max(hpfPos - 0.05, rolloffPos - 0.1), 0.0, 1.0);
    double e = std::clamp(rolloffEnd() + 0.075, 0.0, 1.0);
    if (e - d < 0.1)
    {
        if (e >= 0.9999)
            d = std::max(e - 0.1, 0.0);
        else
            e = std::min(d + 0.1, 1.0);
    }
    if (e <= d)
        return {};
    return columnRect(plotArea(), d, e);
}

juce::String EQGraph::highPassText() const
{
    return "HPF: " + hzText(xToHz(hpfPos)) + ", Q: " + juce::String(displayQToQ(hpfQ), 2);
}

juce::String EQGraph::rolloffText() const
{
    return "HF Rolloff: " + hzText(xToHz(rolloffPos));
}

void EQGraph::paint(juce::Graphics& g)
{
    if (getWidth() <= 0 || getHeight() <= 0)
        return;
    const auto frame = getLocalBounds().toFloat().reduced(0.001f * static_cast<float>(getWidth()));
    const auto plot = paintedPlotArea();
    g.setColour(juce::Colour(frameColour));
    g.fillRect(frame);
    g.setColour(Quillmore::findColourOr(*this, backgroundId, juce::Colour(fallbackBackground)));
    g.fillRect(plot);

    juce::Graphics::ScopedSaveState clip(g);
    g.reduceClipRegion(plot.toNearestInt());
    paintShades(g, plot);
    g.setColour(juce::Colours::white);
    g.strokePath(curvePath(plot, 0.0, 1.0), juce::PathStrokeType(1.2f, juce::PathStrokeType::mitered));
    paintHighlights(g, plot);
    paintTexts(g, plot);
}

void EQGraph::paintShades(juce::Graphics& g, juce::Rectangle<float> plot) const
{
    // The left shade reaches a little past the roll-off; its blend follows the degradation.
    const double leftEnd = rolloffPos + leftShadeExtra;
    if (std::clamp(leftEnd, 0.0, 1.0) > 0.0)
    {
        g.setGradientFill(shadeGradient(plot, 0.0, leftEnd,
                                        Quillmore::findColourOr(*this, leftShadeStartId, juce::Colour(fallbackLeftShadeStart)),
                                        Quillmore::findColourOr(*this, leftShadeEndId, juce::Colour(fallbackLeftShadeEnd)), 0.35,
                                        degradeShade));
        g.fillRect(columnRect(plot, 0.0, std::clamp(leftEnd, 0.0, 1.0)));
    }
    // The right shade starts a little before the high-pass; its blend follows the saturation.
    const double rightStart = hpfPos - rightShadeOffset;
    if (std::clamp(rightStart, 0.0, 1.0) < 1.0)
    {
        g.setGradientFill(shadeGradient(plot, rightStart, 1.0,
                                        Quillmore::findColourOr(*this, rightShadeStartId, juce::Colour(fallbackRightShadeStart)),
                                        Quillmore::findColourOr(*this, rightShadeEndId, juce::Colour(fallbackRightShadeEnd)), 0.6,
                                        saturationShade));
        g.fillRect(columnRect(plot, std::clamp(rightStart, 0.0, 1.0), 1.0));
    }
}

void EQGraph::paintHighlights(juce::Graphics& g, juce::Rectangle<float> plot) const
{
    const auto opacity = [this](int mode, bool hovered) {
        if (dragMode == mode)
            return 0.1f;
        return hovered && dragMode == dragNone ? 0.08f : 0.0f;
    };
    const auto band = [&](float alpha, double from, double to) {
        if (alpha <= 0.0f || !(from < to))
            return;
        g.setColour(juce::Colours::white.withAlpha(alpha));
        g.fillRect(columnRect(plot, from, to));
    };
    band(opacity(dragHighPass, hoverHpf), std::clamp(slopeStart(), 0.0, 1.0), std::clamp(hpfPos + riseWidth + 0.08, 0.0, 1.0));
    band(opacity(dragRolloff, hoverRolloff), std::clamp(rolloffPos - 0.1, 0.0, 1.0), std::clamp(rolloffEnd() - 0.16, 0.0, 1.0));

    const juce::PathStrokeType thick(3.0f, juce::PathStrokeType::mitered);
    g.setColour(juce::Colour(highlightColour));
    if (dragMode == dragHighPass || hoverHpf)
        g.strokePath(curvePath(plot, slopeStart(), std::min(rolloffPos + 0.1, hpfPos + riseWidth)), thick);
    if (dragMode == dragRolloff || hoverRolloff)
        g.strokePath(curvePath(plot, std::max(hpfPos, rolloffPos), rolloffEnd()), thick);
}

void EQGraph::paintTexts(juce::Graphics& g, juce::Rectangle<float> plot) const
{
    g.setFont(juce::Font(0.18f * plot.getHeight()));
    g.setColour(juce::Colours::white.withAlpha(0.7f));
    auto area = plot.reduced(2.0f);
    const auto left = area.removeFromLeft(area.getWidth() * 0.5f);
    g.drawFittedText(highPassText(), left.toNearestInt(), juce::Justification::topLeft, 1);
    g.drawFittedText(rolloffText(), area.toNearestInt(), juce::Justification::topRight, 1);
}

void EQGraph::updateHover(juce::Point<float> p)
{
    if (dragMode == dragHighPass)
    {
        hoverHpf = true;
        hoverRolloff = false;
        setMouseCursor(juce::MouseCursor::UpDownLeftRightResizeCursor);
        return;
    }
    if (dragMode == dragRolloff)
    {
        hoverHpf = false;
        hoverRolloff = true;
        setMouseCursor(juce::MouseCursor::LeftRightResizeCursor);
        return;
    }
    hoverHpf = hpfHitRect().contains(p);
    hoverRolloff = rolloffHitRect().contains(p);
    if (hoverHpf)
        setMouseCursor(juce::MouseCursor::UpDownLeftRightResizeCursor);
    else if (hoverRolloff)
        setMouseCursor(juce::MouseCursor::LeftRightResizeCursor);
    else
        setMouseCursor(juce::MouseCursor::NormalCursor);
}

void EQGraph::mouseMove(const juce::MouseEvent& e)
{
    updateHover(e.position);
    repaint();
}

void EQGraph::mouseExit(const juce::MouseEvent&)
{
    if (dragMode == dragNone)
        hoverHpf = hoverRolloff = false;
    repaint();
}

void EQGraph::mouseDown(const juce::MouseEvent& e)
{
    const bool overHpf = hpfHitRect().contains(e.position);
    const bool overRolloff = rolloffHitRect().contains(e.position);
    if (!overHpf && !overRolloff)
        return;

    const auto area = plotArea();
    const double u = (e.position.x - area.getX()) / area.getWidth();
    // Over both regions the nearer handle wins; a tie goes to the high-pass handle.
    const bool takeRolloff = overRolloff && (!overHpf || std::abs(u - rolloffPos) < std::abs(u - hpfPos));
    dragMode = takeRolloff ? dragRolloff : dragHighPass;
    dragStartV = (e.position.y - area.getY()) / area.getHeight();
    dragStartQ = hpfQ;
    if (takeRolloff)
    {
        rolloffDragOffset = rolloffPos - u;
        if (onRolloffDragStart)
            onRolloffDragStart();
    }
    else
    {
        hpfDragOffset = hpfPos - u;
        if (onHighPassDragStart)
            onHighPassDragStart();
    }
    updateHover(e.position);
    repaint();
}

void EQGraph::mouseDrag(const juce::MouseEvent& e)
{
    const auto area = plotArea();
    if (dragMode == dragNone || area.isEmpty())
        return;
    const double u = (e.position.x - area.getX()) / area.getWidth();
    if (dragMode == dragHighPass)
    {
        hpfPos = std::clamp(u + hpfDragOffset, 0.0, 1.0);
        // Up raises the emphasis; one plot height moves the display Q by 1, half its range.
        hpfQ = std::clamp(dragStartV - (e.position.y - area.getY()) / area.getHeight() + dragStartQ, -1.0, 1.0);
        if (onHighPassDrag)
            onHighPassDrag(xToHz(hpfPos), hpfQ);
    }
    else
    {
        rolloffPos = std::clamp(u + rolloffDragOffset, 0.0, 1.0);
        if (onRolloffDrag)
            onRolloffDrag(xToHz(rolloffPos));
    }
    updateHover(e.position);
    repaint();
}

void EQGraph::mouseUp(const juce::MouseEvent&)
{
    if (dragMode == dragHighPass && onHighPassDragEnd)
        onHighPassDragEnd();
    else if (dragMode == dragRolloff && onRolloffDragEnd)
        onRolloffDragEnd();
    dragMode = dragNone;
    hoverHpf = hoverRolloff = false;
    setMouseCursor(juce::MouseCursor::NormalCursor);
    repaint();
}
