#pragma once

#include "editor/BypassOverlay.h"
#include "editor/EQGraph.h"
#include "editor/EQGraphBindings.h"
#include "editor/HintMouseListener.h"
#include "editor/HistoryGraph.h"
#include "editor/InOutLabel.h"
#include "editor/InertiaButton.h"
#include "editor/OnOffButtons.h"
#include "editor/OptionsDialog.h"
#include "editor/OrderButton.h"
#include "editor/OvalBypassToggle.h"
#include "editor/OverlayBarSlider.h"
#include "editor/PanelBackgroundLayer.h"
#include "editor/PanelToggleShapedHitTest.h"
#include "editor/OverwritePresetDialog.h"
#include "editor/PresetErrorDialog.h"
#include "editor/PresetHeader.h"
#include "editor/PresetNameDialog.h"
#include "editor/PresetPopup.h"
#include "editor/ParamToggleButton.h"
#include "editor/RotaryFillKnob.h"
#include "editor/SettingsFile.h"
#include "editor/SkinPalette.h"
#include "editor/SolidFill.h"
#include "editor/SpectrumView.h"
#include "editor/SpectrumXYOverlay.h"
#include "editor/StaticLabel.h"
#include "editor/StereoLedVUMeter.h"
#include "editor/StopButton.h"
#include "editor/UiLookAndFeel.h"
#include "editor/VerticalMeter.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>
#include <memory>
#include <vector>

class QuillmoreAudioProcessor;

// The plug-in's window: two pages ("SIDE A" with the Heads controls, "SIDE B" with the Space
// controls) over a skin image, the controls bound to the host parameters, and a 16 ms tick that
// follows the processor. Every member function runs on the message thread.
class QuillmoreAudioProcessorEditor : public juce::AudioProcessorEditor, public juce::Timer
{
public:
    using inoutLabel = InOutLabel;
    using StaticLabel = ::StaticLabel;
    using OverlayBarSlider = ::OverlayBarSlider;
    using RotaryFillKnob = ::RotaryFillKnob;
    using SolidFill = ::SolidFill;
    using DarkGreyBckgnd = ::DarkGreyBckgnd;
    using StereoLedVUMeter = ::StereoLedVUMeter;
    using VerticalMeter = ::VerticalMeter;
    using HistoryGraph = ::HistoryGraph;
    using PanelBackgroundLayer = ::PanelBackgroundLayer;
    using BypassOverlay = ::BypassOverlay;
    using OptionsDialog = ::OptionsDialog;
    using HintMouseListener = ::HintMouseListener;

    static constexpr int initialWidth = 750;
    static constexpr int initialHeight = 475;
    static constexpr int minimumWidth = 450;
    static constexpr int minimumHeight = 285;
    static constexpr int maximumWidth = 1800;
    static constexpr int maximumHeight = 1140;
    static constexpr double aspectRatio = 750.0 / 475.0;
    static constexpr int tickMs = 16;
    static constexpr int spectrumFrameSize = 256;
    // How long the clip lights stay lit after the last block that clipped, and how long the echo
    // filter's bars keep showing their values after the spectrum handle is dropped.
    static constexpr double clipHoldMs = 1000.0;
    static constexpr int xyHighlightHoldMs = 800;
    // The delay of the spectrum view's hard sync, re-armed on every tick.
    static constexpr int hardSyncDelayMs = 120;

    explicit QuillmoreAudioProcessorEditor(QuillmoreAudioProcessor& processor);
    ~QuillmoreAudioProcessorEditor() override;

    void paint(juce::Graphics& g) override;
    void paintOverChildren(juce::Graphics& g) override;
    void resized() override;
    void parentHierarchyChanged() override;
    void timerCallback() override;

    // Pages, section switches and the bypass cover.
    void updateSideVisibility();
    void updateSideFromProcessor();
    void updateSideAccentColour();
    void updateMixAndSyncControls();
    void applyHeadsSectionState();
    void applySpaceSectionState();
    void setComponentDimmed(juce::Component& component, bool enabled, float dimAlpha, float newCoverAlpha);
    void updateBypassOverlay();
    // Installs the stored skin: its colours into the look and feel and the bars, its images behind
    // the pages.
    void applySkin();

    // The options dialog over the whole window, showing the stored choices.
    void showOptionsDialog();
    // Hints: each control's listener writes its text into the hint box while hints are on.
    void addHint(juce::Component& control, const juce::String& text);
    void clearHint();
    bool areHintsShown() const { return showHints; }

    // Preset header, browser and dialogs (their operations live in the editor's presets file).
    void togglePresetPopup();
    // Loads the previous (-1) or next (+1) preset of the factory catalogue or of the user presets,
    // whichever the current preset came from, wrapping round at the ends.
    void stepPreset(int direction);
    void openLogoPage();
    // Places the browser's panel under the header's name box, within the window.
    void placePresetPopup();
    // The name dialog, proposing the current preset's name without its modified mark.
    void showPresetNameDialog();
    void saveCopyOfPreset(const juce::String& proposedName);
    void saveAsUserPreset(const juce::String& name);
    void confirmOverwrite(int index);
    void cancelOverwrite(const juce::String& typedName);
    void beginRename(int index);
    void finishRename(int index, const juce::String& name);
    void deleteUserPreset(int index);
    void showPresetFolder();
    void chooseFactoryPreset(const juce::String& resourceName, const juce::String& displayName);
    void chooseUserPreset(int index);
    // How the preset folder is shown to the user; tests put something harmless in its place.
    std::function<void(const juce::File&)> revealPresetFolder = [](const juce::File& folder) { folder.revealToUser(); };

    int getActiveSide() const { return activeSide; }
    bool isHeadsActive() const { return headsActive; }
    bool isSpaceActive() const { return spaceActive; }
    const std::vector<juce::Component*>& getDimmedComponents() const { return dimmedComponents; }
    float getCoverAlpha() const { return coverAlpha; }
    juce::Rectangle<int> getHintArea() const { return hintArea; }
    bool isRefreshPending() const { return refreshPending.load(); }

    // One bar of the table: which member, its caption, its parameter and its page (0 SIDE A, 1 SIDE B).
    struct BarEntry
    {
        OverlayBarSlider QuillmoreAudioProcessorEditor::*bar;
        const char* caption;
        const char* parameterID;
        int side;
    };
    static constexpr int barCount = 31;
    // The bars in declaration order.
    static const std::array<BarEntry, barCount>& barTable();

private:
    // The tick's steps, in the order it takes them.
    void followSectionSwitches();
    void followBypass();
    void showWarble();
    void showSpace(double now);
    void showOutputMeter(double now);
    // The texts of the mix bars and the size bar, and the spectrum handle's pinning of the echo
    // filter's bars.
    void installOwnValueTexts();
    void installSpectrumOverlayDragCallbacks();

    void switchPage();
    void handleAsyncRefresh();
    void setUpBar(OverlayBarSlider QuillmoreAudioProcessorEditor::*bar);
    void setUpSideBToggle(ParamToggleButton& toggle, const juce::String& onText, const juce::String& offText,
                          int onColourId, const juce::String& parameterID,
                          std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment>& attachment);
    std::vector<juce::Component*> sideAComponents();
    std::vector<juce::Component*> sideBComponents();
    int storedSkinNumber();
    void setUpOptionsDialog();
    void addHints();
    void setUpPresetControls();
    void installSaveHandlers();
    void reportPresetFailure(const juce::String& title, const juce::String& message);
    void reportSettingsNotSaved();

public:
    // Components, in the order in which they are built (and destroyed in reverse). Public so that the
    // tests can find and drive them; nothing outside the editor and its tests touches them.
    PanelBackgroundLayer backgroundLayer;
    std::unique_ptr<SpectrumView::SpectrumXYOverlay> xyOverlay;
    UtilityButtons::InertiaButton inertiaButton;
    UtilityButtons::StopButton stopButton;
    UtilityButtons::OrderButton orderButton;
    UtilityButtons::SpaceOnButton spaceOnButton;
    UtilityButtons::HeadsOnButton headsOnButton;

    QuillmoreAudioProcessor& processorRef;

private:
    SkinPalette skinPalette;
    std::atomic<bool> refreshPending{false};
    std::vector<juce::Component*> dimmedComponents;
    float coverAlpha = 0.12f;
    bool headsActive = true, spaceActive = true;

public:
    PresetHeader presetHeader{processorRef};
    using PresetPopup = ::PresetPopup;
    using PresetNameDialog = ::PresetNameDialog;
    using OverwritePresetDialog = ::OverwritePresetDialog;
    PresetPopup presetPopup;
    PresetNameDialog presetNameDialog;
    OverwritePresetDialog overwriteDialog;
    PresetErrorDialog presetErrorDialog;
    OptionsDialog optionsDialog;
    SettingsFile settings;
    PanelToggleShapedHitTest sideToggle;
    OvalBypassToggle bypassToggle;
    std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment> bypassAttachment;
    std::unique_ptr<BypassOverlay> bypassOverlay;

private:
    bool lastBypassState = false;

public:
    ParamToggleButton hostSyncToggle;
    ParamToggleButton mixModeToggle;
    SpectrumView spectrumView;

private:
    std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment> hostSyncAttachment, mixModeAttachment;
    UiLookAndFeel uiLookAndFeel;

public:
    EQGraph eqGraph;

private:
    Quillmore::EqGraphAttachments eqAttachments;
    int activeSide = 0;

public:
    inoutLabel inputLabel{"INPUT"}, outputLabel{"OUTPUT"};
    StaticLabel noiseLabel{"NOISE"}, toneLabel{"TONE"}, pitchWarbleLabel{"PITCH WARBLE"}, springsLabel{"SPRINGS"},
        tapeEchoesLabel{"TAPE ECHOES"};

    OverlayBarSlider masterWarbleBar, wowBar, wowRateBar, flutterBar, instabilityBar, stereoDriftBar, blipsBar,
        saturationBar, lfoAmountBar, lfoSpeedBar, filterFreqBar, filterQBar, springsMixBar, echoTimeBar, noiseFreqBar,
        noiseAmountBar, echoMixBar, feedbackBar, gateDecayBar, duckTimeBar, duckThreshBar, springSizeBar,
        springDecayBar, springHighPassBar, degradationBar, springTypeBar, stereoOffsetBar, syncDivisionBar,
        echoSendBar, springsSendBar, echoToSpringsBar;

private:
    std::array<std::unique_ptr<juce::AudioProcessorValueTreeState::SliderAttachment>, barCount> sliderAttachments;

public:
    RotaryFillKnob inputKnob, outputKnob;

private:
    std::unique_ptr<juce::AudioProcessorValueTreeState::SliderAttachment> inputKnobAttachment, outputKnobAttachment;

public:
    SolidFill displayPanel{juce::Colour(0xff05080a)};
    SolidFill historyCentreLine{juce::Colour(0x5ac86edc)};
    DarkGreyBckgnd historyBackground{juce::Colour(0xff141928)};
    DarkGreyBckgnd spectrumBackground{juce::Colour(0xff141928)};
    StereoLedVUMeter outputMeter;
    VerticalMeter warbleMeterL{juce::Colour(0xff05080a), juce::Colour(0xffffffff)};
    VerticalMeter warbleMeterR{juce::Colour(0xff05080a), juce::Colour(0xffff32b4)};
    HistoryGraph warbleHistory{juce::Colour(0xffff32b4), juce::Colour(0xffffffff), 0.65f};

private:
    std::array<float, spectrumFrameSize> spectrumFrame{};
    double lastClipTimeL = -1.0, lastClipTimeR = -1.0;
    juce::int64 xyHighlightDeadlineMs = 0;
    bool showHints = true;
    juce::Rectangle<int> hintArea;

public:
    juce::TextEditor hintBox;

private:
    std::vector<std::unique_ptr<HintMouseListener>> hintListeners;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(QuillmoreAudioProcessorEditor)
};
