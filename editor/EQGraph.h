#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

// The tone-filter display of the Heads page: a stylised response of the high-pass filter with its
// emphasis and of the high roll-off, over two shades that follow degradation and saturation, with a
// text line per filter. The high-pass handle is dragged sideways for its frequency and up or down for
// its Q, the roll-off handle sideways for its frequency. The graph keeps its own display values, which
// the parameter callbacks below set; drags reach the parameters only through the on... callbacks.
//
// Positions run 0..1 across the plot on an axis that gives the high frequencies more room than a log
// axis would; levels are 0 on the plot's middle line, +1 at its top and -1 at its bottom.
class EQGraph : public juce::Component
{
public:
    static constexpr double lowestHz = 20.0;
    static constexpr double highestHz = 28000.0;
    static constexpr juce::uint32 frameColour = 0xff05080a;
    static constexpr juce::uint32 fallbackBackground = 0xff141928;
    static constexpr juce::uint32 fallbackLeftShadeStart = 0x001500dc;
    static constexpr juce::uint32 fallbackLeftShadeEnd = 0xffff327a;
    static constexpr juce::uint32 fallbackRightShadeStart = 0xffff8451;
    static constexpr juce::uint32 fallbackRightShadeEnd = 0x03ea00a1;
    static constexpr juce::uint32 highlightColour = 0xffff327a;

    EQGraph();

    // The axis: xToHz(u) = exp(clamp(u, 0, 1)^(2/3) * ln(28000 / 20)) * 20, and its inverse for any
    // frequency (clamped to 20..28000 Hz; not a number gives 0).
    static double xToHz(double position);
    static double hzToX(double hz);
    // "850 Hz" in whole hertz below 1 kHz, "1.25 kHz" from there on.
    static juce::String hzText(double hz);
    // The Q a display Q of -1..1 stands for: 0.1..2.
    static double displayQToQ(double displayQ);

    // Parameter callbacks: each takes the parameter's value in its own units with the parameter's range,
    // stores what it shows and repaints. A frequency of at most 1.0001 is read as a normalised value.
    // A value that is not a number is ignored.
    void highPassChanged(float hz, const juce::NormalisableRange<float>& range);
    void rolloffChanged(float hz, const juce::NormalisableRange<float>& range);
    void highPassQChanged(float q, const juce::NormalisableRange<float>& range);
    void saturationChanged(float value, const juce::NormalisableRange<float>& range);
    void degradationChanged(float value, const juce::NormalisableRange<float>& range);

    // Set up by the editor. Widths not finite are ignored; colour IDs of 0 take the fall-backs.
    void setSlopeWidth(float width);
    void setRolloffWidth(float width);
    void setColourIds(int background, int leftShadeStart, int leftShadeEnd, int rightShadeStart, int rightShadeEnd);

    std::function<void()> onHighPassDragStart, onHighPassDragEnd;
    std::function<void(double hz, double displayQ)> onHighPassDrag;
    std::function<void()> onRolloffDragStart, onRolloffDragEnd;
    std::function<void(double hz)> onRolloffDrag;

    // The curve model at a position: the high-pass part with its emphasis, and the roll-off part.
    double hpfCurve(double x) const;
    double rolloffCurve(double x) const;
    // The response from x0 to x1 (positions) as a polyline in the area; empty when x0 >= x1.
    juce::Path curvePath(juce::Rectangle<float> area, double x0, double x1) const;

    // The plot area the mouse is measured against, and the handles' hit regions in it.
    juce::Rectangle<float> plotArea() const;
    juce::Rectangle<float> hpfHitRect() const;
    juce::Rectangle<float> rolloffHitRect() const;
    // The plot area as painted (a slightly smaller outer inset than plotArea).
    juce::Rectangle<float> paintedPlotArea() const;

    double getHighPassPosition() const { return hpfPos; }
    double getRolloffPosition() const { return rolloffPos; }
    double getDisplayQ() const { return hpfQ; }
    double getDegradeShade() const { return degradeShade; }
    double getSaturationShade() const { return saturationShade; }
    int getDragMode() const { return dragMode; }
    bool isHighPassHovered() const { return hoverHpf; }
    bool isRolloffHovered() const { return hoverRolloff; }
    juce::String highPassText() const;
    juce::String rolloffText() const;

    void paint(juce::Graphics& g) override;
    void mouseMove(const juce::MouseEvent& e) override;
    void mouseExit(const juce::MouseEvent& e) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;

    static constexpr int dragNone = 0, dragHighPass = 1, dragRolloff = 2;

private:
    void updateHover(juce::Point<float> p);
    juce::Rectangle<float> plotInside(float outerInsetFraction) const;
    juce::Rectangle<float> columnRect(juce::Rectangle<float> area, double from, double to) const;
    double slopeStart() const;
    double rolloffEnd() const;
    void paintShades(juce::Graphics& g, juce::Rectangle<float> plot) const;
    void paintHighlights(juce::Graphics& g, juce::Rectangle<float> plot) const;
    void paintTexts(juce::Graphics& g, juce::Rectangle<float> plot) const;

    bool hoverHpf = false, hoverRolloff = false;
    int dragMode = dragNone;
    double dragStartV = 0.0, dragStartQ = 0.0;
    double hpfDragOffset = 0.0, rolloffDragOffset = 0.0;

    double hpfPos = 0.22;
    double rolloffPos = 0.78;
    double hpfQ = 0.68;
    double slopeWidth = 0.1;
    double riseWidth = 0.08;
    double rolloffWidth = 0.065;
    double floorLevel = -2.0;
    double kneeBlend = 0.68;
    double rolloffShape = 0.85;
    double fadeWidth = 0.15;
    double leftShadeExtra = 0.229;
    double rightShadeOffset = 0.098;
    double degradeShade = 0.06;
    double saturationShade = 0.96;
    int curveResolution = 512;

    int backgroundId = 0;
    int leftShadeStartId = 0, leftShadeEndId = 0;
    int rightShadeStartId = 0, rightShadeEndId = 0;

    JUCE_DECLARE_NON_COPYABLE(EQGraph)
};
