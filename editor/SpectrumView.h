#pragma once

#include "editor/Debouncer.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <deque>
#include <limits>
#include <vector>

class SpectrumXYOverlay;

// The live spectrum of the tape echo on SIDE B: a filled curve over a skewed logarithmic frequency
// axis with a grid, a marker at the echo filter's set frequency, the range its LFO sweeps, and a bell
// for the filter that moves with the LFO and leaves a fading trail.
//
// The editor never learns the LFO's phase, only the filter's present frequency. So the view runs a
// display phase of its own at the LFO speed (its 16 ms animation timer) and keeps it in step with the
// measured frequency by small corrections and by hard syncs. Everything runs on the message thread.
class SpectrumView : public juce::Component, public juce::Timer
{
public:
    using Debouncer = ::Debouncer;
    using SpectrumXYOverlay = ::SpectrumXYOverlay;

    static constexpr int frameSize = 256;

    struct Settings
    {
        float minHz = 20.0f, maxHz = 9000.0f;
        float axisSkew = 1.0f; // axis position = (log position)^(1 / axisSkew)
        float smoothing = 0.35f; // weight of a new frame per bin
        int smoothingWidth = 3; // moving average across bins; below 3 none
        float binWarp = 1.0f;
        float inputGain = 1.0f;
        bool decibelScale = false;
        bool sqrtScale = true;
        float linearGain = 0.1f;
        float referenceLevel = 1.0f; // 0 dB
        float minDb = -60.0f, maxDb = 0.0f;
        float lineThickness = 0.5f;
        bool showBaseMarker = true;
        juce::Colour baseMarkerColour{0x5ac86edc};
        bool showBell = true;
        float minQ = 0.01f, maxQ = 2.0f;
        float bellWidthAtMinQ = 1.25f, bellWidthAtMaxQ = 0.1f; // fractions of the view's width
        float bellWidthCurve = 0.25f;
        float bellHeight = 0.9f; // fraction of the view's height; 0 hides bell and trail
        float bellBottom = 0.0f;
        float bellShapeExponent = 1.0f;
        float bellLineThickness = 1.0f;
        juce::Colour bellLineColour{0xffffffff};
        juce::Colour bellFillColour = juce::Colours::white.withAlpha(0.08f);
        juce::Colour rangeBandColour = juce::Colour(0xffff327a).withAlpha(0.95f);
        float rangeBandHeight = 4.0f, rangeTickHeight = 6.0f, rangeBandMinWidth = 2.0f;
        bool showGrid = true;
        std::array<float, 7> gridFrequencies{50.0f, 200.0f, 500.0f, 1000.0f, 2000.0f, 4000.0f, 8000.0f};
        double trailLifetime = 1.2, trailFadeTime = 0.05; // seconds
        float trailAlpha = 0.25f, trailThickness = 1.15f, trailSpread = 10.0f;
        float trailMinStep = 0.15f; // pixels the bell must move for a new trail outline
        // Colour IDs; 0, or a colour with alpha 0, means the fixed fall-back colour.
        int lineColourId = 0, fillColourId = 0, baseMarkerColourId = 0, rangeBandColourId = 0, gridColourId = 0;

        // What the editor shows: 20..9000 Hz at skew 0.7, decibels from -50 to 12, the skin's colours.
        static Settings forEditor();
    };

    SpectrumView();
    ~SpectrumView() override;

    const Settings& getSettings() const { return settings; }
    // Takes all settings at once (rebuilding the bin positions) and repaints.
    void setSettings(const Settings& newSettings);

    // The newest 256-value frame (linear-frequency bins over minHz..maxHz). The first frame after
    // construction or clear is shown as it is, later ones are blended in per bin. A value that is not a
    // number counts as silence.
    void pushSpectrumFrame(const float* frame);
    // The echo filter's settings; each repaints only when it changes.
    void setFilterBaseHz(float hz);
    void setFilterQ(float q);
    void setLfoAmountPercent(float percent);
    // Empties the spectrum and the trail and lets the next measurement hard-sync the phase again.
    void clear();

    // The LFO display. Values that are not numbers are ignored.
    void setLfoSpeedHz(double hz);
    // A measured filter frequency (the processor's meter), taken every editor tick.
    void setBellCenterHz(float hz);
    // Sets the phase from the last two measurements.
    void hardSyncPhase();
    // A hard sync that runs unless this is called again within that many milliseconds.
    void scheduleHardSyncToMeter(int milliseconds);
    // Frozen: no animation, no measurements, the picture stays.
    void freeze(bool shouldFreeze);
    bool isFrozen() const { return frozen; }

    // Axis and bell geometry, shared with the XY overlay.
    float frequencyToNorm(float hz) const;
    float frequencyToX(float hz, juce::Rectangle<float> area) const;
    float bellCenterX(juce::Rectangle<float> area) const;
    float qToBellWidth(float q) const;

    double getPhase() const { return phase; }
    static constexpr double phaseOffset = 45.0; // added to the phase for display
    const std::array<float, frameSize>& getSmoothedBins() const { return smoothedBins; }
    size_t getTrailLength() const { return trail.size(); }
    Debouncer& getHardSyncDebouncer() { return hardSyncDebouncer; }

    // The animation's time step in seconds: 1/60 s for the first step, else the time since the last one
    // within 0.0001..0.05 s (the shortest when the clock gives no sensible difference).
    static double animationTimeStep(double now, double last);

    // A label of the frequency grid, written centred in its area on one line.
    struct GridLabel
    {
        juce::String text;
        juce::Font font;
        juce::Rectangle<int> area;
    };
    // The grid's labels laid out for a view of that size. Narrow windows have no room for "1kHz 2kHz ...",
    // so where two full labels would collide the kilohertz ones shorten to "1k", "2k"; only if even those
    // collide does the font shrink below 10 pixels.
    std::vector<GridLabel> getGridLabels(float width, float height) const;

    void timerCallback() override;
    void paint(juce::Graphics& g) override;
    void resized() override;

private:
    struct BellGeometry
    {
        float halfWidth, baseY, height;
    };
    struct TrailOutline
    {
        juce::Path outline;
        double time;
    };

    void rebuildBinPositions();
    float logSpan() const;
    float axisExponent() const;
    float lfoDepth() const; // the LFO amount as a fraction, 0..1
    float normalisedLfoValue(float filterHz) const;
    BellGeometry bellGeometry() const;
    juce::Path bellOutline(float centreX) const;
    void wrapPhase();
    static double nowSeconds();

    void computePoints(float width, float height);
    void paintCurve(juce::Graphics& g, float width, float height);
    void paintBaseMarker(juce::Graphics& g, float width, float height);
    void paintGrid(juce::Graphics& g, float width, float height);
    static constexpr float labelRowHeight = 12.0f;
    static float labelRowTop(float height);
    void layOutGridLabels();
    void paintRangeBand(juce::Graphics& g, float width);
    void paintTrail(juce::Graphics& g);
    void paintBell(juce::Graphics& g, float width);

    Settings settings;

    std::array<float, frameSize> target{};
    std::array<float, frameSize> smoothedBins{};
    bool haveFrame = false;
    float baseHz = 1000.0f;
    float filterQ = 1.0f;
    float lfoAmountPercent = 0.0f;

    std::array<float, frameSize> binX{};
    std::array<juce::Point<float>, frameSize> points, smoothedPoints;
    std::vector<GridLabel> gridLabels; // for the current size and settings

    double phase = 0.0;
    double omega = juce::MathConstants<double>::twoPi;
    double lastAnimTime = 0.0;
    bool frozen = false;
    bool hardSyncPending = false;
    float meterHz = 1000.0f, prevMeterHz = 1000.0f;
    double meterTime = 0.0, prevMeterTime = 0.0;
    bool haveMeter = false;
    double lastCheckTime = 0.0;
    double lastCorrectionTime = 0.0;
    double smoothedValue = 0.0;
    bool smoothedValid = false;
    double prevValue = 0.0;
    std::deque<TrailOutline> trail;
    float lastTrailX = std::numeric_limits<float>::quiet_NaN();
    Debouncer hardSyncDebouncer;

    static constexpr int animationPeriodMs = 16;
    static constexpr double checkRate = 30.0; // correction windows per second at most
    static constexpr double correctionGain = 0.16;
    static constexpr double correctionDeadBand = 0.03; // radians

    JUCE_DECLARE_NON_COPYABLE(SpectrumView)
};
