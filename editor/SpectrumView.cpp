// The spectrum view's data, axis and painting; its LFO display is in SpectrumViewLfoDisplay.cpp.
#include "editor/SpectrumView.h"

#include "editor/ColourLookup.h"
#include "editor/EditorClock.h"
#include "editor/UiLookAndFeel.h"

#include <algorithm>
#include <cmath>

namespace
{
// Far beyond any spectrum level, and small enough that differences of two never overflow.
constexpr float largestBinValue = 1.0e30f;

float finiteBinValue(float value)
{
    if (std::isnan(value))
        return 0.0f;
    return std::clamp(value, -largestBinValue, largestBinValue);
}

juce::Point<float> midpoint(juce::Point<float> a, juce::Point<float> b)
{
    return (a + b) * 0.5f;
}
} // namespace

SpectrumView::Settings SpectrumView::Settings::forEditor()
{
    Settings s;
    s.minHz = 20.0f;
    s.maxHz = 9000.0f;
    s.axisSkew = 0.7f;
    s.smoothing = 0.5f;
    s.smoothingWidth = 5;
    s.binWarp = 1.04f;
    s.inputGain = 0.001f;
    s.decibelScale = true;
    s.referenceLevel = 0.65f;
    s.minDb = -50.0f;
    s.maxDb = 12.0f;
    s.lineThickness = 1.5f;
    s.showBaseMarker = true;
    s.showBell = true;
    s.minQ = 0.01f;
    s.maxQ = 2.0f;
    s.lineColourId = UiLookAndFeel::spectrumLineColourId;
    s.fillColourId = UiLookAndFeel::spectrumFillColourId;
    s.baseMarkerColourId = UiLookAndFeel::spectrumMarkerColourId;
    s.rangeBandColourId = UiLookAndFeel::sideBAccentColourId;
    s.gridColourId = UiLookAndFeel::spectrumGlowColourId;
    s.bellWidthAtMinQ = 2.0f;
    s.bellWidthAtMaxQ = 0.1f;
    s.bellHeight = 0.9f;
    s.bellLineThickness = 1.5f;
    s.bellShapeExponent = 2.5f;
    s.bellLineColour = juce::Colour(0xffffffff);
    s.bellFillColour = juce::Colours::white.withAlpha(0.08f);
    return s;
}

SpectrumView::SpectrumView()
{
    setOpaque(false);
    rebuildBinPositions();
    startTimer(animationPeriodMs);
}

SpectrumView::~SpectrumView()
{
    stopTimer();
    hardSyncDebouncer.disarm();
}

void SpectrumView::setSettings(const Settings& newSettings)
{
    settings = newSettings;
    rebuildBinPositions();
    layOutGridLabels();
    repaint();
}

// The labels change only with the size and the settings; the animation repaints many times a second.
void SpectrumView::layOutGridLabels()
{
    gridLabels = getGridLabels(static_cast<float>(getWidth()), static_cast<float>(getHeight()));
}

void SpectrumView::pushSpectrumFrame(const float* frame)
{
    if (frame == nullptr)
        return;
    for (int i = 0; i < frameSize; ++i)
        target[static_cast<size_t>(i)] = finiteBinValue(frame[i]);
    if (!haveFrame)
    {
        smoothedBins = target;
        haveFrame = true;
    }
    const auto s = std::clamp(std::isfinite(settings.smoothing) ? settings.smoothing : 1.0f, 0.0f, 1.0f);
    for (size_t i = 0; i < smoothedBins.size(); ++i)
        smoothedBins[i] += (target[i] - smoothedBins[i]) * s;
    repaint();
}

void SpectrumView::setFilterBaseHz(float hz)
{
    if (std::isnan(hz) || hz == baseHz)
        return;
    baseHz = hz;
    repaint();
}

void SpectrumView::setFilterQ(float q)
{
    if (std::isnan(q))
        return;
    const auto clamped = q < settings.minQ ? settings.minQ : std::min(q, settings.maxQ);
    if (clamped == filterQ)
        return;
    filterQ = clamped;
    repaint();
}

void SpectrumView::setLfoAmountPercent(float percent)
{
    const auto clamped = std::clamp(percent, 0.0f, 100.0f);
    if (std::isnan(percent) || clamped == lfoAmountPercent)
        return;
    lfoAmountPercent = clamped;
    repaint();
}

void SpectrumView::clear()
{
    target.fill(0.0f);
    smoothedBins.fill(0.0f);
    haveFrame = false;
    trail.clear();
    lastTrailX = std::numeric_limits<float>::quiet_NaN();
    lastAnimTime = 0.0;
    hardSyncPending = false;
    repaint();
}

double SpectrumView::nowSeconds()
{
    return Quillmore::editorMillisecondsHiRes() * 0.001;
}

// ---- axis --------------------------------------------------------------------------------------

float SpectrumView::logSpan() const
{
    return std::log(settings.maxHz / settings.minHz);
}

float SpectrumView::axisExponent() const
{
    return 1.0f / std::max(settings.axisSkew, 0.1f);
}

float SpectrumView::frequencyToNorm(float hz) const
{
    const auto span = logSpan();
    if (!(span > 0.0f) || !std::isfinite(span))
        return 0.0f;
    const auto f = std::clamp(hz, settings.minHz, settings.maxHz);
    const auto r = std::clamp(std::log(f / settings.minHz) / span, 0.0f, 1.0f);
    const auto norm = std::pow(r, axisExponent());
    return std::isfinite(norm) ? norm : 0.0f;
}

float SpectrumView::frequencyToX(float hz, juce::Rectangle<float> area) const
{
    const auto span = logSpan();
    float t = 0.0f;
    if (span > 0.0f && std::isfinite(span))
    {
        t = std::pow(std::max(std::log(std::max(hz, settings.minHz) / settings.minHz) / span, 0.0f), axisExponent());
        if (!std::isfinite(t))
            t = 0.0f;
    }
    return area.getX() + t * area.getWidth();
}

void SpectrumView::rebuildBinPositions()
{
    const auto span = logSpan();
    const auto e = axisExponent();
    for (int j = 0; j < frameSize; ++j)
    {
        const auto f = settings.minHz + (static_cast<float>(j) + 0.5f) / frameSize * (settings.maxHz - settings.minHz);
        auto p = std::pow(std::clamp(std::log(f / settings.minHz) / span, 0.0f, 1.0f), e);
        p = std::isfinite(p) ? std::clamp(p, 0.0f, 1.0f) : 0.0f;
        binX[static_cast<size_t>(j)] = std::pow(p, settings.binWarp);
    }
}

// ---- bell geometry -----------------------------------------------------------------------------

float SpectrumView::qToBellWidth(float q) const
{
    const auto a = std::clamp((q - settings.minQ) / std::max(settings.maxQ - settings.minQ, 1.0e-6f), 0.0f, 1.0f);
    return settings.bellWidthAtMinQ
           + std::pow(a, settings.bellWidthCurve) * (settings.bellWidthAtMaxQ - settings.bellWidthAtMinQ);
}

SpectrumView::BellGeometry SpectrumView::bellGeometry() const
{
    const auto w = static_cast<float>(getWidth());
    const auto h = static_cast<float>(getHeight());
    const auto halfWidth = std::clamp(qToBellWidth(filterQ) * 0.5f * w, 1.0f, std::max(w, 1.0f));
    return {halfWidth, h - h * settings.bellBottom, std::clamp(h * settings.bellHeight, 0.0f, h)};
}

float SpectrumView::lfoDepth() const
{
    return std::clamp(lfoAmountPercent * 0.01f, 0.0f, 1.0f);
}

float SpectrumView::bellCenterX(juce::Rectangle<float> area) const
{
    const auto base = std::clamp(baseHz, 20.0f, 20000.0f);
    const auto rawDepth = lfoAmountPercent * 0.01f;
    if (rawDepth < 0.0f || !(std::min(rawDepth, 1.0f) > 1.0e-6f))
        return frequencyToX(base, area);
    const auto depth = std::min(rawDepth, 1.0f);
    auto lo = frequencyToX((1.0f - depth) * base, area);
    auto hi = frequencyToX((1.0f + depth) * base, area);
    if (lo > hi)
        std::swap(lo, hi);
    const auto span = hi - lo;
    const auto margin = span < 12.0f ? 0.15f * span : std::min(0.45f * span, 2.0f);
    const auto a = lo + margin;
    const auto b = hi - margin;
    if (b <= a)
        return (lo + hi) * 0.5f;
    const auto k = span >= 12.0f ? 1.25 : 1.0;
    const auto v = static_cast<float>(std::tanh(k * std::sin(phaseOffset + phase)) / std::tanh(k));
    return a + (v + 1.0f) * 0.5f * (b - a);
}

juce::Path SpectrumView::bellOutline(float centreX) const
{
    juce::Path outline;
    const auto [halfWidth, baseY, height] = bellGeometry();
    const auto w = static_cast<float>(getWidth());
    const auto x0 = std::max(centreX - halfWidth, 0.0f);
    const auto x1 = std::min(centreX + halfWidth, w);
    if (!(x1 > x0) || !std::isfinite(x0) || !std::isfinite(x1))
        return outline;
    const auto exponent = std::clamp(settings.bellShapeExponent, 0.2f, 5.0f);
    bool started = false;
    for (auto x = x0; x <= x1; x += 1.0f)
    {
        const auto d = (x - centreX) / halfWidth;
        const auto g = std::max(1.0f - d * d, 0.0f);
        const auto s = g > 0.0f ? std::pow(g, exponent) : 0.0f;
        const auto y = baseY - height * s;
        if (!std::isfinite(y))
            continue;
        if (started)
            outline.lineTo(x, y);
        else
            outline.startNewSubPath(x, y);
        started = true;
    }
    return outline;
}

// ---- painting ----------------------------------------------------------------------------------

void SpectrumView::computePoints(float width, float height)
{
    const auto span = logSpan();
    const auto e = axisExponent();
    const auto f4k = settings.minHz > 4000.0f ? settings.minHz : std::min(settings.maxHz, 4000.0f);
    const auto p4k = std::pow(std::clamp(std::log(f4k / settings.minHz) / span, 0.0f, 1.0f), e);
    const auto dbRange = settings.maxDb - settings.minDb;

    for (size_t i = 0; i < points.size(); ++i)
    {
        // Below 4 kHz the bins lean towards a symmetric warp of the axis, most at the low end.
        const auto b = std::clamp(binX[i], 0.0f, 1.0f);
        const auto s = 2.0f * b - 1.0f;
        const auto o = ((s < 0.0f ? -1.0f : 1.0f) * std::pow(std::abs(s), settings.binWarp) + 1.0f) * 0.5f;
        const auto q = std::pow(1.0f - std::clamp(b / p4k, 0.0f, 1.0f), 6.0f);
        const auto r = b + (o - b) * q;
        auto x = (r + (o - r) * q) * width;

        const auto v = smoothedBins[i] * settings.inputGain;
        float level;
        if (settings.decibelScale)
            level = (10.0f * std::log10(std::max(v, 1.0e-20f) / settings.referenceLevel) - settings.minDb) / dbRange;
        else
        {
            auto amplitude = std::clamp(v, 0.0f, 10.0f);
            if (settings.sqrtScale)
                amplitude = std::sqrt(amplitude);
            level = std::clamp(amplitude * settings.linearGain, 0.0f, 1.0f);
        }
        // Settings that make no sense (an empty dB range, a zero reference) draw at the floor.
        level = std::isfinite(level) ? std::clamp(level, 0.0f, 1.0f) : 0.0f;
        if (!std::isfinite(x))
            x = 0.0f;
        points[i] = {x, height - height * level};
    }

    if (settings.smoothingWidth < 3)
    {
        smoothedPoints = points;
        return;
    }
    const auto half = settings.smoothingWidth / 2;
    for (int i = 0; i < frameSize; ++i)
    {
        const auto first = std::max(0, i - half), last = std::min(frameSize - 1, i + half);
        float sum = 0.0f;
        for (int j = first; j <= last; ++j)
            sum += points[static_cast<size_t>(j)].y;
        smoothedPoints[static_cast<size_t>(i)] = {points[static_cast<size_t>(i)].x, sum / static_cast<float>(last - first + 1)};
    }
}

void SpectrumView::paintCurve(juce::Graphics& g, float width, float height)
{
    const auto& p = smoothedPoints;
    juce::Path curve;
    curve.startNewSubPath(0.0f, height);
    curve.lineTo(0.0f, p[0].y);
    curve.lineTo(midpoint(p[0], p[1]));
    for (size_t j = 1; j + 1 < p.size(); ++j)
        curve.quadraticTo(p[j], midpoint(p[j], p[j + 1]));
    curve.lineTo(width, p.back().y);
    curve.lineTo(width, height);
    curve.closeSubPath();

    g.setColour(Quillmore::findColourOr(*this, settings.fillColourId, juce::Colour(0xffff32b4).withAlpha(0.2f)));
    g.fillPath(curve);
    if (settings.lineThickness > 0.0f)
    {
        g.setColour(Quillmore::findColourOr(*this, settings.lineColourId, juce::Colour(0xffff32b4)));
        g.strokePath(curve, juce::PathStrokeType(settings.lineThickness, juce::PathStrokeType::mitered,
                                                 juce::PathStrokeType::butt));
    }
}

void SpectrumView::paintBaseMarker(juce::Graphics& g, float width, float height)
{
    const auto x = frequencyToNorm(baseHz) * width;
    g.setColour(Quillmore::findColourOr(*this, settings.baseMarkerColourId, settings.baseMarkerColour));
    g.drawLine(x + 0.5f, 0.0f, x + 0.5f, height - 1.0f, 1.0f);
}

void SpectrumView::paintGrid(juce::Graphics& g, float width, float height)
{
    const auto rgb = Quillmore::findColourOr(*this, settings.gridColourId, juce::Colour(0x5ac86edc)).withAlpha(1.0f);
    const auto labelY = labelRowTop(height);
    g.setColour(rgb.withAlpha(0.15f));
    for (const auto f : settings.gridFrequencies)
    {
        const auto x = frequencyToNorm(f) * width;
        if (f >= settings.minHz && f <= settings.maxHz && std::isfinite(x))
            g.drawLine(x + 0.5f, 0.0f, x + 0.5f, labelY, 1.0f);
    }

    g.setColour(rgb.withAlpha(0.5f));
    for (const auto& label : gridLabels)
    {
        g.setFont(label.font);
        g.drawText(label.text, label.area, juce::Justification::centred, false);
    }
}

// Where the grid lines stop and the labels start. A short view (the smallest windows) lifts the row so
// that the labels are not cut off at its bottom edge.
float SpectrumView::labelRowTop(float height)
{
    return std::max(0.0f, std::min(0.8f * height, height - labelRowHeight));
}

std::vector<SpectrumView::GridLabel> SpectrumView::getGridLabels(float width, float height) const
{
    const auto layOut = [this, width, height](float fontHeight, bool withUnit) {
        const juce::Font font(fontHeight);
        std::vector<GridLabel> labels;
        for (const auto f : settings.gridFrequencies)
        {
            const auto x = frequencyToNorm(f) * width;
            if (!(f >= settings.minHz && f <= settings.maxHz) || !std::isfinite(x))
                continue;
            const auto text = f >= 1000.0f ? juce::String(juce::roundToInt(f / 1000.0f)) + (withUnit ? "kHz" : "k")
                                           : juce::String(juce::roundToInt(f));
            const auto textWidth = font.getStringWidthFloat(text) + 4.0f;
            auto left = x - textWidth * 0.5f;
            left = left < 1.0f ? 1.0f : std::min(left, width - textWidth - 1.0f);
            labels.push_back({text, font, juce::Rectangle<float>(left, labelRowTop(height), textWidth, labelRowHeight).toNearestInt()});
        }
        return labels;
    };
    // Each area holds 2 pixels of room on either side of its text.
    const auto standApart = [](const std::vector<GridLabel>& labels) {
        for (size_t i = 0; i < labels.size(); ++i)
            for (size_t j = i + 1; j < labels.size(); ++j)
                if (labels[i].area.intersects(labels[j].area))
                    return false;
        return true;
    };

    constexpr float fontHeight = 10.0f, smallestFontHeight = 4.0f;
    if (auto full = layOut(fontHeight, true); standApart(full))
        return full;
    auto labels = layOut(fontHeight, false);
    for (auto h = fontHeight - 0.5f; !standApart(labels) && h >= smallestFontHeight; h -= 0.5f)
        labels = layOut(h, false);
    return labels;
}

void SpectrumView::paintRangeBand(juce::Graphics& g, float width)
{
    const auto base = std::clamp(baseHz, 20.0f, 20000.0f);
    const auto depth = lfoDepth();
    const auto xl = frequencyToNorm((1.0f - depth) * base) * width;
    const auto xh = frequencyToX((1.0f + depth) * base, getLocalBounds().toFloat());
    const auto bandWidth = std::max(std::abs(xh - xl), settings.rangeBandMinWidth);
    const auto left = std::min(xl, xh);
    const auto geometry = bellGeometry();
    const auto peakY = geometry.baseY - geometry.height;
    const auto top = peakY - settings.rangeBandHeight * 0.5f;

    g.setColour(Quillmore::findColourOr(*this, settings.rangeBandColourId, settings.rangeBandColour));
    if (std::isfinite(left) && std::isfinite(bandWidth) && std::isfinite(top) && bandWidth > 0.0f)
        g.fillRoundedRectangle(left, top, bandWidth, settings.rangeBandHeight, settings.rangeBandHeight * 0.5f);
    const auto tickTop = peakY - settings.rangeTickHeight * 0.5f;
    const auto tickBottom = peakY + settings.rangeTickHeight * 0.5f;
    if (std::isfinite(xl))
        g.drawLine(xl, tickTop, xl, tickBottom, 1.0f);
    if (std::isfinite(xh) && xh <= width + 2000.0f)
        g.drawLine(xh, tickTop, xh, tickBottom, 1.0f);
}

void SpectrumView::paintTrail(juce::Graphics& g)
{
    const auto now = nowSeconds();
    const auto colour = settings.bellLineColour;
    for (const auto& entry : trail)
    {
        if (entry.outline.isEmpty())
            continue;
        const auto age = now - entry.time;
        auto alpha = age < 0.0 ? static_cast<double>(settings.trailAlpha)
                               : std::min(static_cast<double>(settings.trailAlpha),
                                          settings.trailAlpha * std::exp(-age / std::max(settings.trailFadeTime, 1.0e-6)));
        alpha = std::max(alpha, 0.0);
        if (alpha <= 0.001)
            continue;
        const auto a = static_cast<float>(alpha);
        const auto t = static_cast<float>(std::clamp(age / std::max(settings.trailLifetime, 0.001), 0.0, 1.0));
        const auto spread = settings.trailSpread * t;
        const juce::PathStrokeType stroke(std::clamp(spread, 0.0f, 12.0f) + settings.trailThickness,
                                          juce::PathStrokeType::curved, juce::PathStrokeType::rounded);
        g.setColour(colour.withMultipliedAlpha(a * 0.85f));
        g.strokePath(entry.outline, stroke);

        // A blur of shifted copies that widens as the outline ages.
        const int copies = spread > 2.0f ? 2 : 1;
        for (int k = 1; k <= copies; ++k)
        {
            const auto f = static_cast<float>(k) / static_cast<float>(copies + 1);
            const auto offset = f * spread * 0.66f;
            const auto copyAlpha = (1.0f - f) * 0.5f * a;
            g.setColour(colour.withAlpha(copyAlpha));
            g.strokePath(entry.outline, stroke, juce::AffineTransform::translation(offset, 0.0f));
            g.setColour(colour.withMultipliedAlpha(copyAlpha));
            g.strokePath(entry.outline, stroke, juce::AffineTransform::translation(-offset, 0.0f));
        }
    }
}

void SpectrumView::paintBell(juce::Graphics& g, float width)
{
    const auto centreX = bellCenterX(getLocalBounds().toFloat());
    const auto geometry = bellGeometry();
    const auto x0 = std::max(centreX - geometry.halfWidth, 0.0f);
    const auto x1 = std::min(centreX + geometry.halfWidth, width);
    if (!(x1 > x0) || !std::isfinite(x0) || !std::isfinite(x1))
        return;
    const auto outline = bellOutline(centreX);
    if (outline.isEmpty())
        return;
    if (settings.bellFillColour.getAlpha() != 0)
    {
        auto filled = outline;
        filled.lineTo(x1, geometry.baseY);
        filled.lineTo(x0, geometry.baseY);
        filled.closeSubPath();
        g.setColour(settings.bellFillColour);
        g.fillPath(filled);
    }
    if (settings.bellLineThickness > 0.0f)
    {
        g.setColour(settings.bellLineColour);
        g.strokePath(outline, juce::PathStrokeType(settings.bellLineThickness + 0.5f, juce::PathStrokeType::curved,
                                                   juce::PathStrokeType::rounded));
    }
}

void SpectrumView::paint(juce::Graphics& g)
{
    if (getWidth() <= 0 || getHeight() <= 0)
        return;
    const auto width = static_cast<float>(getWidth());
    const auto height = static_cast<float>(getHeight());
    computePoints(width, height);
    paintCurve(g, width, height);
    if (settings.showBaseMarker)
        paintBaseMarker(g, width, height);
    if (settings.showGrid)
        paintGrid(g, width, height);
    paintRangeBand(g, width);
    if (settings.showBell && settings.bellHeight > 0.0f)
    {
        paintTrail(g);
        paintBell(g, width);
    }
}

void SpectrumView::resized()
{
    lastTrailX = std::numeric_limits<float>::quiet_NaN();
    rebuildBinPositions();
    layOutGridLabels();
}
