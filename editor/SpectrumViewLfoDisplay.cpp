// The spectrum view's LFO display: the display phase and its animation (which records the bell's
// trail), the soft corrections towards the measured filter frequency, the hard sync and freezing.
#include "editor/SpectrumView.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double twoPi = juce::MathConstants<double>::twoPi;
constexpr double pi = juce::MathConstants<double>::pi;

// The direction of the point (slope, value), in 0..2π: its sine has the sign of the value, its cosine
// the sign of the slope.
double angleOf(double value, double slope)
{
    const auto angle = std::atan2(value, slope);
    return angle < 0.0 ? angle + twoPi : angle;
}
} // namespace

double SpectrumView::animationTimeStep(double now, double last)
{
    if (!(last > 0.0))
        return 0.0167;
    const auto step = now - last;
    return std::isnan(step) ? 0.0001 : std::clamp(step, 0.0001, 0.05);
}

void SpectrumView::wrapPhase()
{
    if (!std::isfinite(phase))
        phase = 0.0;
    else if (std::abs(phase) > 1000.0)
        phase = std::fmod(phase, twoPi);
    while (phase >= twoPi)
        phase -= twoPi;
    while (phase < 0.0)
        phase += twoPi;
}

void SpectrumView::setLfoSpeedHz(double hz)
{
    if (std::isfinite(hz))
        omega = twoPi * hz;
}

float SpectrumView::normalisedLfoValue(float filterHz) const
{
    const auto base = std::clamp(baseHz, 20.0f, 20000.0f);
    const auto depth = std::min(lfoAmountPercent * 0.01f, 1.0f);
    return std::clamp((filterHz / base - 1.0f) / depth, -1.0f, 1.0f);
}

void SpectrumView::timerCallback()
{
    const auto now = nowSeconds();
    const auto dt = animationTimeStep(now, lastAnimTime);
    lastAnimTime = now;
    phase += dt * omega;
    wrapPhase();

    if (settings.showBell && settings.bellHeight > 0.0f && getWidth() > 0 && getHeight() > 0)
    {
        const auto centreX = bellCenterX(getLocalBounds().toFloat());
        if (lfoDepth() > 0.000001f)
        {
            if (!std::isfinite(lastTrailX) || std::abs(centreX - lastTrailX) >= settings.trailMinStep)
            {
                lastTrailX = centreX;
                auto outline = bellOutline(centreX);
                // A lone start point has nothing to stroke.
                if (outline.getLength() > 0.0f)
                {
                    trail.push_back({std::move(outline), now});
                    while (!trail.empty() && now - trail.front().time > settings.trailLifetime)
                        trail.pop_front();
                }
            }
        }
        else
            lastTrailX = centreX;
    }
    repaint();
}

void SpectrumView::setBellCenterHz(float hz)
{
    if (frozen || std::isnan(hz))
        return;
    const auto measured = std::clamp(hz, 20.0f, 20000.0f);
    const auto now = nowSeconds();
    prevMeterHz = meterHz;
    prevMeterTime = meterTime;
    meterHz = measured;
    meterTime = now;
    haveMeter = true;

    if (lastCheckTime <= 0.0 || now - lastCheckTime >= 1.0 / checkRate)
    {
        const auto base = std::clamp(baseHz, 20.0f, 20000.0f);
        const auto depth = std::clamp(lfoAmountPercent * 0.01f, 0.0f, 1.0f);
        if (depth > 0.00001f && base > 0.0f)
        {
            double v = normalisedLfoValue(measured);
            const auto t = nowSeconds();
            const auto dt = animationTimeStep(t, lastCorrectionTime);
            lastCorrectionTime = t;
            if (smoothedValid)
                v = smoothedValue + (v - smoothedValue) * 0.2;
            else
                smoothedValid = true;
            smoothedValue = v;
            const auto slope = std::clamp((v - prevValue) / dt / std::max(omega, 0.001), -1.0, 1.0);
            prevValue = v;

            auto diff = angleOf(v, slope) - phase;
            while (diff <= -pi)
                diff += twoPi;
            while (diff > pi)
                diff -= twoPi;
            if (std::abs(diff) > correctionDeadBand)
                phase += diff * correctionGain;
            wrapPhase();
        }
        lastCheckTime = now;
    }

    if (!hardSyncPending)
    {
        hardSyncPending = true;
        juce::MessageManager::callAsync([view = juce::Component::SafePointer<SpectrumView>(this)] {
            if (view != nullptr)
                view->hardSyncPhase();
        });
    }
}

void SpectrumView::hardSyncPhase()
{
    const auto rawDepth = lfoAmountPercent * 0.01f;
    const auto base = std::clamp(baseHz, 20.0f, 20000.0f);
    if (!haveMeter || rawDepth < 0.0f || !(std::min(rawDepth, 1.0f) > 0.00001f) || base <= 0.0f)
        return;
    const double v = normalisedLfoValue(meterHz);
    double slope;
    if (prevMeterTime > 0.0 && meterTime > prevMeterTime)
    {
        const double previous = normalisedLfoValue(prevMeterHz);
        slope = std::clamp((v - previous) / (meterTime - prevMeterTime) / std::max(omega, 0.001), -1.0, 1.0);
    }
    else
        slope = std::cos(phase);
    phase = angleOf(v, slope) - phaseOffset;
    wrapPhase();
}

void SpectrumView::scheduleHardSyncToMeter(int milliseconds)
{
    hardSyncDebouncer.arm(
        [view = juce::Component::SafePointer<SpectrumView>(this)] {
            if (view != nullptr)
                view->hardSyncPhase();
        },
        milliseconds);
}

void SpectrumView::freeze(bool shouldFreeze)
{
    if (shouldFreeze == frozen)
        return;
    frozen = shouldFreeze;
    if (frozen)
    {
        stopTimer();
        hardSyncDebouncer.disarm();
    }
    else
    {
        startTimer(animationPeriodMs);
        lastAnimTime = 0.0;
    }
    repaint();
}
