// Where everything goes: a strip at the bottom (utility buttons, hint box), a top section (page tab,
// bypass switch, output meter) and three columns of controls between them, all in proportion to the
// window, so that the skin image and the controls over it scale together.
#include "editor/QuillmoreAudioProcessorEditor.h"

#include "editor/ComponentList.h"
#include "editor/SquareUtilityBase.h"

#include <algorithm>
#include <initializer_list>

using Editor = QuillmoreAudioProcessorEditor;

namespace
{
// Proportions are worked out in single precision and rounded halves to even.
int rnd(float value)
{
    return UtilityButtons::roundHalfEven(value);
}
} // namespace

void Editor::resized()
{
    const int W = getWidth(), H = getHeight();
    const auto w = static_cast<float>(W), h = static_cast<float>(H);

    const int bottomH = std::min(rnd(0.1f * h), H);
    const int mainH = H - bottomH;
    const int topH = std::min(rnd(0.246f * h), mainH);
    const int colH = std::max(0, mainH - topH);
    const int col1 = W / 3;
    const int col2 = std::min(W / 3, W - col1);
    const int col3 = W - col1 - col2;
    const int border = std::clamp(rnd(0.015f * w), 4, 36);
    const int c1w = std::max(0, col1 - 2 * border);
    const int c2x = col1 + border, c2w = std::max(0, col2 - 2 * border);
    const int c3x = col1 + col2 + border, c3w = std::max(0, col3 - 2 * border);
    const int labelH = std::clamp(rnd(0.05f * h), 10, 64);
    const int knob = std::clamp(rnd(0.23f * h), 30, 220);
    const int barH = std::clamp(rnd(0.047f * h), 10, 64);
    const int gapY = rnd(0.02f * h);
    const float unit = static_cast<float>(colH) / 13.65f;
    const auto row = [unit, topH, gapY](int k) { return rnd(static_cast<float>(k) * unit) + topH + gapY; };
    // Bars one to a row, from firstRow down.
    const auto stackBars = [&row, barH](int x, int width, int firstRow, std::initializer_list<juce::Component*> bars) {
        int k = firstRow;
        for (auto* bar : bars)
            bar->setBounds(x, row(k++), width, barH);
    };

    backgroundLayer.setBounds(0, 0, W, H);

    // The bottom strip, its sides, top and bottom taken off, each no more than what is left.
    {
        const int side = rnd(0.052f * w);
        const int x0 = std::min(side, W);
        const int stripW = std::max(0, W - x0 - std::min(side, W - x0));
        const int top = std::min(rnd(0.003f * h), bottomH);
        const int stripY = mainH + top;
        const int stripH = bottomH - top - std::min(rnd(0.023f * h), bottomH - top);
        const int gap = rnd(0.005f * w);

        int right = x0 + stripW;
        for (auto* button : Quillmore::componentList(inertiaButton, stopButton, orderButton, spaceOnButton, headsOnButton))
        {
            const int buttonW = std::min(stripH, right - x0);
            button->setBounds(right - buttonW, stripY, buttonW, stripH);
            right -= buttonW;
            right -= std::min(gap, right - x0);
        }
        hintArea = {x0, stripY, right - x0, stripH};
        hintBox.setBounds(hintArea);
        hintBox.setFont(juce::Font(std::clamp(static_cast<float>(hintBox.getHeight()) / 3.0f, 8.0f, 34.0f)));
    }

    sideToggle.setBounds(0, 0, W, topH);
    presetHeader.setBounds(0, 0, W, topH);

    bypassToggle.setBounds(rnd(0.85f * w), rnd(0.043f * h), rnd(0.045f * w), rnd(0.04f * h));
    if (bypassOverlay != nullptr)
    {
        bypassOverlay->setBounds(0, 0, W, H);
        bypassOverlay->switchArea = bypassToggle.getBounds();
        bypassOverlay->resized();
        bypassOverlay->repaint();
    }

    {
        const auto t = static_cast<float>(rnd(0.246f * h));
        outputMeter.setBounds(rnd(0.86f * w), rnd(0.58f * t), rnd(0.1f * w), rnd(0.2f * t));
        // In front, but without taking the keyboard focus from the host or an open dialog.
        outputMeter.toFront(false);
        outputMeter.setVisible(true);
    }

    const int knobY = topH + rnd(0.175f * static_cast<float>(colH));
    inputKnob.setBounds(border + c1w - knob, knobY, knob, knob);
    outputKnob.setBounds(c3x, knobY, knob, knob);
    const int labelY0 = knobY - border / 2 - labelH - 1;
    inputLabel.setBounds(inputKnob.getX(), std::max(0, labelY0), knob, labelH);
    outputLabel.setBounds(outputKnob.getX(), std::max(0, labelY0), knob, labelH);

    const bool onA = activeSide == 0;
    const bool onB = activeSide == 1;

    // Column 1.
    {
        const int x = 2 * border, w1 = c1w - border;
        toneLabel.setBounds(x, row(7), w1, labelH);
        toneLabel.setVisible(onA);
        eqGraph.setVisible(onA);
        eqGraph.setBounds(x + 1, row(10) + 1, w1 - 2, 3 * (rnd(2.0f * unit) - rnd(unit)));
        stackBars(x, w1, 8, {&saturationBar, &degradationBar});
        stackBars(x, w1, 7, {&hostSyncToggle, &stereoOffsetBar, &mixModeToggle, &echoSendBar, &echoToSpringsBar, &springsSendBar});
    }

    // Column 2: its heading, the display that both pages share, then the bars of each page.
    pitchWarbleLabel.setBounds(c2x, labelY0, c2w, labelH);
    pitchWarbleLabel.setVisible(onA);
    {
        const int displayY = topH + rnd(0.125f * h);
        const int displayH = rnd(0.18f * h);
        displayPanel.setBounds(c2x, displayY, c2w, displayH);

        const int p = rnd(0.005f * w);
        const int mw = std::max(rnd(0.018f * w), 4);
        const int mgap = std::max(rnd(0.2f * static_cast<float>(mw)), 2);
        const int ix = c2x + p, iy = displayY + p;
        const int ih = displayH - 2 * p;
        const int mh = std::min(ih, std::max(rnd(0.165f * h), 10));
        warbleMeterL.setBounds(ix, iy, mw, mh);
        warbleMeterR.setBounds(ix + mw + mgap, iy, mw, mh);

        const int hx = ix + 2 * mw + mgap + p;
        const int hw = std::max(1, c2x + c2w - p - hx);
        const int hh = std::max(1, ih);
        historyBackground.setBounds(hx, iy, hw, hh);
        warbleHistory.setBounds(hx, iy, hw, hh);
        historyCentreLine.setBounds(hx, iy + hh / 2, hw, 1);

        spectrumBackground.setBounds(ix, iy, std::max(1, c2w - 2 * p), hh);
        spectrumView.setBounds(spectrumBackground.getBounds());
    }
    stackBars(c2x, c2w, 6, {&masterWarbleBar, &wowBar, &wowRateBar, &flutterBar, &instabilityBar, &blipsBar, &stereoDriftBar});
    tapeEchoesLabel.setBounds(c2x, labelY0, c2w, labelH);
    tapeEchoesLabel.setVisible(onB);
    stackBars(c2x, c2w, 6, {&echoMixBar, &echoTimeBar, &feedbackBar, &filterFreqBar, &filterQBar, &lfoAmountBar, &lfoSpeedBar});
    syncDivisionBar.setBounds(c2x, row(7), c2w, barH); // in the time bar's place

    // Column 3.
    {
        const int w3 = c3w - border;
        noiseLabel.setBounds(c3x, row(7), w3, labelH);
        noiseLabel.setVisible(onA);
        springsLabel.setBounds(c3x, row(7), w3, labelH);
        springsLabel.setVisible(onB);
        stackBars(c3x, w3, 8, {&noiseAmountBar, &noiseFreqBar, &gateDecayBar, &duckTimeBar, &duckThreshBar});
        stackBars(c3x, w3, 8, {&springsMixBar, &springDecayBar, &springHighPassBar, &springSizeBar, &springTypeBar});
    }

    placePresetPopup();
    // The dialogs cover the whole window, also when it is resized while one is open.
    for (juce::Component* dialog : Quillmore::componentList(presetNameDialog, overwriteDialog, presetErrorDialog))
        dialog->setBounds(0, 0, W, H);
    optionsDialog.setBounds(0, 0, W, H);

    updateMixAndSyncControls();

    if (xyOverlay != nullptr)
    {
        xyOverlay->setBounds(spectrumView.getBounds());
        xyOverlay->setVisible(onB);
        xyOverlay->toFront(false);
    }
    if (bypassOverlay != nullptr && bypassOverlay->isVisible())
        bypassOverlay->toFront(false);
    // An open dialog stays above the bypass cover.
    for (juce::Component* dialog : Quillmore::componentList(presetNameDialog, overwriteDialog, presetErrorDialog))
        if (dialog->isVisible())
            dialog->toFront(false);
}
