// One tick of the editor with everything it shows moving (new warble values, a new spectrum frame,
// output levels with a clip), followed by a full repaint of the window with the software renderer, as
// the framework's coalesced repaint would paint it: at the first size (750 x 475) and the largest
// (1800 x 1140), on each page. The tick alone is reported as well.
#include "editor/QuillmoreAudioProcessorEditor.h"
#include "plugin/QuillmoreAudioProcessor.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>

namespace
{
struct EditorOnItsPage
{
    EditorOnItsPage(int width, int page)
    {
        processor.activePanel = page;
        created.reset(processor.createEditor());
        editor = dynamic_cast<QuillmoreAudioProcessorEditor*>(created.get());
        editor->setSize(width, juce::roundToInt(width / QuillmoreAudioProcessorEditor::aspectRatio));
        editor->setVisible(true);
        image = juce::Image(juce::Image::ARGB, editor->getWidth(), editor->getHeight(), true);
    }

    // What the audio thread publishes after a block, a little different each time.
    void publish(int step)
    {
        const auto t = static_cast<float>(step);
        processor.warbleL = 0.5f + 0.4f * std::sin(0.11f * t);
        processor.warbleR = 0.5f + 0.4f * std::cos(0.07f * t);
        processor.outputLevelL = 0.5f + 0.45f * std::sin(0.05f * t);
        processor.outputLevelR = 0.5f + 0.45f * std::cos(0.05f * t);
        processor.clipL = step % 50 == 0;
        processor.echoFilterFrequency = 600.0f + 300.0f * std::sin(0.03f * t);
        auto& half = processor.spectrumFrames[static_cast<size_t>(processor.spectrumWriteIndex.load())];
        for (size_t i = 0; i < half.size(); ++i)
            half[i] = 0.02f * (1.0f + std::sin(0.1f * static_cast<float>(i) + 0.2f * t));
        processor.spectrumWriteIndex = 1 - processor.spectrumWriteIndex.load();
        processor.spectrumReady = true;
    }

    void repaintAll()
    {
        juce::Graphics g(image);
        editor->paintEntireComponent(g, true);
    }

    QuillmoreAudioProcessor processor;
    std::unique_ptr<juce::AudioProcessorEditor> created;
    QuillmoreAudioProcessorEditor* editor = nullptr;
    juce::Image image;
};

void EditorTickWithFullRepaint(benchmark::State& state)
{
    EditorOnItsPage bed(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    int step = 0;
    for (auto _ : state)
    {
        bed.publish(++step);
        bed.editor->timerCallback();
        bed.repaintAll();
        benchmark::ClobberMemory();
    }
    if (bed.image.getPixelAt(bed.image.getWidth() / 2, bed.image.getHeight() / 2).getAlpha() == 0)
        state.SkipWithError("the repaint painted nothing");
    state.SetLabel(state.range(1) == 0 ? "SIDE A" : "SIDE B");
}
BENCHMARK(EditorTickWithFullRepaint)
    ->Args({750, 0})
    ->Args({750, 1})
    ->Args({1800, 0})
    ->Args({1800, 1})
    ->Unit(benchmark::kMillisecond);

void EditorTickAlone(benchmark::State& state)
{
    EditorOnItsPage bed(750, static_cast<int>(state.range(0)));
    int step = 0;
    for (auto _ : state)
    {
        bed.publish(++step);
        bed.editor->timerCallback();
    }
    state.SetLabel(state.range(0) == 0 ? "SIDE A" : "SIDE B");
}
BENCHMARK(EditorTickAlone)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char** argv)
{
    // The processor scans its user folder and the editor reads its settings: both in a fresh folder,
    // never in the real home.
    const auto home = juce::File::createTempFile("editor-tick-bench");
    home.createDirectory();
    ::setenv("XDG_CONFIG_HOME", home.getFullPathName().toRawUTF8(), 1);
    int status = 0;
    {
        juce::ScopedJuceInitialiser_GUI juce;
        benchmark::Initialize(&argc, argv);
        if (benchmark::ReportUnrecognizedArguments(argc, argv))
            status = 1;
        else
            benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    }
    home.deleteRecursively();
    return status;
}
