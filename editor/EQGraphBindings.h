#pragma once

#include "editor/EQGraph.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <functional>
#include <memory>

// The EQ graph's ties to the host parameters: five display attachments that bring "HighPass",
// "HighRolloff", "HighPassQ", "Saturate" and "Degrade" to the graph on the message thread, and the drag
// callbacks that set "HighPass" (inside a gesture), "HighPassQ" and "HighRolloff" (inside a gesture).
namespace Quillmore
{
// A display attachment of one parameter: the callback gets the value in the parameter's own units.
std::unique_ptr<juce::ParameterAttachment> makeEqGraphAttachment(juce::RangedAudioParameter& parameter,
                                                                  std::function<void(float)> callback);

// In the order HighPass, HighRolloff, HighPassQ, Saturate, Degrade; null where the state lacks the ID.
using EqGraphAttachments = std::array<std::unique_ptr<juce::ParameterAttachment>, 5>;

// Makes the five attachments and sends their first values (HighPassQ, HighPass, HighRolloff, Saturate,
// Degrade). The attachments must be destroyed before the graph.
EqGraphAttachments makeEqGraphAttachments(juce::AudioProcessorValueTreeState& state, EQGraph& graph);

// Installs the graph's six drag callbacks. Values are clamped to each parameter's range and snapped;
// a parameter missing from the state is skipped.
void installEqGraphDragCallbacks(EQGraph& graph, juce::AudioProcessorValueTreeState& state);
} // namespace Quillmore
