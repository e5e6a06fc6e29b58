// The generated phrase: a plucked note every half second at most at the peak level, nearly silent
// before the next, and its channels leaning apart.
#include "tools/host/TestSignal.h"

#include <gtest/gtest.h>

using namespace Quillmore::Host;

TEST(TestSignal, PhraseIsANoteEveryHalfSecondWithQuietGapsBetween)
{
    ASSERT_EQ(signalKindNamed("phrase"), SignalKind::phrase);
    SignalSettings settings;
    settings.kind = SignalKind::phrase;
    settings.seconds = 2.0;
    settings.peakDecibels = -6.0;
    const double rate = 44100.0;
    const auto phrase = generateSignal(settings, rate);
    ASSERT_EQ(phrase.getNumSamples(), 88200);

    const float peak = juce::Decibels::decibelsToGain(-6.0f);
    const int note = static_cast<int>(0.5 * rate);
    for (int n = 0; n < 4; ++n)
        for (int channel = 0; channel < 2; ++channel)
        {
            const float start = phrase.getMagnitude(channel, n * note, note / 10);
            const float end = phrase.getMagnitude(channel, n * note + note * 9 / 10, note / 10);
            EXPECT_GT(start, 0.5f * peak) << "note " << n << ", channel " << channel;
            EXPECT_LE(start, peak) << "note " << n << ", channel " << channel;
            EXPECT_LT(end, 1.0e-3f * peak) << "note " << n << ", channel " << channel << " rings into the next";
        }
    EXPECT_NE(phrase.getMagnitude(0, 0, note), phrase.getMagnitude(1, 0, note)) << "the channels lean apart";
}
