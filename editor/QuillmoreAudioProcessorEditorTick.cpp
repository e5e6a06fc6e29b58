// The editor's 16 ms tick: it follows the section switches and the bypass, and hands what the processor
// published after its last blocks to the displays. It only reads the processor (taking a spectrum
// frame clears its ready flag) and takes no lock.
#include "editor/EditorClock.h"
#include "editor/QuillmoreAudioProcessorEditor.h"
#include "plugin/QuillmoreAudioProcessor.h"

#include <algorithm>
#include <cmath>

using Editor = QuillmoreAudioProcessorEditor;

static_assert(Editor::spectrumFrameSize == QuillmoreAudioProcessor::spectrumFrameSize);

namespace
{
// A display value in 0..1; one that is not a number is left for the display to deal with.
float unitRange(float value)
{
    return std::isnan(value) ? value : std::clamp(value, 0.0f, 1.0f);
}
} // namespace

void Editor::timerCallback()
{
    followSectionSwitches();
    followBypass();
    if (headsActive)
        showWarble();
    if (spaceActive)
        showSpace(Quillmore::editorMillisecondsHiRes());
    showOutputMeter(Quillmore::editorMillisecondsHiRes());
    presetHeader.followCurrentName();
}

void Editor::followSectionSwitches()
{
    // Compared with the state last applied, which reads the switch again: a host that flips it between
    // the two reads leaves them apart, and the next tick applies it once more.
    const auto rawOn = [this](const char* parameterID) {
        const auto* value = processorRef.apvts.getRawParameterValue(parameterID);
        return value != nullptr && value->load() >= 0.5f;
    };
    if (rawOn("HeadsOn") != headsActive)
        applyHeadsSectionState();
    if (rawOn("SpaceOn") != spaceActive)
        applySpaceSectionState();
}

void Editor::followBypass()
{
    if (bypassToggle.getToggleState() == lastBypassState)
        return;
    lastBypassState = bypassToggle.getToggleState();
    updateBypassOverlay();
}

void Editor::showWarble()
{
    const auto left = unitRange(processorRef.warbleL.load());
    const auto right = unitRange(processorRef.warbleR.load());
    warbleMeterL.setValue(left);
    warbleMeterR.setValue(right);
    warbleHistory.pushValues(left, right);
}

void Editor::showSpace(double now)
{
    auto& state = processorRef.apvts;
    if (processorRef.readSpectrumFrame(spectrumFrame.data(), spectrumFrameSize))
        spectrumView.pushSpectrumFrame(spectrumFrame.data());
    if (const auto* frequency = state.getRawParameterValue("EchoFilterFreq"))
        spectrumView.setFilterBaseHz(frequency->load());
    if (const auto* q = state.getRawParameterValue("EchoFilterQ"))
        spectrumView.setFilterQ(q->load());
    // Before this tick's LFO amount and speed are stored: the measurement goes with the previous ones.
    spectrumView.setBellCenterHz(processorRef.echoFilterFrequency.load());
    const auto* amount = state.getRawParameterValue("EchoFilterLFOAmount");
    spectrumView.setLfoAmountPercent(amount != nullptr ? amount->load() : 0.0f);
    if (const auto* speed = state.getRawParameterValue("EchoFilterLFOSpeed"))
    {
        const auto hz = speed->load();
        if (!std::isnan(hz))
            spectrumView.setLfoSpeedHz(std::clamp(static_cast<double>(hz), 0.02, 40.0));
    }
    spectrumView.scheduleHardSyncToMeter(hardSyncDelayMs);

    if (xyHighlightDeadlineMs > 0 && now >= static_cast<double>(xyHighlightDeadlineMs))
    {
        filterFreqBar.setValuePinned(false);
        filterQBar.setValuePinned(false);
        xyHighlightDeadlineMs = 0;
    }
}

void Editor::showOutputMeter(double now)
{
    const auto levelL = processorRef.outputLevelL.load();
    const auto levelR = processorRef.outputLevelR.load();
    if (processorRef.clipL.load())
        lastClipTimeL = now;
    if (processorRef.clipR.load())
        lastClipTimeR = now;
    const auto lit = [now](double lastClipTime) { return lastClipTime > 0.0 && now - lastClipTime < clipHoldMs; };
    outputMeter.setLevels(unitRange(levelL), unitRange(levelR));
    outputMeter.setClipLights(lit(lastClipTimeL), lit(lastClipTimeR));
}
