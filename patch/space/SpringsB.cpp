#include "patch/space/SpringsB.h"

#include "patch/core/FourLanes.h"
#include "patch/core/GeneratedMath.h"
#include "patch/core/SignalBuffer.h"
#include "patch/core/SteadySignal.h"

#include <cmath>

namespace PRT
{
namespace
{
// Stage times in ms per position: one channel's time is the size factor times a constant, the
// other's that time times a ratio (the left from the right at position 3).
struct StageTime
{
    double factor;
    double ratio;
    bool leftFirst;
};
constexpr StageTime stageTimes[Quillmore::PRTSubpatcher_49::numStages] = {
    {8.6428, 0.99, true}, {14.3, 0.97, true}, {3.3, 0.95, false}, {8.651, 0.92, true}, {13.299, 0.9, true}};

float stageTimeMs(int position, bool isLeft, float sizeFactor)
{
    const StageTime& t = stageTimes[position];
    const auto first = static_cast<float>(static_cast<double>(sizeFactor) * t.factor);
    return isLeft == t.leftFirst ? first : static_cast<float>(static_cast<double>(first) * t.ratio);
}

// Far beyond any level that audio through the chain reaches (its gain is bounded by the feedback's
// resonance), yet far from overflow.
constexpr float overflowLevel = 1e9f;

float finiteOr(float value, float fallback)
{
    return std::isfinite(value) ? value : fallback;
}
} // namespace

Quillmore::PRTSubpatcher_49::PRTSubpatcher_49() : GeneratedPatcher({"SpringsB", 2, 2})
{
    for (NumberBox* gain : {&number_obj_86, &number_obj_47, &number_obj_21, &number_obj_80, &number_obj_23,
                            &number_obj_25, &number_obj_76})
        gain->setRange(0.0f, 1.0f);
    NumberBox* positions[numStages] = {&number_obj_47, &number_obj_21, &number_obj_80, &number_obj_25, &number_obj_76};
    for (int k = 0; k < numStages; ++k)
        positions[k]->onValue = [this, k](float gain) { stageGains[static_cast<size_t>(k)] = gain; };
    number_obj_86.onValue = [this](float feedback) { leftFeedback = rightFeedback = feedback; };
    number_obj_94.onValue = [this](float time) {
        rightDelayTime = time;
        leftDelayTime = time * leftDelayFactor;
    };
    slider_obj_88.onValue = [this](float feedback) { number_obj_86.setNumberValue(feedback); };
    // A factor that is not finite would stay in the glide for good: the size holds instead.
    slider_obj_96.onValue = [this](float factor) {
        if (std::isfinite(factor))
            sizeControl.set(factor);
    };
    for (dsp::Allpass* stage : {&leftStages[0], &leftStages[1], &leftStages[2], &leftStages[3], &leftStages[4],
                                &rightStages[0], &rightStages[1], &rightStages[2], &rightStages[3], &rightStages[4]})
        stage->setMaximumDelay(allpassMaximumDelay);
    leftDelay.line().setMaximumDelay(feedbackMaximumDelay);
    rightDelay.line().setMaximumDelay(feedbackMaximumDelay);
}

void Quillmore::PRTSubpatcher_49::setDecayInput(float springDecay)
{
    const float c = scaleValue(springDecay, 0.0f, 100.0f, 1.05f, 1.35f, 1.0f);
    number_obj_25.setNumberValue(c * 0.25f);
    number_obj_80.setNumberValue(c * 0.35f);
    number_obj_21.setNumberValue(c * 0.45f);
    number_obj_76.setNumberValue(c * 0.4f);
    number_obj_47.setNumberValue(c * 0.4f);
    const float feedback = scaleValue(springDecay * 0.01f, 0.0f, 1.0f, 0.33f, 0.96f, 0.5f);
    slider_obj_88.setSliderFromRange(feedback, 0.0f, 1.0f);
}

void Quillmore::PRTSubpatcher_49::setSizeInput(float springSize)
{
    slider_obj_96.setSliderFromRange(scaleValue(springSize, 4.0f, 12.0f, 1.25f, 2.25f, 1.0f), 0.0f, 5.0f);
}

void Quillmore::PRTSubpatcher_49::setupObjects()
{
    for (const BoundLine& bound : boundLines())
        bound.storage->requestFrames(bound.line->requiredCapacity());
    number_obj_94.setUp(0);
    for (NumberBox* box : {&number_obj_86, &number_obj_47, &number_obj_21, &number_obj_80, &number_obj_23,
                           &number_obj_25, &number_obj_76})
        box->setUp(NumberBox::floatFormat);
    sizeControl.setLastValue(scaleValue(slider_obj_96.getPosition(), 0.0f, 128.0f, 0.0f, 5.0f, 1.0f));
    numberTilde_obj_145.setUp(SignalMonitor::FollowInput);
}

std::array<Quillmore::PRTSubpatcher_49::BoundLine, 22> Quillmore::PRTSubpatcher_49::boundLines()
{
    // Allpass 01 to 05 are the left positions 5, 1, 4, 3, 2; allpass 06 to 10 the right ones.
    auto& l = leftStages;
    auto& r = rightStages;
    return {{{&delaytilde_03_del_bufferobj, &leftDelay.line()},
             {&allpass_tilde_01_feedForward_bufferobj, &l[4].feedForward()},
             {&allpass_tilde_01_feedBack_bufferobj, &l[4].feedBack()},
             {&allpass_tilde_02_feedForward_bufferobj, &l[0].feedForward()},
             {&allpass_tilde_02_feedBack_bufferobj, &l[0].feedBack()},
             {&allpass_tilde_03_feedForward_bufferobj, &l[3].feedForward()},
             {&allpass_tilde_03_feedBack_bufferobj, &l[3].feedBack()},
             {&allpass_tilde_04_feedForward_bufferobj, &l[2].feedForward()},
             {&allpass_tilde_04_feedBack_bufferobj, &l[2].feedBack()},
             {&allpass_tilde_05_feedForward_bufferobj, &l[1].feedForward()},
             {&allpass_tilde_05_feedBack_bufferobj, &l[1].feedBack()},
             {&allpass_tilde_06_feedForward_bufferobj, &r[4].feedForward()},
             {&allpass_tilde_06_feedBack_bufferobj, &r[4].feedBack()},
             {&allpass_tilde_07_feedForward_bufferobj, &r[0].feedForward()},
             {&allpass_tilde_07_feedBack_bufferobj, &r[0].feedBack()},
             {&allpass_tilde_08_feedForward_bufferobj, &r[3].feedForward()},
             {&allpass_tilde_08_feedBack_bufferobj, &r[3].feedBack()},
             {&allpass_tilde_09_feedForward_bufferobj, &r[2].feedForward()},
             {&allpass_tilde_09_feedBack_bufferobj, &r[2].feedBack()},
             {&allpass_tilde_10_feedForward_bufferobj, &r[1].feedForward()},
             {&allpass_tilde_10_feedBack_bufferobj, &r[1].feedBack()},
             {&delaytilde_04_del_bufferobj, &rightDelay.line()}}};
}

void Quillmore::PRTSubpatcher_49::bindLines()
{
    for (const BoundLine& bound : boundLines())
        bound.line->bind({bound.storage->getSamples(), bound.storage->getFrameCount()});
}

void Quillmore::PRTSubpatcher_49::allocateDataRefs()
{
    GeneratedPatcher::allocateDataRefs();
    bindLines();
}

void Quillmore::PRTSubpatcher_49::processDataViewUpdate(DataRefIndex index, MillisecondTime time)
{
    GeneratedPatcher::processDataViewUpdate(index, time);
    for (const BoundLine& bound : boundLines())
        if (bound.storage->getIndex() == index)
            bound.line->bind({bound.storage->getSamples(), bound.storage->getFrameCount()});
}

void Quillmore::PRTSubpatcher_49::prepareSignalObjects(bool changed)
{
    if (linesSetUp && !changed)
        return;
    linesSetUp = true;
    const float rate = getSampleRate();
    // Every memory resized to its power of two and cleared; positions kept where they still fit.
    for (const BoundLine& bound : boundLines())
        bound.storage->resizeFrames(bound.line->requiredCapacity());
    bindLines();
    for (const BoundLine& bound : boundLines())
        bound.line->rewindIfBeyondMaximum();
    for (int k = 0; k < numStages; ++k)
    {
        leftStages[static_cast<size_t>(k)].prepare(rate);
        rightStages[static_cast<size_t>(k)].prepare(rate);
    }
    leftDcBlocker.reset();
    rightDcBlocker.reset();
    leftDelay.setCrossfade(rate, crossfadeMs);
    rightDelay.setCrossfade(rate, crossfadeMs);
    limiter.prepare(rate);
}

bool Quillmore::PRTSubpatcher_49::renderSize(Index n)
{
    SampleValue* s = size.get();
    sizeControl.render(s, n);
    if (!std::isfinite(sizeGlide.value()))
        sizeGlide.setValue(0.0f);
    // Sample by sample while the factor moves, then one glide towards where it holds to the block's end.
    Index holdsFrom = holdsOneValue(s, n) ? 0 : n - 1;
    while (holdsFrom > 0 && s[holdsFrom - 1] == s[n - 1])
        --holdsFrom;
    const float first = sizeGlide.value();
    for (Index i = 0; i < holdsFrom; ++i)
        s[i] = sizeGlide.next(s[i]);
    sizeGlide.render(s + holdsFrom, n - holdsFrom, s[n - 1]);
    return s[0] == first && holdsOneValue(s, n);
}

void Quillmore::PRTSubpatcher_49::runStages(std::array<dsp::Allpass, numStages>& stages, bool isLeft, float* signal,
                                            Index n)
{
    const SampleValue* s = size.get();
    SampleValue* delays = stageDelays.get();
    for (int k = 0; k < numStages; ++k)
    {
        dsp::Allpass& stage = stages[static_cast<size_t>(k)];
        for (Index i = 0; i < n; ++i)
            delays[i] = stage.delaySamples(stageTimeMs(k, isLeft, s[i]));
        stage.process(signal, n, delays, stageGains[static_cast<size_t>(k)]);
    }
}

void Quillmore::PRTSubpatcher_49::runSteadyNetwork(Index n)
{
    const float sizeFactor = size.get()[0];
    std::array<dsp::Allpass*, 2 * numStages> stages{};
    std::array<float, 2 * numStages> delays{}, gains{};
    for (int k = 0; k < numStages; ++k)
        for (const bool isLeft : {true, false})
        {
            const auto s = static_cast<size_t>(isLeft ? k : numStages + k);
            stages[s] = &(isLeft ? leftStages : rightStages)[static_cast<size_t>(k)];
            delays[s] = stages[s]->delaySamples(stageTimeMs(k, isLeft, sizeFactor));
            gains[s] = stageGains[static_cast<size_t>(k)];
        }
    float* const chainL = leftChain.get();
    float* const chainR = rightChain.get();
    float* const blockedL = leftBlocked.get();
    float* const blockedR = rightBlocked.get();

    Index i = 0;
    while (i < n)
    {
        std::array<dsp::Allpass::Stretch, 2 * numStages> runs;
        Index run = n - i;
        bool usable = true;
        for (size_t s = 0; s < runs.size(); ++s)
        {
            runs[s] = stages[s]->stretchAt(delays[s], gains[s]);
            usable &= runs[s].usable;
            run = runs[s].length < run ? runs[s].length : run;
        }
        run &= ~Index{3};
        if (run == 0)
        {
            // Each stage on its own: over the rest of the block where a stage cannot run four samples
            // at once, else over the few samples at a line's wrap or the block's end.
            const Index m = usable && n - i > 4 ? 4 : n - i;
            for (size_t s = 0; s < stages.size(); ++s)
                stages[s]->process(s < numStages ? chainL + i : chainR + i, m, delays[s], gains[s]);
            blockDc(i, i + m);
            i += m;
            continue;
        }
        // Both channels' stages four samples at a time, and the DC blockers behind them in the same
        // loop: a blocker waits on its previous output every sample, and the stages' independent work
        // fills that wait.
        dsp::DcBlocker dcL = leftDcBlocker, dcR = rightDcBlocker; // locals: the stores cannot touch them
        for (Index j = 0; j < run; j += 4)
        {
            lanes::FourFloats l = lanes::load(chainL + i + j, lanes::FourFloats{});
            lanes::FourFloats r = lanes::load(chainR + i + j, lanes::FourFloats{});
            // Unrolled (about 5 % less time for the model): each stage's loads are then instructions of
            // their own, each stepping through one line.
#pragma GCC unroll 5
            for (size_t s = 0; s < numStages; ++s)
            {
                l = runs[s].stepFour(l, j);
                r = runs[numStages + s].stepFour(r, j);
            }
            lanes::store(chainL + i + j, l);
            lanes::store(chainR + i + j, r);
            for (int k = 0; k < 4; ++k)
            {
                blockedL[i + j + static_cast<Index>(k)] = dcL.next(l[k]);
                blockedR[i + j + static_cast<Index>(k)] = dcR.next(r[k]);
            }
        }
        leftDcBlocker = dcL;
        rightDcBlocker = dcR;
        for (dsp::Allpass* stage : stages)
            stage->advance(run);
        i += run;
    }
}

void Quillmore::PRTSubpatcher_49::blockDc(Index from, Index to)
{
    const SampleValue* aL = leftChain.get();
    const SampleValue* aR = rightChain.get();
    SampleValue* bL = leftBlocked.get();
    SampleValue* bR = rightBlocked.get();
    // Both channels in one loop: each blocker waits on its previous output, so two of them overlap.
    dsp::DcBlocker dcL = leftDcBlocker, dcR = rightDcBlocker; // locals: the stores cannot touch them
    for (Index i = from; i < to; ++i)
    {
        bL[i] = dcL.next(aL[i]);
        bR[i] = dcR.next(aR[i]);
    }
    leftDcBlocker = dcL;
    rightDcBlocker = dcR;
}

bool Quillmore::PRTSubpatcher_49::overflowed(Index n)
{
    const SampleValue* signals[] = {leftChain.get(), rightChain.get(), leftBlocked.get(), rightBlocked.get()};
    int overflow = 0; // an int, not a bool: the compiler vectorises the loop then
    for (const SampleValue* x : signals)
        for (Index i = 0; i < n; ++i)
            overflow |= !(std::fabs(x[i]) <= overflowLevel);
    return overflow != 0;
}

void Quillmore::PRTSubpatcher_49::processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n)
{
    if (n == 0)
        return;
    scope_obj_2.process(inputs[0], n);
    const bool sizeSteady = renderSize(n);
    numberTilde_obj_145.process(size.get(), nullptr, n);

    struct Channel
    {
        const SampleValue* input;
        SampleValue* chain;
        SampleValue* carry;
        float feedback;
        float delayTime;
        std::array<dsp::Allpass, numStages>& stages;
        dsp::CrossfadedDelay& delay;
        bool isLeft;
    };
    Channel channels[] = {
        {inputs[0], leftChain.get(), leftCarry.get(), leftFeedback, leftDelayTime, leftStages, leftDelay, true},
        {inputs[1], rightChain.get(), rightCarry.get(), rightFeedback, rightDelayTime, rightStages, rightDelay, false}};

    for (Channel& c : channels)
    {
        const float feedback = finiteOr(c.feedback, 0.0f);
        for (Index i = 0; i < n; ++i)
            c.chain[i] = c.input[i] + c.carry[i] * feedback;
    }
    // While the size stands still (nearly always), each stage reads at one delay all block.
    if (sizeSteady)
    {
        runSteadyNetwork(n);
    }
    else
    {
        for (Channel& c : channels)
            runStages(c.stages, c.isLeft, c.chain, n);
        blockDc(0, n);
    }
    // The chain's output, not the DC-blocked one, is what the delay feeds back.
    for (Channel& c : channels)
        c.delay.process(finiteOr(c.delayTime, 0.0f), c.chain, c.carry, n);
    // A huge input can overflow the network, and NaN would then stay in its memories for good; a
    // merely absurd level would keep the limiter's gain near 0 for minutes while it died away.
    if (overflowed(n))
    {
        restartAfterOverflow();
        fillSignalRange(outputs[0], n, 0.0f, 0);
        fillSignalRange(outputs[1], n, 0.0f, 0);
    }
    else
    {
        limiter.process(leftBlocked.get(), rightBlocked.get(), outputs[0], outputs[1], n);
    }
    scope_obj_3.process(outputs[0], n);
}

void Quillmore::PRTSubpatcher_49::restartAfterOverflow()
{
    for (const BoundLine& bound : boundLines())
        bound.line->clear();
    fillSignalRange(leftCarry.get(), getBlockSize(), 0.0f, 0);
    fillSignalRange(rightCarry.get(), getBlockSize(), 0.0f, 0);
    leftDcBlocker.reset();
    rightDcBlocker.reset();
}

} // namespace PRT
