// The analyser's stream side: the band layout and its table, the band sweep and the "EchoSpec"
// messages (the signal side is in EchoAnalyser.cpp).
#include "patch/space/EchoAnalyser.h"

#include "patch/core/WriteBufferSample.h"
#include "runtime/EngineInterface.h"

#include <algorithm>
#include <cmath>

namespace PRT
{
namespace
{
// Counts that arrive as message-box contents, kept to what the tables hold: a whole number in
// [low, high], NaN giving low.
float countWithin(float value, float low, float high)
{
    return value >= low ? std::min(std::trunc(value), high) : low;
}
} // namespace

void Quillmore::PRTSubpatcher_55::connectObjects()
{
    loadbang_obj_4.onFire = [this] { computeBandLayout(); };

    message_obj_23.onOutput = [this](const list& values) {
        const float lowBin = countWithin(firstElement(values), 0.0f, static_cast<float>(binFrames));
        layout.lowBin = static_cast<int32_t>(lowBin);
        builderA.lowBin = builderB.lowBin = lowBin;
        lowBinOperand = lowBin;
    };
    // The bins from the lowest to the highest; the sweep reads at least one per band.
    auto distributeBinCount = [this](float count) {
        const float bins = countWithin(count, 1.0f, static_cast<float>(binFrames));
        layout.binSpan = static_cast<int32_t>(bins);
        layout.sweepLength = std::max(layout.binSpan, dsp::EchoBandLayout::bandCount);
        const float sweepLength = static_cast<float>(layout.sweepLength);
        builderA.binCount = builderB.binCount = sweepLength;
        if (binIndex > sweepLength)
            binIndex = 0.0f;
    };
    message_obj_82.onOutput = [this, distributeBinCount](const list& values) {
        const float binCount = firstElement(values) - lowBinOperand + 1.0f;
        message_obj_31.sendMessageBoxList(binCount);
        distributeBinCount(binCount);
    };
    message_obj_31.onOutput = [distributeBinCount](const list& values) { distributeBinCount(firstElement(values)); };
    message_obj_58.onOutput = [this](const list& values) {
        const float bands = countWithin(firstElement(values), 1.0f, static_cast<float>(bandTableEntries));
        builderA.bandCount = builderB.bandCount = bands;
        builderA.loopLength = builderB.loopLength = bands;
        chunkLength = bands;
    };
    message_obj_64.onOutput = [this](const list& values) {
        binIndex = countWithin(firstElement(values), 0.0f, static_cast<float>(binFrames));
    };
    message_obj_63.onOutput = [this](const list& values) {
        bandIndex = countWithin(firstElement(values), 0.0f, static_cast<float>(bandTableEntries));
    };
    message_obj_81.onOutput = [this](const list& values) { builderA.start = firstElement(values); };
    message_obj_36.onOutput = [this](const list& values) { builderB.start = firstElement(values); };
    message_obj_141.onOutput = [this](const list& values) { sendEchoSpec(values); };

    button_obj_8.onBang = [this] { runTableBuilder(builderA); };
    button_obj_10.onBang = [this] {
        message_obj_36.output();
        runTableBuilder(builderB);
    };
    button_obj_21.onBang = [this] {
        message_obj_63.output();
        message_obj_64.output();
        if (!bandAccumulator.empty())
        {
            sendEchoSpec(bandAccumulator);
            bandAccumulator.clear();
        }
    };
    button_obj_14.onBang = [this] {
        number_obj_11.setNumberValue(bandIndex);
        bandIndex += 1.0f;
    };
    number_obj_11.onValue = [this](float band) {
        const Float64Buffer* sizes = listSizes.getView();
        const bool inside = sizes != nullptr && sizes->getData() != nullptr && band >= 0.0f &&
                            band < static_cast<float>(sizes->getSize());
        groupSize = inside ? static_cast<float>(sizes->getData()[static_cast<size_t>(band) * sizes->getChannels()])
                           : 0.0f;
        groupSizeSignal.set(groupSize);
        number_obj_91.setNumberValue(groupSize);
    };
    button_obj_107.onBang = [this] { message_obj_141.output(); };
}

void Quillmore::PRTSubpatcher_55::setupObjects()
{
    message_obj_141.setUp({frameMarker});
    message_obj_64.setUp({0.0f});
    message_obj_63.setUp({0.0f});
    message_obj_81.setUp({0.0f});
    message_obj_58.setUp({256.0f});
    message_obj_36.setUp({0.0f});
    message_obj_82.setUp({768.0f});
    message_obj_31.setUp({767.0f});
    message_obj_23.setUp({2.0f});
    for (NumberBox* box : {&number_obj_91, &number_obj_11, &number_obj_92, &number_obj_71, &number_obj_33,
                           &number_obj_52, &number_obj_85, &number_obj_69, &number_obj_27, &number_obj_45})
        box->setUp(0);
}

void Quillmore::PRTSubpatcher_55::computeBandLayout()
{
    layoutRate = getSampleRate();
    const dsp::EchoBandLayout bins = dsp::computeEchoBandLayout(layoutRate);
    message_obj_23.sendMessageBoxList(static_cast<float>(bins.lowBin));
    message_obj_23.output();
    message_obj_82.sendMessageBoxList(static_cast<float>(bins.highBin));
    message_obj_82.output();
    button_obj_10.bangButton();
    message_obj_58.output();
    message_obj_81.output();
    button_obj_8.bangButton();
}

void Quillmore::PRTSubpatcher_55::runTableBuilder(TableBuilder& builder)
{
    // The builder's boxes take their values without reporting them: four reports for each of 256
    // bands, twice per layout, would flood the processor's message queue in the very block that
    // starts the patch (the load-time layout), where it must not grow.
    Float64Buffer* sizes = listSizes.getView();
    const float end = std::min(builder.loopLength, static_cast<float>(bandTableEntries));
    for (float x = std::max(builder.start, 0.0f); x < end; x += 1.0f)
    {
        const double first = dsp::echoBandStart(builder.lowBin, builder.binCount, builder.bandCount, x);
        const double last = dsp::echoBandStart(builder.lowBin, builder.binCount, builder.bandCount, x + 1.0f) - 1.0;
        const float size = static_cast<float>(last - first + 1.0);
        builder.band.setInitialValue(x);
        builder.lastBin.setInitialValue(static_cast<float>(last));
        builder.firstBin.setInitialValue(static_cast<float>(first));
        builder.size.setInitialValue(size);
        if (sizes != nullptr)
            writeBufferSample(*sizes, size, x, 0, 0.0f);
    }
}

void Quillmore::PRTSubpatcher_55::onClock(ClockId clockId, bool, ParameterValue)
{
    if (clockId == sweepClock)
        sweepBands();
    else if (clockId == frameEndClock)
        button_obj_107.bangButton();
}

void Quillmore::PRTSubpatcher_55::sweepBands()
{
    button_obj_21.bangButton();
    const Float32Buffer* bins = binA.getView();
    const float* data = bins != nullptr ? bins->getData() : nullptr;
    const int64_t frames = data != nullptr && bins->getChannels() > 0 ? static_cast<int64_t>(bins->getSize()) : 0;
    const size_t channels = bins != nullptr ? bins->getChannels() : 0;

    for (int32_t step = 0; step < layout.sweepLength; ++step, binIndex += 1.0f)
    {
        // A band of no bins would never complete: what it gathered could only pile up.
        if (!(groupSize >= 1.0f))
            continue;
        const int64_t bin = layout.sweepBin(static_cast<int32_t>(binIndex));
        binAccumulator.push(bin >= 0 && bin < frames ? data[static_cast<size_t>(bin) * channels] : 0.0f);
        const size_t g = static_cast<size_t>(groupSize);
        while (groupSize > 0.0f && binAccumulator.size() >= g)
            completeBand(g);
    }
}

void Quillmore::PRTSubpatcher_55::completeBand(size_t g)
{
    button_obj_14.bangButton();
    float sum = 0.0f;
    for (size_t k = 0; k < g; ++k)
        sum += binAccumulator.data()[k];
    bandAccumulator.push(sum / static_cast<float>(g));
    const size_t chunk = static_cast<size_t>(chunkLength);
    while (bandAccumulator.size() >= chunk)
    {
        bandList.clear();
        for (size_t k = 0; k < chunk; ++k)
            bandList.push(bandAccumulator.data()[k]);
        sendEchoSpec(bandList);
        bandAccumulator.removeFront(chunk);
    }
    binAccumulator.removeFront(g);
}

void Quillmore::PRTSubpatcher_55::sendEchoSpec(const list& values)
{
    if (EngineInterface* engine = getEngine())
        engine->sendListMessage(tags::echoSpec.hash, 0, values, getTime());
}

} // namespace PRT
