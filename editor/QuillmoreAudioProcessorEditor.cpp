#include "editor/QuillmoreAudioProcessorEditor.h"

#include "editor/ComponentList.h"
#include "editor/SliderColours.h"
#include "plugin/QuillmoreAudioProcessor.h"

using Editor = QuillmoreAudioProcessorEditor;

namespace
{
constexpr int overlayTimeMs = 1200;
constexpr juce::uint32 secondBarColour = 0xffff9650;
constexpr juce::uint32 bypassCoverColour = 0xcd05080a;
constexpr juce::uint32 windowFillColour = 0xff808287;
} // namespace

const std::array<Editor::BarEntry, Editor::barCount>& Editor::barTable()
{
    static const std::array<BarEntry, barCount> table{{
        {&Editor::masterWarbleBar, "MASTER WARBLE", "MstrWarble", 0},
        {&Editor::wowBar, "WOW", "Wow", 0},
        {&Editor::wowRateBar, "WOW RATE", "WowRate", 0},
        {&Editor::flutterBar, "FLUTTER", "Flutter", 0},
        {&Editor::instabilityBar, "INSTABILITY", "Instability", 0},
        {&Editor::stereoDriftBar, "STEREO DRIFT", "StDrift", 0},
        {&Editor::blipsBar, "BLIPS", "Blips", 0},
        {&Editor::saturationBar, "SATURATION", "Saturate", 0},
        {&Editor::lfoAmountBar, "LFO AMT", "EchoFilterLFOAmount", 1},
        {&Editor::lfoSpeedBar, "LFO SPEED", "EchoFilterLFOSpeed", 1},
        {&Editor::filterFreqBar, "FILTER FREQ", "EchoFilterFreq", 1},
        {&Editor::filterQBar, "FILTER Q", "EchoFilterQ", 1},
        {&Editor::springsMixBar, "WET/DRY", "SpringMix", 1},
        {&Editor::echoTimeBar, "TIME", "EchoTime", 1},
        {&Editor::noiseFreqBar, "FREQ", "NoiseFreq", 0},
        {&Editor::noiseAmountBar, "AMOUNT", "NoiseAmnt", 0},
        {&Editor::echoMixBar, "WET/DRY", "EchoMix", 1},
        {&Editor::feedbackBar, "FEEDBACK", "EchoFdbck", 1},
        {&Editor::gateDecayBar, "GATE DECAY TIME", "NoiseGateTime", 0},
        {&Editor::duckTimeBar, "DUCK TIME", "NoiseDuckTime", 0},
        {&Editor::duckThreshBar, "DUCK THRESH", "NoiseDuckThresh", 0},
        {&Editor::springSizeBar, "SIZE", "SpringSize", 1},
        {&Editor::springDecayBar, "DECAY", "SpringDecay", 1},
        {&Editor::springHighPassBar, "HIGHPASS FREQ", "SpringHighPass", 1},
        {&Editor::degradationBar, "DEGRADATION", "Degrade", 0},
        {&Editor::springTypeBar, "TYPE A/B", "SpringAB", 1},
        {&Editor::stereoOffsetBar, "STEREO        OFFSET", "EchoStOffset", 1},
        {&Editor::syncDivisionBar, "SYNC DIVISION", "EchoSyncDiv", 1},
        {&Editor::echoSendBar, "ECHO SEND", "EchoSend", 1},
        {&Editor::springsSendBar, "SPRINGS SEND", "SpringSend", 1},
        {&Editor::echoToSpringsBar, "ECHO > SPRINGS", "EchoToSpring", 1},
    }};
    return table;
}

// Caption, overlay time, shown, bound, then visible only on its page. The mix bars take their captions
// from the mix mode (updateMixAndSyncControls) instead.
void Editor::setUpBar(OverlayBarSlider Editor::*bar)
{
    const auto& table = barTable();
    for (size_t i = 0; i < table.size(); ++i)
    {
        if (table[i].bar != bar)
            continue;
        auto& slider = this->*bar;
        if (bar != &Editor::echoMixBar && bar != &Editor::springsMixBar)
            slider.setCaption(table[i].caption);
        slider.overlayTimeMs = overlayTimeMs;
        addAndMakeVisible(slider);
        sliderAttachments[i] = std::make_unique<juce::AudioProcessorValueTreeState::SliderAttachment>(
            processorRef.apvts, table[i].parameterID, slider);
        slider.setVisible(activeSide == table[i].side);
        return;
    }
    jassertfalse;
}

// The echo section's two switches: texts, colours, bound, visible only on SIDE B; either one
// changes what the mix and time bars show.
void Editor::setUpSideBToggle(ParamToggleButton& toggle, const juce::String& onText, const juce::String& offText,
                              int onColourId, const juce::String& parameterID,
                              std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment>& attachment)
{
    toggle.setTexts(onText, offText);
    toggle.setOnColourId(onColourId);
    toggle.setOffColourId(UiLookAndFeel::toggleOffColourId);
    toggle.setOutlineColourId(UiLookAndFeel::toggleOutlineColourId);
    attachment = std::make_unique<juce::AudioProcessorValueTreeState::ButtonAttachment>(processorRef.apvts, parameterID, toggle);
    toggle.setVisible(activeSide == 1);
    toggle.onStateChange = [this] { updateMixAndSyncControls(); };
}

Editor::QuillmoreAudioProcessorEditor(QuillmoreAudioProcessor& processor)
    : juce::AudioProcessorEditor(processor), processorRef(processor)
{
    auto& state = processorRef.apvts;

    setLookAndFeel(&uiLookAndFeel);
    addAndMakeVisible(presetHeader);
    setWantsKeyboardFocus(false);
    setMouseClickGrabsKeyboardFocus(false);

    addAndMakeVisible(backgroundLayer);
    backgroundLayer.toBack();
    applySkin();

    addAndMakeVisible(hintBox);
    hintBox.setReadOnly(true);
    hintBox.setMultiLine(true, true);
    hintBox.setCaretVisible(false);
    hintBox.setScrollbarsShown(false);
    hintBox.setPopupMenuEnabled(false);
    hintBox.setReturnKeyStartsNewLine(false);
    hintBox.setInterceptsMouseClicks(false, false);
    hintBox.setWantsKeyboardFocus(false);
    hintBox.setMouseClickGrabsKeyboardFocus(false);
    hintBox.setColour(juce::TextEditor::backgroundColourId, juce::Colours::transparentBlack);
    hintBox.setColour(juce::TextEditor::outlineColourId, juce::Colours::transparentBlack);
    hintBox.setColour(juce::TextEditor::focusedOutlineColourId, juce::Colours::transparentBlack);
    hintBox.setColour(juce::TextEditor::textColourId, juce::Colours::white.withAlpha(0.8f));
    hintBox.setIndents(0, -2);
    hintBox.setText({}, juce::dontSendNotification);

    const auto bindUtility = [&state](auto& button, const char* parameterID) {
        button.bindUtilityButton(state, parameterID);
        button.parameter = state.getParameter(parameterID);
    };
    bindUtility(inertiaButton, "TapeStopInertia");
    bindUtility(stopButton, "TapeStop");
    bindUtility(orderButton, "Order");
    bindUtility(spaceOnButton, "SpaceOn");
    bindUtility(headsOnButton, "HeadsOn");
    if (auto* inertia = inertiaButton.parameter)
        inertiaButton.setValueTextFunction([inertia](float normalised) { return inertia->getText(normalised, 0); });
    for (juce::Component* button : Quillmore::componentList(inertiaButton, stopButton, orderButton, spaceOnButton, headsOnButton))
        addAndMakeVisible(button);

    addAndMakeVisible(mixModeToggle);
    addAndMakeVisible(hostSyncToggle);
    addAndMakeVisible(stereoOffsetBar);
    addAndMakeVisible(syncDivisionBar);
    syncDivisionBar.setValuePinned(true);
    addAndMakeVisible(echoSendBar);
    addAndMakeVisible(springsSendBar);
    addAndMakeVisible(echoToSpringsBar);

    addAndMakeVisible(eqGraph);
    eqGraph.setColourIds(UiLookAndFeel::displayBackgroundColourId, UiLookAndFeel::eqHighPassShadeColourId,
                         UiLookAndFeel::eqHighPassShadeEndColourId, UiLookAndFeel::eqRolloffShadeColourId,
                         UiLookAndFeel::eqRolloffShadeEndColourId);
    eqGraph.setSlopeWidth(0.11f);
    eqGraph.setRolloffWidth(0.4f);
    addAndMakeVisible(displayPanel);
    displayPanel.setInterceptsMouseClicks(false, false);

    addAndMakeVisible(outputMeter);
    outputMeter.setColourIds(UiLookAndFeel::displayBackgroundColourId, UiLookAndFeel::ledLowColourId,
                             UiLookAndFeel::ledHighColourId, UiLookAndFeel::overdriveColourId);

    addAndMakeVisible(spectrumBackground);
    addAndMakeVisible(spectrumView);
    spectrumView.setSettings(SpectrumView::Settings::forEditor());
    spectrumView.setInterceptsMouseClicks(false, false);

    xyOverlay = Quillmore::makeSpectrumXYOverlay(spectrumView, state);
    addAndMakeVisible(*xyOverlay);
    installSpectrumOverlayDragCallbacks();

    addAndMakeVisible(historyBackground);
    addAndMakeVisible(historyCentreLine);
    addAndMakeVisible(warbleHistory);
    addAndMakeVisible(warbleMeterL);
    addAndMakeVisible(warbleMeterR);
    Quillmore::setFillColourId(historyBackground);
    Quillmore::setFillColourId(spectrumBackground);
    warbleMeterL.setColourId(UiLookAndFeel::displayBackgroundColourId);
    warbleMeterR.setColourId(UiLookAndFeel::displayBackgroundColourId);
    warbleMeterR.setFillColourId(UiLookAndFeel::warbleColourId);
    warbleHistory.setLineColourId(UiLookAndFeel::warbleColourId);
    historyCentreLine.setColourId(UiLookAndFeel::historyCentreLineColourId);

    sideToggle.setButtonText({});
    addAndMakeVisible(sideToggle);
    sideToggle.setClickingTogglesState(true);
    sideToggle.getProperties().set("isPanelToggleTopCap", true);
    sideToggle.setComponentID("panelToggle");
    sideToggle.onClick = [this] { switchPage(); };

    activeSide = processorRef.activePanel.load() == 1 ? 1 : 0;
    sideToggle.setToggleState(activeSide == 1, juce::dontSendNotification);
    updateSideVisibility();

    setUpPresetControls();
    setUpOptionsDialog();

    for (juce::Button* button : {static_cast<juce::Button*>(&sideToggle), static_cast<juce::Button*>(&bypassToggle)})
    {
        button->setWantsKeyboardFocus(false);
        button->setMouseClickGrabsKeyboardFocus(false);
    }
    addAndMakeVisible(bypassToggle);
    bypassAttachment = std::make_unique<juce::AudioProcessorValueTreeState::ButtonAttachment>(state, "TrueBypass", bypassToggle);
    bypassToggle.onClick = [this] { updateBypassOverlay(); };
    lastBypassState = bypassToggle.getToggleState();
    bypassOverlay = std::make_unique<BypassOverlay>(bypassToggle);
    bypassOverlay->setFillColour(juce::Colour(bypassCoverColour));
    addChildComponent(*bypassOverlay);
    updateBypassOverlay();

    for (auto bar : {&Editor::noiseAmountBar, &Editor::noiseFreqBar, &Editor::gateDecayBar, &Editor::duckThreshBar,
                     &Editor::duckTimeBar, &Editor::masterWarbleBar, &Editor::wowBar, &Editor::wowRateBar,
                     &Editor::flutterBar, &Editor::instabilityBar, &Editor::stereoDriftBar, &Editor::blipsBar,
                     &Editor::saturationBar})
    {
        if (bar == &Editor::duckThreshBar)
            duckThreshBar.getProperties().set("rightOrigin", true);
        setUpBar(bar);
    }

    eqGraph.setVisible(activeSide == 0);
    eqAttachments = Quillmore::makeEqGraphAttachments(state, eqGraph);
    Quillmore::installEqGraphDragCallbacks(eqGraph, state);
    setUpBar(&Editor::degradationBar);

    setUpSideBToggle(hostSyncToggle, "HOST SYNC ON", "HOST SYNC OFF", UiLookAndFeel::syncOnColourId, "EchoSyncOn",
                     hostSyncAttachment);

    Quillmore::setSliderColours(syncDivisionBar, uiLookAndFeel.findColour(UiLookAndFeel::syncOnColourId),
                                juce::Colour(secondBarColour));
    setUpBar(&Editor::syncDivisionBar);
    stereoOffsetBar.getProperties().set("centerOrigin", true);
    setUpBar(&Editor::stereoOffsetBar);

    setUpBar(&Editor::springsMixBar);
    setUpBar(&Editor::echoMixBar);

    setUpSideBToggle(mixModeToggle, "SEND/RET MODE", "WET/DRY MODE", UiLookAndFeel::returnModeColourId, "SendRetMode",
                     mixModeAttachment);

    for (auto bar : {&Editor::echoSendBar, &Editor::springsSendBar, &Editor::echoToSpringsBar})
        setUpBar(bar);

    spectrumView.setVisible(activeSide == 1);
    xyOverlay->setVisible(activeSide == 1);

    feedbackBar.getProperties().set("markerValue", 100.0);
    feedbackBar.getProperties().set("overdriveThresh", 100.0);
    for (auto bar : {&Editor::echoTimeBar, &Editor::feedbackBar, &Editor::filterFreqBar, &Editor::filterQBar,
                     &Editor::lfoAmountBar, &Editor::lfoSpeedBar, &Editor::springDecayBar, &Editor::springHighPassBar,
                     &Editor::springSizeBar})
        setUpBar(bar);
    springTypeBar.getProperties().set("centerOrigin", false);
    setUpBar(&Editor::springTypeBar);
    installOwnValueTexts();

    const auto bindKnob = [this, &state](RotaryFillKnob& knob, inoutLabel& label, const char* parameterID,
                                         std::unique_ptr<juce::AudioProcessorValueTreeState::SliderAttachment>& attachment) {
        addAndMakeVisible(knob);
        attachment = std::make_unique<juce::AudioProcessorValueTreeState::SliderAttachment>(state, parameterID, knob);
        knob.setReferenceMark(100.0f);
        addAndMakeVisible(label);
        if (auto* parameter = state.getParameter(parameterID))
            knob.onValueChange = [parameter, &label] { label.showValue(parameter->getCurrentValueAsText()); };
    };
    bindKnob(inputKnob, inputLabel, "Input", inputKnobAttachment);
    bindKnob(outputKnob, outputLabel, "Output", outputKnobAttachment);

    for (auto* label : {&noiseLabel, &toneLabel, &pitchWarbleLabel, &springsLabel, &tapeEchoesLabel})
        addAndMakeVisible(label);
    springsLabel.setVisible(activeSide == 1);
    tapeEchoesLabel.setVisible(activeSide == 1);

    addHints();

    applyHeadsSectionState();
    applySpaceSectionState();
    updateSideFromProcessor();
    applySkin();

    setSize(initialWidth, initialHeight);
    setResizable(true, true);
    setResizeLimits(minimumWidth, minimumHeight, maximumWidth, maximumHeight);
    getConstrainer()->setFixedAspectRatio(aspectRatio);

    startTimer(tickMs);
}

Editor::~QuillmoreAudioProcessorEditor()
{
    stopTimer();
    hintListeners.clear();
    if (xyOverlay != nullptr)
    {
        xyOverlay->onDragStart = nullptr;
        xyOverlay->onDragEnd = nullptr;
        xyOverlay.reset();
    }
    if (&getLookAndFeel() == &uiLookAndFeel)
        setLookAndFeel(nullptr);
}

void Editor::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(windowFillColour));
}

void Editor::parentHierarchyChanged()
{
    if (refreshPending.exchange(true))
        return;
    juce::Component::SafePointer<Editor> editor(this);
    juce::MessageManager::callAsync([editor] {
        if (editor != nullptr)
            editor->handleAsyncRefresh();
    });
    if (auto* peer = getPeer())
    {
        // The software renderer, chosen again for each new window.
        peer->setCurrentRenderingEngine(0);
        resized();
        repaint();
    }
}

void Editor::handleAsyncRefresh()
{
    refreshPending = false;
    repaint();
    if (xyOverlay != nullptr)
    {
        xyOverlay->setBounds(spectrumView.getBounds());
        xyOverlay->setVisible(activeSide == 1);
        xyOverlay->toFront(false);
    }
}
