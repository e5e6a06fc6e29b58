// The gain knob: its ring probed at the clock positions, and a drag on it through its window.
#include "editor/RotaryFillKnob.h"
#include "editor/UiLookAndFeel.h"
#include "plugin/QuillmoreAudioProcessor.h"
#include "tests/editor/EditorTestBed.h"
#include "tests/editor/ParameterGestures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace EditorTestBed;

namespace
{
const juce::Colour track(0xff00ff00);
const juce::Colour over(0xffff0000);

enum class Ring
{
    empty,
    track,
    over
};

// A 200-pixel knob: border 6, ring 28 wide, so the ring's middle is 80 pixels from the centre. Hours
// on a clock face: 6 is straight down, where the ring starts; it fills clockwise.
Ring ringAt(const juce::Image& image, double hour)
{
    const auto angle = (hour / 12.0) * 2.0 * juce::MathConstants<double>::pi;
    const auto c = pixel(image, juce::roundToInt(100.0 + 80.0 * std::sin(angle)), juce::roundToInt(100.0 - 80.0 * std::cos(angle)));
    if (c.getGreen() > 200 && c.getRed() < 60)
        return Ring::track;
    if (c.getRed() > 200 && c.getGreen() < 60)
        return Ring::over;
    EXPECT_LT(c.getBrightness(), 0.1f) << "at " << hour << " o'clock: " << c.toDisplayString(true);
    return Ring::empty;
}

class Knob
{
public:
    Knob()
    {
        knob.setLookAndFeel(&lookAndFeel);
        knob.setRange(0.0, 200.0);
        knob.setSize(200, 200);
        knob.setColour(juce::Slider::trackColourId, track);
        knob.setColour(UiLookAndFeel::overdriveColourId, over);
    }
    ~Knob() { knob.setLookAndFeel(nullptr); }

    juce::Image at(double gain)
    {
        knob.setValue(gain, juce::dontSendNotification);
        return render(knob);
    }

    UiLookAndFeel lookAndFeel;
    RotaryFillKnob knob;
};
} // namespace

TEST(RotaryFillKnob, RingFillsClockwiseFromSixOClockAndOverdrivesBeyondTheReference)
{
    Knob k;
    k.knob.setReferenceMark(100.0f); // unity sits at three quarters of the ring: 3 o'clock

    const auto unity = k.at(100.0);
    writeSnapshot(unity, "knob-unity");
    for (const double hour : {7.0, 9.0, 10.5, 12.0, 2.0})
        EXPECT_EQ(ringAt(unity, hour), Ring::track) << hour << " o'clock";
    for (const double hour : {4.0, 5.0})
        EXPECT_EQ(ringAt(unity, hour), Ring::empty) << "no overdrive at the reference, " << hour << " o'clock";

    const auto loudest = k.at(200.0);
    writeSnapshot(loudest, "knob-full");
    EXPECT_EQ(ringAt(loudest, 9.0), Ring::track);
    EXPECT_EQ(ringAt(loudest, 4.0), Ring::over);
    EXPECT_EQ(ringAt(loudest, 5.5), Ring::over) << "the ring is full";

    const auto half = k.at(50.0); // three eighths of the ring
    EXPECT_EQ(ringAt(half, 9.0), Ring::track);
    EXPECT_EQ(ringAt(half, 11.0), Ring::empty);

    const auto silent = k.at(0.0);
    writeSnapshot(silent, "knob-zero");
    for (const double hour : {7.0, 9.0, 12.0, 3.0})
        EXPECT_EQ(ringAt(silent, hour), Ring::empty);
}

TEST(RotaryFillKnob, WithoutReferenceTheWholeArcTakesTheTrackColour)
{
    Knob k;
    const auto loudest = k.at(200.0);
    EXPECT_EQ(ringAt(loudest, 4.0), Ring::track);
    EXPECT_EQ(k.knob.getRingProportion(std::numeric_limits<double>::quiet_NaN()), 0.0f);
    EXPECT_EQ(k.knob.getRingProportion(1.0e300), 1.0f);
    EXPECT_EQ(k.knob.getRingProportion(-1.0e300), 0.0f);
}

TEST(RotaryFillKnob, DragMovesTheGainParameterInOneGesture)
{
    QuillmoreAudioProcessor processor;
    UiLookAndFeel lookAndFeel;
    RotaryFillKnob knob;
    knob.setLookAndFeel(&lookAndFeel);
    knob.setSize(109, 109);
    juce::AudioProcessorValueTreeState::SliderAttachment attachment(processor.apvts, "Input", knob);
    auto& input = *processor.apvts.getParameter("Input");
    ParameterGestures gestures(input);
    DesktopWindow window(knob);

    const auto before = knob.getValue();
    window.drag({55.0f, 55.0f}, {55.0f, 15.0f}); // upwards turns it up
    EXPECT_GT(knob.getValue(), before);
    const auto raised = knob.getValue();
    window.drag({55.0f, 55.0f}, {5.0f, 55.0f}); // leftwards turns it down
    EXPECT_LT(knob.getValue(), raised);

    EXPECT_EQ(gestures.begins, 2);
    EXPECT_EQ(gestures.ends, 2);
    EXPECT_FALSE(gestures.changedOutsideGesture);
    EXPECT_FLOAT_EQ(input.convertFrom0to1(input.getValue()), static_cast<float>(knob.getValue()));
    knob.setLookAndFeel(nullptr);
}
