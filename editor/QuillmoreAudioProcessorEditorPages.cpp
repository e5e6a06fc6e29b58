// The two pages, the section switches' dimming and the bypass cover.
#include "editor/QuillmoreAudioProcessorEditor.h"

#include "editor/ComponentList.h"
#include "editor/SliderColours.h"
#include "editor/SquareUtilityBase.h"
#include "plugin/QuillmoreAudioProcessor.h"

#include <algorithm>

using Editor = QuillmoreAudioProcessorEditor;

namespace
{
constexpr float dimAlpha = 0.5f;
constexpr float sectionCoverAlpha = 0.08f;
constexpr juce::uint32 sendBarWetDryColour = 0x5affffff;
constexpr juce::uint32 secondBarColour = 0xffff9650;
constexpr float sendBarWetDryTextAlpha = 0.3f;

bool parameterIsOn(juce::AudioProcessorValueTreeState& state, const char* parameterID)
{
    const auto* value = state.getRawParameterValue(parameterID);
    return value != nullptr && value->load() >= 0.5f;
}

void enableFully(juce::Component& component, std::vector<juce::Component*>& dimmed)
{
    component.setEnabled(true);
    component.setAlpha(1.0f);
    dimmed.erase(std::remove(dimmed.begin(), dimmed.end(), &component), dimmed.end());
}
} // namespace

std::vector<juce::Component*> Editor::sideAComponents()
{
    return {&noiseLabel,   &toneLabel,      &pitchWarbleLabel,  &eqGraph,      &masterWarbleBar,   &wowBar,
            &wowRateBar,   &flutterBar,     &instabilityBar,    &stereoDriftBar, &blipsBar,        &noiseAmountBar,
            &noiseFreqBar, &gateDecayBar,   &duckTimeBar,       &duckThreshBar, &saturationBar,    &degradationBar,
            &historyBackground, &warbleHistory, &historyCentreLine, &warbleMeterL, &warbleMeterR};
}

std::vector<juce::Component*> Editor::sideBComponents()
{
    std::vector<juce::Component*> components{
        &springsLabel,   &tapeEchoesLabel,   &spectrumView,     &spectrumBackground, &echoMixBar,     &feedbackBar,
        &filterFreqBar,  &filterQBar,        &lfoAmountBar,     &lfoSpeedBar,        &echoTimeBar,    &syncDivisionBar,
        &springsMixBar,  &springDecayBar,    &springHighPassBar, &springSizeBar,     &springTypeBar,  &hostSyncToggle,
        &mixModeToggle,  &stereoOffsetBar,   &echoSendBar,      &springsSendBar,     &echoToSpringsBar};
    if (xyOverlay != nullptr)
        components.push_back(xyOverlay.get());
    return components;
}

void Editor::switchPage()
{
    activeSide = 1 - activeSide;
    processorRef.activePanel.exchange(activeSide);
    updateSideVisibility();
}

void Editor::updateSideFromProcessor()
{
    activeSide = processorRef.activePanel.load() == 1 ? 1 : 0;
    updateSideVisibility();
}

void Editor::updateSideVisibility()
{
    backgroundLayer.showSideA = activeSide == 0;
    backgroundLayer.repaint();
    updateSideAccentColour();
    for (auto* component : sideAComponents())
        component->setVisible(activeSide == 0);
    for (auto* component : sideBComponents())
        component->setVisible(activeSide == 1);
    updateMixAndSyncControls();
    applyHeadsSectionState();
    applySpaceSectionState();
    repaint();
}

void Editor::updateSideAccentColour()
{
    const auto accent = uiLookAndFeel.findColour(activeSide == 0 ? UiLookAndFeel::sideAAccentColourId
                                                                 : UiLookAndFeel::sideBAccentColourId);
    inputKnob.setColour(juce::Slider::trackColourId, accent);
    outputKnob.setColour(juce::Slider::trackColourId, accent);
}

void Editor::updateMixAndSyncControls()
{
    const bool onB = activeSide == 1;
    const bool sync = hostSyncToggle.getToggleState();
    const bool sendReturn = mixModeToggle.getToggleState();

    spectrumView.setVisible(onB);
    spectrumBackground.setVisible(onB);
    if (xyOverlay != nullptr)
    {
        xyOverlay->setVisible(onB);
        xyOverlay->setInterceptsMouseClicks(onB, onB);
    }

    echoTimeBar.setVisible(onB && !sync);
    syncDivisionBar.setVisible(onB && sync);
    Quillmore::setSliderColours(syncDivisionBar, uiLookAndFeel.findColour(UiLookAndFeel::syncOnColourId),
                                juce::Colour(secondBarColour));

    for (juce::Component* component : Quillmore::componentList(hostSyncToggle, mixModeToggle, echoSendBar, springsSendBar, echoToSpringsBar))
        component->setVisible(onB);

    const auto returnColour = uiLookAndFeel.findColour(UiLookAndFeel::returnModeColourId);
    const auto mixColour = sendReturn ? returnColour : uiLookAndFeel.findColour(UiLookAndFeel::sideBAccentColourId);
    for (auto* mixBar : {&echoMixBar, &springsMixBar})
    {
        mixBar->setCaption(sendReturn ? "RETURN" : "WET/DRY");
        mixBar->setColour(juce::Slider::trackColourId, mixColour);
    }
    for (auto* sendBar : {&echoSendBar, &springsSendBar, &echoToSpringsBar})
    {
        // In wet/dry mode the sends still work but matter less: they are shown faint.
        sendBar->setColour(juce::Slider::trackColourId, sendReturn ? returnColour : juce::Colour(sendBarWetDryColour));
        sendBar->textAlpha = sendReturn ? 1.0f : sendBarWetDryTextAlpha;
        sendBar->setColour(UiLookAndFeel::overdriveColourId, juce::Colour(secondBarColour));
        sendBar->repaint();
    }
}

void Editor::setComponentDimmed(juce::Component& component, bool enabled, float alphaWhenDimmed, float newCoverAlpha)
{
    component.setEnabled(enabled);
    component.setAlpha(enabled ? 1.0f : alphaWhenDimmed);
    const auto found = std::find(dimmedComponents.begin(), dimmedComponents.end(), &component);
    if (enabled && found != dimmedComponents.end())
        dimmedComponents.erase(found);
    else if (!enabled && found == dimmedComponents.end())
        dimmedComponents.push_back(&component);
    coverAlpha = newCoverAlpha;
}

void Editor::paintOverChildren(juce::Graphics& g)
{
    if (dimmedComponents.empty())
        return;
    juce::uint8 alpha = 255;
    if (!(coverAlpha > 0.0f))
        alpha = 0;
    else if (coverAlpha < 1.0f)
        alpha = static_cast<juce::uint8>(UtilityButtons::roundHalfEven(255.0f * coverAlpha));
    g.setColour(juce::Colours::white.withAlpha(alpha));
    for (auto* component : dimmedComponents)
        if (component->isVisible())
            g.fillRect(component->getBounds());
}

void Editor::applyHeadsSectionState()
{
    const bool on = parameterIsOn(processorRef.apvts, "HeadsOn");
    headsActive = on;
    if (!on)
    {
        warbleHistory.reset();
        warbleMeterL.setValue(0.0f);
        warbleMeterR.setValue(0.0f);
    }

    // The tape stop belongs to the Heads, on both pages.
    setComponentDimmed(stopButton, on, dimAlpha, sectionCoverAlpha);
    setComponentDimmed(inertiaButton, on, dimAlpha, sectionCoverAlpha);
    if (activeSide != 0)
        return;

    // The amplifiers and the saturation work whatever the section switches say.
    for (juce::Component* component : Quillmore::componentList(inputKnob, outputKnob, saturationBar))
        enableFully(*component, dimmedComponents);
    coverAlpha = sectionCoverAlpha;

    for (juce::Component* component :
         Quillmore::componentList(degradationBar, masterWarbleBar, wowBar, wowRateBar, flutterBar, instabilityBar, blipsBar, stereoDriftBar, noiseAmountBar, noiseFreqBar, gateDecayBar, duckTimeBar, duckThreshBar, historyBackground, warbleMeterL, warbleMeterR, eqGraph))
        setComponentDimmed(*component, on, dimAlpha, sectionCoverAlpha);
}

void Editor::applySpaceSectionState()
{
    const bool on = parameterIsOn(processorRef.apvts, "SpaceOn");
    spaceActive = on;
    if (!on)
        spectrumView.clear();
    if (activeSide != 1)
        return;

    for (juce::Component* component : Quillmore::componentList(inputKnob, outputKnob))
        enableFully(*component, dimmedComponents);
    coverAlpha = sectionCoverAlpha;

    for (juce::Component* component :
         Quillmore::componentList(echoSendBar, echoToSpringsBar, springsSendBar, syncDivisionBar, stereoOffsetBar, springTypeBar, springSizeBar, springHighPassBar, springDecayBar, springsMixBar, echoMixBar, echoTimeBar, feedbackBar, filterFreqBar, filterQBar, lfoAmountBar, lfoSpeedBar, hostSyncToggle, mixModeToggle, spectrumBackground, spectrumView))
        setComponentDimmed(*component, on, dimAlpha, sectionCoverAlpha);

    spaceActive = on;
    if (!on)
    {
        spectrumView.freeze(true);
        spectrumView.clear();
    }
    else if (spectrumView.isFrozen())
    {
        spectrumView.freeze(false);
        spectrumView.repaint();
    }
}

void Editor::updateBypassOverlay()
{
    const bool on = bypassToggle.getToggleState();
    if (bypassOverlay != nullptr)
    {
        bypassOverlay->setBounds(getLocalBounds());
        bypassOverlay->switchArea = bypassToggle.getBounds();
        bypassOverlay->resized();
        bypassOverlay->repaint();
        bypassOverlay->setVisible(on);
        if (on)
            bypassOverlay->ownSwitch.setToggleState(true, juce::dontSendNotification);
        bypassOverlay->toFront(false);
    }
    bypassToggle.setVisible(!(on && bypassOverlay != nullptr));
    repaint();
}
