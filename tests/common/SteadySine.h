#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <cmath>
#include <sstream>
#include <string>

// Whether a steady sine came through a plug-in whole: every sample a number, no gap (a window of
// silence or a dip in level), no click (a step between two samples that the sine's slope cannot make,
// as a dropped, repeated or zeroed stretch of samples makes), and the level where it should be.
struct SteadySine
{
    double frequency = 440.0;
    double sampleRate = 48000.0;
    float peak = 0.25f;               // the peak the output should have
    float levelToleranceDecibels = 1.0f;

    // The first fault in samples from..end of the channel, or an empty text.
    std::string faultIn(const juce::AudioBuffer<float>& output, int channel, int from) const
    {
        const float* samples = output.getReadPointer(channel);
        const int end = output.getNumSamples();
        const auto at = [&](int i) {
            std::ostringstream text;
            text << "channel " << channel << ", sample " << i << " (" << i / sampleRate << " s): ";
            return text.str();
        };

        for (int i = from; i < end; ++i)
            if (!std::isfinite(samples[i]))
                return at(i) + "not a finite number";

        const float tolerance = juce::Decibels::decibelsToGain(levelToleranceDecibels);
        const double radiansPerSample = juce::MathConstants<double>::twoPi * frequency / sampleRate;
        const auto largestStep = static_cast<float>(2.0 * peak * tolerance * std::sin(0.5 * radiansPerSample));
        for (int i = juce::jmax(from, 1); i < end; ++i)
            if (std::abs(samples[i] - samples[i - 1]) > largestStep)
            {
                std::ostringstream text;
                text << "a step of " << std::abs(samples[i] - samples[i - 1]) << " where the sine makes at most "
                     << largestStep;
                return at(i) + text.str();
            }

        // Four periods per window keep the window's level within a percent of the sine's.
        const int window = juce::jmax(8, static_cast<int>(std::lround(4.0 * sampleRate / frequency)));
        const float expectedRms = peak / juce::MathConstants<float>::sqrt2;
        for (int start = from; start + window <= end; start += window / 2)
        {
            const float rms = output.getRMSLevel(channel, start, window);
            if (!(rms >= expectedRms / tolerance && rms <= expectedRms * tolerance))
            {
                std::ostringstream text;
                text << "level " << juce::Decibels::gainToDecibels(rms) << " dB over " << window
                     << " samples, expected " << juce::Decibels::gainToDecibels(expectedRms) << " dB";
                return at(start) + text.str();
            }
        }
        return {};
    }
};
