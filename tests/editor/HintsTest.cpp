// Hints in the real editor under the real mouse: each control shows its own text in the hint box while
// the pointer is over it and the box empties when the pointer leaves; controls without a hint leave
// the box alone.
#include "tests/editor/SettingsHome.h"

#include <map>
#include <string>

using namespace EditorTestBed;

namespace
{
// The texts as they must read, slips included.
const struct
{
    const char* control;
    const char* text;
} hints[] = {
    {"inertiaButton", "TAPE STOP INERTIA: Determines how long the tape takes to come to a full stop."},
    {"stopButton", "TAPE STOP/START: Does exactly what it says it does. Note: whether or not the echo and springs tails are affected by the tape stop depends on the signal flow order (Space > Heads will stop the tails, Heads > Space will not"},
    {"orderButton", "SIGNAL FLOW ORDER: Reverses the effect order, Tape Heads into Echoes/Springs or vice-versa. Do you want the echo tails warbly, filtered, and effected, or clean?"},
    {"spaceOnButton", "SPACE ON/OFF: Enables/Disables the Space effects."},
    {"headsOnButton", "HEADS ON/OFF: Enables/Disables the Tape effects, including Tape Stop. Note: the Input/Output amplifier and Saturation circuits remain active."},
    {"mixModeToggle", "MIX MODE: Send/Return vs Wet/Dry - Wet/Dry is the stardard mixing method employed by most delay/reverb plugins. Send/Return routes the effects to an internal Aux send bus, allowing for more flexible mixing without requiring additional routing within your DAW."},
    {"hostSyncToggle", "HOST TEMPO SYNC: Sync the Echo times with your host/DAW."},
    {"stereoOffsetBar", "ECHOES STEREO OFFSET: Positive values increase the echo time of the right channel, negative values decrease the time of the right channel."},
    {"syncDivisionBar", "ECHOES SYNC DIVISION: Adjusts the tempo-synced division of the echo time"},
    {"echoSendBar", "ECHOES SEND: Feeds the dry signal into the tape echoes."},
    {"springsSendBar", "SPRINGS SEND: Feeds the dry signal into the springs."},
    {"echoToSpringsBar", "ECHOES TO SPRINGS SEND: Feeds the output from the tape echoes into the springs."},
    {"bypassToggle", "MASTER BYPASS: Completely disengages the entire plugin."},
    {"noiseAmountBar", "NOISE AMOUNTt: Adjusts the volume level of the tape noise."},
    {"noiseFreqBar", "NOISE FREQUENCY: Shapes the tone of the noise, darker vs brighter."},
    {"gateDecayBar", "NOISE GATE DECAY TIME: The noise gate will smoothly turn the noise off when no audio signal is detected. This sets the decay time. Note, when set at maximum the noise gate is dis-engaged and the noise will be always on."},
    {"duckThreshBar", "NOISE DUCK THRESHOLD: An internal side-chain ducker that affects only the noise level. Set this parameter to taste to add movement and variation to the noise level. Set it fully to the right to dis-engage the noise ducker."},
    {"duckTimeBar", "NOISE DUCK TIME: An internal side-chain ducker that affects only the noise level. Set this parameter to taste to add movement and variation to the noise level. Fast vs slow duck and recovery times."},
    {"masterWarbleBar", "MASTER WARBLE: Sets the overall amount of warbles. This is a multiplier of all the below controls. At zero, none of the other warble controls have any effect, and at 100% they have maximum effect."},
    {"wowBar", "WOW AMOUNT: Sets the amount (amplitude) of low frequency fluctuations or 'wow.' Note: The 'Instability' control can affect this amplitude at random. More Instability causes more dramatic fluctuations more often."},
    {"wowRateBar", "WOW RATE: Sets the frequency (speed) of low frequency fluctuations or 'wow.' Note: The 'Instability' control can affect this frequency at random. More Instability causes more dramatic fluctuations more often."},
    {"flutterBar", "FLUTTER: Sets the amplitude and randomness of the flutter effect. Higher settings are more pronounced and more chaotic."},
    {"instabilityBar", "INSTABILITY: Introduces random fluctuations and jittery jumps in pitch, while also introducing random subtle variations to other parameters like Wow Amount and Rate."},
    {"stereoDriftBar", "STEREO DRIFT: Adds slight pitch variations between the left/right channels. Simulates the effect of 'double tracking' or recording a source to two separate tape decks. Low values produce gentle offsets of the right channel only, while higher settings become chaotic in both."},
    {"blipsBar", "BLIPS and SLIPS: Simulates the effects of a slipping pulley or a stuck tape roller, causing sudden, dramatic dips and ripples in pitch. Higher settings increase both the amplitude and probability of the blips."},
    {"saturationBar", "SATURATION: Driven by the INPUT gain circuit, this adds additional tape saturation and soft-clipping to the signal."},
    {"eqGraph", "FILTERS: The highpass filter with adjustable emphasis 'Q' can boost/soften low frequency content or cut it altogether, and the soft high frequency rolloff gently reduces highs. This works in conjunction with the 'Degredation' effect"},
    {"degradationBar", "DEGREDATION: Reduces clarity and adds random fluctuations or 'dropouts' in the upper frequencies. Simulates the effect of old tape that is losing its magnetism, and/or dirty tape/heads with heavy oxide buildup."},
    {"echoMixBar", "TAPE ECHOES MIX/RETURN: In WET/DRY mode sets wet vs dry mix. In SEND/RET mode sets the return gain of the tape echoes"},
    {"springsMixBar", "SPRINGS MIX/RETURN: In WET/DRY mode sets wet vs dry mix. In SEND/RET mode sets the return gain of the spring reverbs"},
    {"echoTimeBar", "ECHO TIME: Sets the time of the echo delay in miliseconds (un-synced)"},
    {"feedbackBar", "FEEDBACK: Sets the level of feedback for the echo delay. At 100% or above the feedback becomes infinite, a cool effect but requires careful attention to detail to avoid unpleasantries"},
    {"filterFreqBar", "ECHO FILTER FREQUENCY: Sets the base frequency of the echo filter before any LFO is applied"},
    {"filterQBar", "ECHO FILTER Q: Widens or narrows the frequency band of the echo filter. Lower Q settings result in a wider band, allowing more frequencies to pass through the feedback loop. Conversely, higher Q settings produces a narrower filter band."},
    {"lfoAmountBar", "ECHO FILTER LFO AMOUNT: A low-frequency oscillator (LFO) sweeps the filter frequency above and below its base frequency by this percentage. At 0% the LFO has no effect, and at 100% the sweep covers +/- 100% of the base frequency"},
    {"lfoSpeedBar", "ECHO FILTER LFO SPEED: A low-frequency oscillator (LFO) sweeps the filter frequency above and below its base frequency at this rate"},
    {"springDecayBar", "SPRINGS DECAY/FEEDBACK: Sets the amount of feedback in the springs circuit, which extends/shortens the reverb decay time"},
    {"springHighPassBar", "SPRINGS HIGHPASS FREQUENCY: The high-pass filter reduces low frequency rumbles and muddy feedback in the spring circuit."},
    {"springSizeBar", "SPRINGS SIZE: Adjusts the sizes of the springs. Smaller springs have snappier response times, shorter decay, and a more metallic tone, while longer springs have more decay with a smoother, fluttery sound"},
    {"springTypeBar", "SPRINGS TYPE A/B: Blends between two different spring reverb modules. Type A is dark and 'drippy' with a vintage metallic character. Type B is more modern, brighter, and more diffused. Blend them to taste"},
    {"inputKnob", "MASTER INPUT: Sets the gain level feeding into the plugin. Deeply affects gain-staging and saturation levels of both the heads and space modules"},
    {"outputKnob", "MASTER OUTPUT: Sets the output gain level of the plugin"},
};

std::map<std::string, juce::Component*> hintedControls(QuillmoreAudioProcessorEditor& e)
{
    return {{"inertiaButton", &e.inertiaButton},     {"stopButton", &e.stopButton},
            {"orderButton", &e.orderButton},         {"spaceOnButton", &e.spaceOnButton},
            {"headsOnButton", &e.headsOnButton},     {"mixModeToggle", &e.mixModeToggle},
            {"hostSyncToggle", &e.hostSyncToggle},   {"stereoOffsetBar", &e.stereoOffsetBar},
            {"syncDivisionBar", &e.syncDivisionBar}, {"echoSendBar", &e.echoSendBar},
            {"springsSendBar", &e.springsSendBar},   {"echoToSpringsBar", &e.echoToSpringsBar},
            {"bypassToggle", &e.bypassToggle},       {"noiseAmountBar", &e.noiseAmountBar},
            {"noiseFreqBar", &e.noiseFreqBar},       {"gateDecayBar", &e.gateDecayBar},
            {"duckThreshBar", &e.duckThreshBar},     {"duckTimeBar", &e.duckTimeBar},
            {"masterWarbleBar", &e.masterWarbleBar}, {"wowBar", &e.wowBar},
            {"wowRateBar", &e.wowRateBar},           {"flutterBar", &e.flutterBar},
            {"instabilityBar", &e.instabilityBar},   {"stereoDriftBar", &e.stereoDriftBar},
            {"blipsBar", &e.blipsBar},               {"saturationBar", &e.saturationBar},
            {"eqGraph", &e.eqGraph},                 {"degradationBar", &e.degradationBar},
            {"echoMixBar", &e.echoMixBar},           {"springsMixBar", &e.springsMixBar},
            {"echoTimeBar", &e.echoTimeBar},         {"feedbackBar", &e.feedbackBar},
            {"filterFreqBar", &e.filterFreqBar},     {"filterQBar", &e.filterQBar},
            {"lfoAmountBar", &e.lfoAmountBar},       {"lfoSpeedBar", &e.lfoSpeedBar},
            {"springDecayBar", &e.springDecayBar},   {"springHighPassBar", &e.springHighPassBar},
            {"springSizeBar", &e.springSizeBar},     {"springTypeBar", &e.springTypeBar},
            {"inputKnob", &e.inputKnob},             {"outputKnob", &e.outputKnob}};
}

// A point of the editor where the pointer is over the control itself, not over a child or a neighbour.
std::optional<juce::Point<float>> pointOnlyOver(QuillmoreAudioProcessorEditor& editor, juce::Component& control)
{
    const auto bounds = control.getBounds();
    for (int y = bounds.getCentreY(); y < bounds.getBottom(); y += 2)
        for (int x = bounds.getX() + 1; x < bounds.getRight(); x += 2)
            if (editor.getComponentAt(x, y) == &control)
                return juce::Point<float>(static_cast<float>(x), static_cast<float>(y));
    return std::nullopt;
}

// Where the pointer rests on the window itself, over nothing that has a hint.
const juce::Point<float> restingPoint{3.0f, 470.0f};
} // namespace

class HintsTest : public SettingsEditorFixture
{
protected:
    // Brings the control on show: its page, and for the echo time and sync division the sync mode.
    void bringOnShow(juce::Component& control)
    {
        for (int attempt = 0; attempt < 2 && !control.isShowing(); ++attempt)
        {
            processor.activePanel = 1 - editor().getActiveSide();
            editor().updateSideFromProcessor();
            if (control.isShowing())
                return;
            auto* sync = processor.apvts.getParameter("EchoSyncOn");
            sync->setValueNotifyingHost(sync->getValue() < 0.5f ? 1.0f : 0.0f);
        }
    }
};

TEST_F(HintsTest, EachControlShowsItsOwnTextWhileThePointerIsOverIt)
{
    openEditor();
    auto& window = openWindow();
    auto controls = hintedControls(editor());
    ASSERT_EQ(std::size(hints), 42u);
    for (const auto& hint : hints)
    {
        auto* control = controls.at(hint.control);
        bringOnShow(*control);
        ASSERT_TRUE(control->isShowing()) << hint.control;
        const auto point = pointOnlyOver(editor(), *control);
        ASSERT_TRUE(point.has_value()) << hint.control << " is covered everywhere";

        window.hover(*point);
        EXPECT_EQ(editor().hintBox.getText(), juce::String(hint.text)) << hint.control;
        window.hover(restingPoint);
        EXPECT_TRUE(editor().hintBox.getText().isEmpty()) << "leaving " << hint.control;
    }
}

TEST_F(HintsTest, MovingStraightOntoANeighbourShowsItsHintAndWhereNoControlHasOneNothingShows)
{
    openEditor();
    auto& window = openWindow();
    window.hover(*pointOnlyOver(editor(), editor().stopButton));
    window.hover(*pointOnlyOver(editor(), editor().inertiaButton));
    EXPECT_TRUE(editor().hintBox.getText().startsWith("TAPE STOP INERTIA:"));

    // Over the output meter, the warble history, the page tab and the bare window, nothing shows.
    window.hover(restingPoint);
    const auto hinted = hintedControls(editor());
    for (auto* unhinted : std::initializer_list<juce::Component*>{&editor().outputMeter, &editor().warbleHistory,
                                                                    &editor().sideToggle, &editor()})
    {
        const auto point = unhinted == &editor() ? juce::Point<int>(740, 300) : unhinted->getBounds().getCentre();
        for (const auto& [name, control] : hinted)
            ASSERT_NE(editor().getComponentAt(point), control) << name << " lies over the probe";
        window.hover(point.toFloat());
        EXPECT_TRUE(editor().hintBox.getText().isEmpty()) << unhinted->getName();
    }
}
