// The analyser's signal side: the windowed frame, its transform, "binA" and the clocks that drive the
// band sweep and the frame end (the sweep and the stream are in EchoSpectrumStream.cpp).
#include "patch/space/EchoAnalyser.h"

#include "patch/space/BlackmanWindow.h"

#include <algorithm>
#include <cmath>

namespace PRT
{
namespace
{
constexpr int64_t sweepPosition = 2049;

// Beyond this a frame's transform could overflow single precision and turn its bins into NaN.
constexpr float largestAnalysedSample = 1.0e15f;
} // namespace

Quillmore::PRTSubpatcher_55::PRTSubpatcher_55() : GeneratedPatcher({"Echo", 1, 0})
{
    dsp::fillPeriodicBlackman(window.data(), frameSize);
    // Room for the widest band (every bin of "binA") and the longest band list (a value for every
    // entry of the band table), so that the sweep never grows them.
    binAccumulator.reserve(binFrames);
    bandAccumulator.reserve(bandTableEntries);
    bandList.reserve(bandTableEntries);
    connectObjects();
}

void Quillmore::PRTSubpatcher_55::allocateDataRefs()
{
    const float sampleRate = getSampleRate();
    binA.requestFrames(binFrames, 1, sampleRate);
    listSizes.requestFrames(bandTableEntries, 1, sampleRate);
    logLists.requestFrames(bandTableEntries, 1, sampleRate);
    GeneratedPatcher::allocateDataRefs();
}

void Quillmore::PRTSubpatcher_55::prepareSignalObjects(bool changed)
{
    if (changed)
    {
        analysisFrame.fill(0.0f);
        spectrumPower.fill(0.0f);
        framePosition = 0;
    }
    if (!(getSampleRate() == layoutRate))
        computeBandLayout();
}

void Quillmore::PRTSubpatcher_55::processBlock(const SampleValue* const* inputs, SampleValue* const*, Index n)
{
    Index done = 0;
    while (done < n)
    {
        const Index span = std::min<Index>(n - done, static_cast<Index>(frameSize - framePosition));
        analyseSpan(inputs[0], done, span);
        done += span;
    }

    groupSizeSignal.render(groupSizeValues.get(), n);
    scope_obj_65.process(groupSizeValues.get(), n);
}

void Quillmore::PRTSubpatcher_55::analyseSpan(const SampleValue* input, Index offset, Index n)
{
    const int64_t p = framePosition;
    const SampleValue* x = input + offset;
    const float* w = window.data() + p;
    float* frame = analysisFrame.data() + p;
    // A non-finite sample counts as silence, a huge one as the largest analysed: neither may poison
    // a whole frame's bins.
    for (Index i = 0; i < n; ++i)
    {
        const float v = x[i] == x[i] ? x[i] : 0.0f;
        frame[i] = w[i] * std::min(std::max(v, -largestAnalysedSample), largestAnalysedSample);
    }

    // Each position reads out the power of the same bin of the previous frame.
    if (Float32Buffer* bins = binA.getView())
    {
        const size_t channels = bins->getChannels();
        float* data = bins->getData();
        const int64_t frames = static_cast<int64_t>(bins->getSize());
        if (data != nullptr && channels > 0 && frames > 0)
        {
            const int64_t end = std::min<int64_t>(p + n, frames);
            for (int64_t k = p; k < end; ++k)
                data[static_cast<size_t>(k) * channels] = spectrumPower[static_cast<size_t>(k)];
            bins->getDataRef()->setTouched(true);
        }
    }

    // The two marker states fall at position 0 and rise at 2049 and at 4095.
    if (p == 0)
    {
        if (pastHalf)
            scheduleAtSample(sweepEndClock, offset);
        if (atFrameEnd)
            scheduleAtSample(frameRestartClock, offset);
        pastHalf = atFrameEnd = false;
    }
    if (!pastHalf && p + n > sweepPosition)
    {
        pastHalf = true;
        scheduleAtSample(sweepClock, offset + static_cast<Index>(std::max<int64_t>(sweepPosition - p, 0)));
    }

    framePosition = p + n;
    if (framePosition == frameSize)
    {
        atFrameEnd = true;
        scheduleAtSample(frameEndClock, offset + n - 1);
        transform.compute(analysisFrame.data(), spectrumPower.data());
        framePosition = 0;
    }
}

void Quillmore::PRTSubpatcher_55::scheduleAtSample(ClockId clockId, Index sample)
{
    scheduleOwnClock(clockId, static_cast<double>(sample) * 1000.0 / static_cast<double>(getSampleRate()));
}

} // namespace PRT
