#include "editor/EQGraphBindings.h"

#include <algorithm>

namespace Quillmore
{
namespace
{
// Clamped to the parameter's range, snapped, and sent to the host.
void setFromEditor(juce::RangedAudioParameter* parameter, double value)
{
    if (parameter == nullptr)
        return;
    const auto& range = parameter->getNormalisableRange();
    const auto clamped = static_cast<float>(std::clamp(value, static_cast<double>(range.start), static_cast<double>(range.end)));
    parameter->setValueNotifyingHost(parameter->convertTo0to1(range.snapToLegalValue(clamped)));
}

void beginGesture(juce::RangedAudioParameter* parameter)
{
    if (parameter != nullptr)
        parameter->beginChangeGesture();
}

void endGesture(juce::RangedAudioParameter* parameter)
{
    if (parameter != nullptr)
        parameter->endChangeGesture();
}
} // namespace

std::unique_ptr<juce::ParameterAttachment> makeEqGraphAttachment(juce::RangedAudioParameter& parameter,
                                                                  std::function<void(float)> callback)
{
    return std::make_unique<juce::ParameterAttachment>(parameter, std::move(callback), nullptr);
}

EqGraphAttachments makeEqGraphAttachments(juce::AudioProcessorValueTreeState& state, EQGraph& graph)
{
    using Callback = void (EQGraph::*)(float, const juce::NormalisableRange<float>&);
    struct Binding
    {
        const char* id;
        Callback callback;
    };
    const std::array<Binding, 5> bindings{{{"HighPass", &EQGraph::highPassChanged},
                                           {"HighRolloff", &EQGraph::rolloffChanged},
                                           {"HighPassQ", &EQGraph::highPassQChanged},
                                           {"Saturate", &EQGraph::saturationChanged},
                                           {"Degrade", &EQGraph::degradationChanged}}};
    EqGraphAttachments attachments;
    for (size_t i = 0; i < bindings.size(); ++i)
        if (auto* parameter = state.getParameter(bindings[i].id))
            attachments[i] = makeEqGraphAttachment(*parameter, [&graph, parameter, callback = bindings[i].callback](float value) {
                (graph.*callback)(value, parameter->getNormalisableRange());
            });

    for (const size_t i : {2, 0, 1, 3, 4})
        if (attachments[i] != nullptr)
            attachments[i]->sendInitialUpdate();
    return attachments;
}

void installEqGraphDragCallbacks(EQGraph& graph, juce::AudioProcessorValueTreeState& state)
{
    auto* highPass = state.getParameter("HighPass");
    auto* highPassQ = state.getParameter("HighPassQ");
    auto* rolloff = state.getParameter("HighRolloff");

    graph.onHighPassDragStart = [highPass] { beginGesture(highPass); };
    graph.onHighPassDrag = [highPass, highPassQ](double hz, double displayQ) {
        setFromEditor(highPass, hz);
        // The Q follows along without a gesture of its own.
        setFromEditor(highPassQ, EQGraph::displayQToQ(displayQ));
    };
    graph.onHighPassDragEnd = [highPass] { endGesture(highPass); };
    graph.onRolloffDragStart = [rolloff] { beginGesture(rolloff); };
    graph.onRolloffDrag = [rolloff](double hz) { setFromEditor(rolloff, hz); };
    graph.onRolloffDragEnd = [rolloff] { endGesture(rolloff); };
}
} // namespace Quillmore
