#include "patch/space/TapeDelay.h"

#include "patch/core/GeneratedLists.h"
#include "patch/core/SteadySignal.h"
#include "runtime/EngineInterface.h"

#include <cmath>
#include <cstdint>

namespace PRT
{
namespace
{
// The note divisions in beats, "1/64" to "WHOLE".
const list& syncDivisions()
{
    static const list divisions = makeSyncDivisionList();
    return divisions;
}

// The coefficient of a follower whose glide time is g samples: 1 / max(1, |g|).
float followerCoefficient(float g)
{
    const float magnitude = std::fabs(g);
    return magnitude > 1.0f ? 1.0f / magnitude : 1.0f;
}
} // namespace

Quillmore::PRTSubpatcher_48::PRTSubpatcher_48() : GeneratedPatcher({"TapeDelayOG", 2, 2})
{
    forwardsMusicalTime = true;
    glidePack.reserve(8);
    syncDivisions();

    number_obj_48.onValue = [this](float ms) {
        echoTimeMs = ms;
        message_obj_42.sendMessageBoxList(ms);
        message_obj_42.output();
    };
    message_obj_42.onOutput = [this](const list& content) { releaseFreeTime(content); };
    toggle_obj_113.onValue = [this](float on) {
        syncGate = on;
        freeGate = 1.0f - on;
    };
    number_obj_101.setRange(0.0f, 18.0f);
    number_obj_101.onValue = [this](float index) { computeSyncedTime(index); };
    message_obj_30.onOutput = [this](const list& content) { hostTempo = firstOrZero(content); };
    number_obj_103.onValue = [this](float ms) {
        if (syncGate == 1.0f)
            convertTime(ms);
    };
    number_obj_132.setRange(-1.0f, 1.0f);
    number_obj_132.onValue = [this](float offset) { stereoOffsetTarget = offset * offset * offset * 0.75f; };
    number_obj_68.onValue = [this](float rate) { lfoRate = rate; };
    message_obj_67.onOutput = [this](const list& content) { glideTopMs = firstOrZero(content); };
    message_obj_56.onOutput = [this](const list& content) { glideRamp.receiveValues(content); };
    glideRamp.onOutput = [this](float samples) {
        glideTime = samples;
        offsetGlideTime = samples * 0.25f;
    };

    button_obj_40.onBang = [this] { runSampleRateChain(); };
    button_obj_45.onBang = [this] { message_obj_42.output(); };
    button_obj_76.onBang = [this] { sendGlidePack(); };
    button_obj_108.onBang = [this] { number_obj_101.setNumberValue(number_obj_101.getValue()); };
    button_obj_115.onBang = [this] {
        computeSyncedTime(number_obj_101.getValue());
        message_obj_42.output();
    };
    loadbang_obj_90.onFire = [this] { button_obj_40.bangButton(); };
}

void Quillmore::PRTSubpatcher_48::createChildren()
{
    feedbackAmp = createChild<PRTSubpatcher_32>();
    biquad = createChild<PRTSubpatcher_33>();
}

void Quillmore::PRTSubpatcher_48::setLfoAmountInput(float amount)
{
    lfoAmountInput = amount;
    lfoAmount = amount * lfoAmountFactor;
}

void Quillmore::PRTSubpatcher_48::setHostTempoInput(float tempo)
{
    message_obj_30.sendMessageBoxList(tempo);
    hostTempo = firstOrZero(message_obj_30.getContent());
    button_obj_108.bangButton();
}

void Quillmore::PRTSubpatcher_48::setSyncOnInput(float syncOn)
{
    // A switch still pending is not cancelled: each switch re-sends 5 ms after it.
    scheduleOwnClock(syncDelayClock, syncDelayMs);
    toggle_obj_113.setToggleValue(syncOn);
}

void Quillmore::PRTSubpatcher_48::onClock(ClockId clockId, bool, ParameterValue)
{
    if (clockId == syncDelayClock)
        button_obj_115.bangButton();
}

void Quillmore::PRTSubpatcher_48::releaseFreeTime(const list& content)
{
    if (freeGate != 1.0f)
        return;
    if (content.size() >= 2)
        msToSamples = content[1];
    convertTime(firstOrZero(content));
}

void Quillmore::PRTSubpatcher_48::computeSyncedTime(float index)
{
    const float clamped = index < 0.0f ? 0.0f : (index > 18.0f ? 18.0f : index);
    const auto i = static_cast<size_t>(clamped);
    const float msPerBeat = hostTempo > 0.0f ? 60000.0f / hostTempo : 60000.0f;
    // Indexes 16 to 18 read past the table: 0, with the list's one-time report.
    const float beats = syncDivisions()[i];
    number_obj_103.setNumberValue(msPerBeat * beats);
}

void Quillmore::PRTSubpatcher_48::convertTime(float ms)
{
    const float samples = ms * msToSamples;
    echoTime.set(samples);
    message_obj_54.sendMessageBoxList(samples);
}

void Quillmore::PRTSubpatcher_48::runSampleRateChain()
{
    const float sampleRate = getSampleRate();
    storedSampleRate = sampleRate;
    message_obj_67.output();
    button_obj_76.bangButton(); // the glide program with the previous rate's X
    const float perMs = sampleRate * 0.001f;
    const float top = perMs * glideTopMs;
    number_obj_14.setNumberValue(top);
    glidePackSamples = top;
    msToSamples = perMs;
    button_obj_45.bangButton();
    // The synced time is re-sent too, so that its milliseconds hold at the new rate.
    if (syncGate == 1.0f)
        computeSyncedTime(number_obj_101.getValue());
}

void Quillmore::PRTSubpatcher_48::sendGlidePack()
{
    glidePack.clear();
    for (float value : {0.0f, 0.0f, 0.0f, 200.0f, glidePackSamples, 500.0f})
        glidePack.push(value);
    message_obj_56.sendMessageBoxList(glidePack);
    message_obj_56.output();
}

void Quillmore::PRTSubpatcher_48::setupObjects()
{
    sizeLine(left, delaytilde_01_del_bufferobj, getSampleRate(), false);
    message_obj_27.setUp({1.1f});
    sizeLine(right, delaytilde_02_del_bufferobj, getSampleRate(), false);
    message_obj_54.setUp({20409.447f});
    number_obj_48.setUp(NumberBox::floatFormat);
    message_obj_42.setUp({425.19684f});
    numberTilde_obj_5.setUp(SignalMonitor::FollowInput);
    echoTime.setLastValue(0.0f);
    message_obj_56.setUp({0.0f, 0.0f, 0.0f, 200.0f, 30870.0f, 500.0f});
    number_obj_68.setUp(NumberBox::floatFormat);
    message_obj_67.setUp({700.0f});
    numberTilde_obj_161.setUp(SignalMonitor::FollowInput);
    number_obj_14.setUp(NumberBox::floatFormat);
    number_obj_132.setUp(NumberBox::floatFormat);
    number_obj_103.setUp(NumberBox::floatFormat);
    number_obj_101.setUp(0);
    message_obj_30.setUp({1.0f});
    feedbackAmp->setupObjects();
    biquad->setupObjects();
}

// The line's maximum delay S = max(2, floor(5 × sr)) in the power of two C that holds it. At set-up
// the storage is only asked for; at prepare it is resized to C (cleared, the engine told).
void Quillmore::PRTSubpatcher_48::sizeLine(dsp::CrossfadedDelay& line, OwnedFloatDataRef& storage, float sampleRate,
                                           bool resize)
{
    line.line().setMaximumDelay(static_cast<double>(maximumSeconds * sampleRate));
    if (!resize)
    {
        storage.requestFrames(line.line().requiredCapacity());
        return;
    }
    storage.resizeFrames(line.line().requiredCapacity());
    line.line().bind({storage.getSamples(), storage.getFrameCount()});
    line.line().rewindIfBeyondMaximum();
    // No crossfade: a new time takes effect one sample later; the next time read is held afresh.
    line.setCrossfade(sampleRate, 0.0f);
}

void Quillmore::PRTSubpatcher_48::bindLines()
{
    left.line().bind({delaytilde_01_del_bufferobj.getSamples(), delaytilde_01_del_bufferobj.getFrameCount()});
    right.line().bind({delaytilde_02_del_bufferobj.getSamples(), delaytilde_02_del_bufferobj.getFrameCount()});
}

void Quillmore::PRTSubpatcher_48::bindCosineTable()
{
    const Float64Buffer* view = cosineTable.getView();
    lfo.bindTable(view != nullptr ? dsp::SampleSpan{view->getData(), view->getSize()} : dsp::SampleSpan{});
}

void Quillmore::PRTSubpatcher_48::allocateDataRefs()
{
    // The LFO's table (16384 samples of the top level's shared cosine) exists from here on, whichever
    // module asked for it first.
    cosineTable.requestFrames(dsp::kCosineTableSize, 1, getSampleRate());
    cosineTable.allocateNow();
    GeneratedPatcher::allocateDataRefs();
    bindLines();
    bindCosineTable();
}

void Quillmore::PRTSubpatcher_48::processDataViewUpdate(DataRefIndex index, MillisecondTime time)
{
    GeneratedPatcher::processDataViewUpdate(index, time);
    if (index == delaytilde_01_del_bufferobj.getIndex() || index == delaytilde_02_del_bufferobj.getIndex())
        bindLines();
    else if (index == Quillmore::cosineTableIndex)
        bindCosineTable();
}

void Quillmore::PRTSubpatcher_48::prepareSignalObjects(bool changed)
{
    if (signalObjectsReady && !changed)
        return;
    signalObjectsReady = true;
    const float sampleRate = getSampleRate();
    lfo.prepare(sampleRate);
    if (!(sampleRate == storedSampleRate))
        runSampleRateChain();
    sizeLine(left, delaytilde_01_del_bufferobj, sampleRate, true);
    sizeLine(right, delaytilde_02_del_bufferobj, sampleRate, true);
    limiter.prepare(sampleRate);
}

void Quillmore::PRTSubpatcher_48::processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n)
{
    SampleValue* ts = timeL.get();
    SampleValue* tr = timeR.get();
    SampleValue* m = modulation.get();

    // The echo time in samples as it arrived during the block, glided; the right line's time
    // offset by the glided factor k: TR = Ts + Ts × k.
    echoTime.render(ts, n);
    const float c1 = followerCoefficient(glideTime);
    const float c2 = followerCoefficient(offsetGlideTime);
    const float k = stereoOffsetTarget;
    const float amount = lfoAmount;
    const float rate = lfoRate;
    float y = glidedTime;
    float z = offsetFactor;
    // With one echo time over the block, a step that leaves both followers as they were leaves them
    // so for good: the rest of the block repeats that sample.
    const bool oneTime = holdsOneValue(ts, n);
    Index i = 0;
    while (i < n)
    {
        const float yBefore = y;
        const float zBefore = z;
        y += (ts[i] - y) * c1;
        z += (k - z) * c2;
        ts[i] = y;
        tr[i] = y + y * z;
        ++i;
        if (oneTime && sameBits(y, yBefore) && sameBits(z, zBefore))
        {
            fillSignalRange(ts, n, y, i);
            fillSignalRange(tr, n, tr[i - 1], i);
            break;
        }
    }
    glidedTime = y;
    offsetFactor = z;
    lfo.render(m, n, lfo.increment(rate));
    for (Index j = 0; j < n; ++j)
        m[j] *= amount;
    numberTilde_obj_5.process(ts, nullptr, n);
    numberTilde_obj_161.process(tr, nullptr, n);

    // The lines take the input at 0.9 plus last block's feedback (gathered in the filter's output
    // buffers, free until the filter runs).
    SampleValue* filtered[] = {filteredL.get(), filteredR.get()};
    const SampleValue* inL = inputs[0];
    const SampleValue* inR = inputs[1];
    const SampleValue* fbL = feedbackL.get();
    const SampleValue* fbR = feedbackR.get();
    SampleValue* xL = filtered[0];
    SampleValue* xR = filtered[1];
    for (Index i = 0; i < n; ++i)
    {
        xL[i] = static_cast<float>(0.9 * static_cast<double>(inL[i])) + fbL[i];
        xR[i] = static_cast<float>(0.9 * static_cast<double>(inR[i])) + fbR[i];
    }
    SampleValue* yL = delayedL.get();
    SampleValue* yR = delayedR.get();
    left.process(ts, xL, yL, n);
    right.process(tr, xR, yR, n);

    const SampleValue* filterInputs[] = {yL, yR, m};
    biquad->process(filterInputs, 3, filtered, 2, n);
    limiter.process(filtered[0], filtered[1], outputs[0], outputs[1], n);
    const SampleValue* ampInputs[] = {filtered[0], filtered[1]};
    SampleValue* ampOutputs[] = {feedbackL.get(), feedbackR.get()};
    feedbackAmp->process(ampInputs, 2, ampOutputs, 2, n);
}

} // namespace PRT
