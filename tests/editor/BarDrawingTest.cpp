// The bars as the look and feel draws them, probed pixel by pixel: origins, overdrive zones and lines.
#include "editor/OverlayBarSlider.h"
#include "editor/UiLookAndFeel.h"
#include "tests/editor/EditorTestBed.h"

#include <gtest/gtest.h>

#include <limits>

using namespace EditorTestBed;

namespace
{
const juce::Colour background(0xff0000ff);
const juce::Colour track(0xff00ff00);
const juce::Colour over(0xffff0000);

enum class Seen
{
    background,
    track,
    over,
    line // the grey origin or marker line
};

Seen classify(juce::Colour c)
{
    if (c.getRed() > 150 && c.getGreen() > 150 && c.getBlue() > 150)
        return Seen::line;
    if (c.getGreen() > 200 && c.getRed() < 60)
        return Seen::track;
    if (c.getRed() > 200 && c.getGreen() < 60)
        return Seen::over;
    if (c.getBlue() > 200 && c.getRed() < 60 && c.getGreen() < 60)
        return Seen::background;
    ADD_FAILURE() << "unexpected colour " << c.toDisplayString(true);
    return Seen::background;
}

const char* name(Seen seen)
{
    switch (seen)
    {
    case Seen::background: return "background";
    case Seen::track: return "track";
    case Seen::over: return "overdrive";
    case Seen::line: return "line";
    }
    return "?";
}

struct Probe
{
    int x;
    Seen expected;
};

// A bar 244 pixels wide: the look and feel gets (1, 1, 242, 22) and fills the inner 240 pixels from
// x = 2, so a proportion p of the range lands at x = 2 + 240 p.
class Bar
{
public:
    Bar(double minimum, double maximum)
    {
        slider.setLookAndFeel(&lookAndFeel);
        slider.setRange(minimum, maximum);
        slider.setSize(244, 24);
        slider.setColour(juce::Slider::backgroundColourId, background);
        slider.setColour(juce::Slider::trackColourId, track);
        slider.setColour(UiLookAndFeel::overdriveColourId, over);
    }
    ~Bar() { slider.setLookAndFeel(nullptr); }

    void expect(double value, std::initializer_list<Probe> probes, const juce::String& snapshot = {})
    {
        slider.setValue(value, juce::dontSendNotification);
        const auto image = render(slider);
        if (snapshot.isNotEmpty())
            writeSnapshot(image, snapshot);
        for (const auto& probe : probes)
        {
            const auto seen = classify(pixel(image, probe.x, 12));
            EXPECT_EQ(seen, probe.expected) << "value " << value << " at x = " << probe.x << ": " << name(seen)
                                            << " where " << name(probe.expected) << " was expected";
        }
    }

    UiLookAndFeel lookAndFeel;
    OverlayBarSlider slider;
};
} // namespace

TEST(BarDrawing, LeftOriginWithOverdriveZoneAndMarker)
{
    // FEEDBACK: 0 to 120, threshold and marker at 100, i.e. at x = 2 + 200.
    Bar bar(0.0, 120.0);
    bar.slider.getProperties().set("overdriveThresh", 100.0);
    bar.slider.getProperties().set("markerValue", 100.0);

    bar.expect(120.0, {{3, Seen::track}, {150, Seen::track}, {199, Seen::track}, {201, Seen::line}, {202, Seen::line},
                       {204, Seen::over}, {241, Seen::over}},
               "bar-feedback-overdriven");
    bar.expect(110.0, {{150, Seen::track}, {204, Seen::over}, {220, Seen::over}, {223, Seen::background}});
    // At or below the threshold no overdrive colour; the marker stays at 100.
    bar.expect(100.0, {{150, Seen::track}, {199, Seen::track}, {201, Seen::line}, {204, Seen::background}});
    bar.expect(60.0, {{100, Seen::track}, {120, Seen::track}, {125, Seen::background}, {201, Seen::line}, {220, Seen::background}});
    bar.expect(0.0, {{3, Seen::background}, {201, Seen::line}});
}

TEST(BarDrawing, CentreOriginFromTheValueToZero)
{
    // STEREO OFFSET: -1 to 1, the origin line at x = 2 + 120 (pixels 121 and 122).
    Bar bar(-1.0, 1.0);
    bar.slider.getProperties().set("centerOrigin", true);

    bar.expect(0.0, {{60, Seen::background}, {121, Seen::line}, {122, Seen::line}, {180, Seen::background}}, "bar-centre-zero");
    bar.expect(-0.5, {{59, Seen::background}, {63, Seen::track}, {119, Seen::track}, {121, Seen::line}, {125, Seen::background}},
               "bar-centre-negative");
    bar.expect(1.0, {{100, Seen::background}, {125, Seen::track}, {240, Seen::track}});
}

TEST(BarDrawing, RangesAcrossZeroDrawFromTheCentreEvenWhenNotAskedTo)
{
    Bar bar(-100.0, 100.0);
    bar.slider.getProperties().set("centerOrigin", false);
    bar.slider.getProperties().set("rightOrigin", true);
    bar.expect(50.0, {{60, Seen::background}, {121, Seen::line}, {150, Seen::track}, {180, Seen::track}, {185, Seen::background}});
}

TEST(BarDrawing, CentreOriginOverdrivesBeyondTheThresholdOnEitherSide)
{
    // Threshold 0.5 of a -1..1 range: x = 2 + 180 for positive values, mirrored to 2 + 60 below zero.
    Bar bar(-1.0, 1.0);
    bar.slider.getProperties().set("centerOrigin", true);
    bar.slider.getProperties().set("overdriveThresh", 0.5);
    bar.expect(1.0, {{150, Seen::track}, {180, Seen::track}, {184, Seen::over}, {240, Seen::over}}, "bar-centre-overdriven");
    bar.expect(-1.0, {{3, Seen::over}, {60, Seen::over}, {64, Seen::track}, {119, Seen::track}});
    bar.expect(0.4, {{150, Seen::track}, {160, Seen::track}, {175, Seen::background}});
}

TEST(BarDrawing, RightOriginFillsFromTheRightEnd)
{
    // DUCK THRESH: -100 to 0 dB; full fill at the minimum, none at the maximum.
    Bar bar(-100.0, 0.0);
    bar.slider.getProperties().set("rightOrigin", true);
    bar.expect(-100.0, {{3, Seen::track}, {120, Seen::track}, {241, Seen::track}}, "bar-right-full");
    bar.expect(0.0, {{3, Seen::background}, {120, Seen::background}, {241, Seen::background}});
    bar.expect(-25.0, {{100, Seen::background}, {180, Seen::background}, {184, Seen::track}, {241, Seen::track}},
               "bar-right-quarter");
}

TEST(BarDrawing, VerticalBarsShowOnlyTheirBackground)
{
    Bar bar(0.0, 1.0);
    bar.slider.setSliderStyle(juce::Slider::LinearBarVertical);
    bar.expect(1.0, {{60, Seen::background}, {180, Seen::background}});
}

TEST(BarDrawing, HostilePropertiesAndRangesDrawAPlainBar)
{
    const auto nan = std::numeric_limits<double>::quiet_NaN();
    const auto inf = std::numeric_limits<double>::infinity();
    {
        // Thresholds and markers that are not finite numbers are left out.
        Bar bar(0.0, 120.0);
        bar.slider.getProperties().set("overdriveThresh", nan);
        bar.slider.getProperties().set("markerValue", inf);
        bar.expect(120.0, {{3, Seen::track}, {202, Seen::track}, {241, Seen::track}});
    }
    {
        // A huge threshold lies beyond the bar: no overdrive; a huge negative marker sits at the start.
        Bar bar(0.0, 120.0);
        bar.slider.getProperties().set("overdriveThresh", 1.0e300);
        bar.slider.getProperties().set("markerValue", -1.0e300);
        bar.expect(120.0, {{2, Seen::line}, {100, Seen::track}, {241, Seen::track}});
    }
    {
        Bar bar(-1.0, 1.0);
        bar.slider.getProperties().set("centerOrigin", true);
        bar.slider.getProperties().set("overdriveThresh", -1.0e300);
        bar.expect(0.5, {{150, Seen::track}, {121, Seen::line}});
    }
}
