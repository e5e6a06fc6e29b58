#include "editor/SpectrumXYOverlay.h"

#include "editor/SpectrumView.h"

#include <algorithm>
#include <cmath>

SpectrumXYOverlay::SpectrumXYOverlay(SpectrumView& spectrumView, juce::RangedAudioParameter* frequencyParameter,
                                     juce::RangedAudioParameter* qParameter)
    : view(spectrumView), freqParam(frequencyParameter), qParam(qParameter)
{
    setOpaque(false);
}

void SpectrumXYOverlay::mouseDown(const juce::MouseEvent& e)
{
    if (onDragStart)
        onDragStart();
    for (auto* parameter : {freqParam, qParam})
        if (parameter != nullptr)
            parameter->beginChangeGesture();
    downPos = e.position;
    startFreqNorm = freqParam != nullptr ? freqParam->getValue() : 0.0f;
    startQNorm = qParam != nullptr ? qParam->getValue() : 0.0f;
    if (auto* frequency = dynamic_cast<juce::AudioParameterFloat*>(freqParam))
        startHz = frequency->range.snapToLegalValue(frequency->range.convertFrom0to1(std::clamp(startFreqNorm, 0.0f, 1.0f)));
    startX = view.frequencyToNorm(startHz);
    dragging = true;
}

void SpectrumXYOverlay::mouseDrag(const juce::MouseEvent& e)
{
    if (!dragging || freqParam == nullptr || qParam == nullptr || getWidth() <= 1 || getHeight() <= 1)
        return;
    const auto width = static_cast<float>(getWidth());
    const auto height = static_cast<float>(getHeight());

    // The view's axis, inverted.
    const auto& axis = view.getSettings();
    const auto u = std::clamp((e.position.x - downPos.x) / width + startX, 0.0f, 1.0f);
    const auto span = std::log(axis.maxHz / axis.minHz);
    auto hz = axis.minHz;
    if (span > 0.0f && std::isfinite(span))
        hz = std::clamp(axis.minHz * std::exp(std::pow(u, std::max(axis.axisSkew, 0.1f)) * span), axis.minHz, axis.maxHz);
    if (auto* frequency = dynamic_cast<juce::AudioParameterFloat*>(freqParam))
        frequency->setValueNotifyingHost(frequency->range.convertTo0to1(hz));

    qParam->setValueNotifyingHost(std::clamp((e.position.y - downPos.y) / height + startQNorm, 0.0f, 1.0f));
}

void SpectrumXYOverlay::mouseUp(const juce::MouseEvent&)
{
    dragging = false;
    for (auto* parameter : {freqParam, qParam})
        if (parameter != nullptr)
            parameter->endChangeGesture();
    if (onDragEnd)
        onDragEnd();
}

namespace Quillmore
{
std::unique_ptr<SpectrumXYOverlay> makeSpectrumXYOverlay(SpectrumView& view, juce::AudioProcessorValueTreeState& state)
{
    auto overlay = std::make_unique<SpectrumXYOverlay>(view, state.getParameter("EchoFilterFreq"),
                                                       state.getParameter("EchoFilterQ"));
    overlay->setInterceptsMouseClicks(true, true);
    overlay->setWantsKeyboardFocus(false);
    overlay->setMouseCursor(juce::MouseCursor::UpDownLeftRightResizeCursor);
    return overlay;
}
} // namespace Quillmore
