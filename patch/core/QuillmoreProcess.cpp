#include "patch/core/QuillmoreModules.h"

// The top level's block: the input scaled, the modules run in one fixed order and mixed in one fixed
// graph. The Heads chain always works one block late, on a copy of what Order routed into it in the
// previous block; Order crossfades whether the Heads feed the Space section (0) or the Space section
// feeds the next block's Heads (1); HeadsOn and SpaceOn crossfade each section with its own input, so
// the lag stays whatever is switched. Then the hiss (while the Heads are on), the output amplifier,
// the start-up ramp and the bypass crossfade with the raw input. Every path is one block and one
// sample late (patchSamplesLateBeyondBlock): the Heads chain by its block and the warbler's sample at
// rest, the copy that HeadsOn fades to and the bypass path by a block and an added sample, so that
// the plug-in's one reported latency holds on every path and a switch between two stays in time.
// Every module runs in every setting, also while bypassed. Every sum keeps the grouping of its terms
// that the mix is defined with (the key is not quite the left plus the right output in 32-bit
// arithmetic).
#include "patch/core/FourLanes.h"
#include "patch/core/GeneratedMath.h"

namespace PRT
{
namespace
{
using lanes::FourFloats;
using lanes::inLanes;
using lanes::load;
using lanes::store;

// 80 dB above full scale: far beyond any signal, far below where the sections' gains could overflow
// a float. The scaled input and the copies that feed the next block are held within it, so that a
// burst of huge samples cannot leave an infinity circulating in the chain.
constexpr float signalLimit = 1.0e4f;

// boundSample and silenceIfNotFinite at the signal limit, one sample or four lane by lane.
inline float bounded(float x)
{
    return boundSample(x, signalLimit);
}
inline FourFloats bounded(FourFloats x)
{
    const FourFloats limit = FourFloats{} + signalLimit;
    const FourFloats upper = x < limit ? x : limit;
    const FourFloats lower = x <= -limit ? -limit : FourFloats{};
    return x > -limit ? upper : lower;
}
inline float finiteOrSilent(float x)
{
    return silenceIfNotFinite(x);
}
// x − x is 0 exactly for a finite x (NaN for an infinity or a NaN).
inline FourFloats finiteOrSilent(FourFloats x)
{
    return x - x == FourFloats{} ? x : FourFloats{};
}
} // namespace

QuillmoreChannelSignals& Quillmore::channel(int c)
{
    return c == 0 ? left : right;
}

Quillmore::StereoPointers Quillmore::stereo(SignalBuffer QuillmoreChannelSignals::*signal)
{
    return {(left.*signal).get(), (right.*signal).get()};
}

void Quillmore::processBlock(const SampleValue* const* inputs, SampleValue* const* outputs, Index n)
{
    const SampleValue* bypass = bypassWeight.render(targets.bypassTarget, n);
    takeInput(inputs, bypass, n);

    noiseGen->process(nullptr, 0, stereo(&QuillmoreChannelSignals::hiss).data(), 2, n);
    springUtilities->process(nullptr, 0, nullptr, 0, n);
    renderWeights(n);
    SampleValue* rampOutputs[] = {startupRamp.get()};
    fixStartupBurp->process(nullptr, 0, rampOutputs, 1, n);

    runHissChain(n);
    runHeadsChain(n);
    feedSpaceSection(n);
    runSpaceSection(n);
    mixSectionsAndHiss(n);

    const StereoPointers mixed = stereo(&QuillmoreChannelSignals::mixed);
    outputAmp->process(mixed.data(), 2, mixed.data(), 2, n);
    writeOutputs(outputs, bypass, n);

    endBlockMusicalTime(n);
}

// Both channels are read before anything is written, so the outputs may be the inputs.
void Quillmore::takeInput(const SampleValue* const* inputs, const SampleValue* bypass, Index n)
{
    const float gains[] = {targets.inputGainLeft, targets.inputGainRight};
    for (int c = 0; c < 2; ++c)
    {
        const SampleValue* in = inputs[c];
        SampleValue* scaled = channel(c).scaledInput.get();
        SampleValue* dry = channel(c).dry.get();
        SampleValue* previous = channel(c).previousInput.get();
        channel(c).dryDelay.process(previous, dry, n);
        for (Index i = 0; i < n; ++i)
        {
            scaled[i] = boundSample(static_cast<float>(static_cast<double>(in[i]) * 0.8) * gains[c], signalLimit);
            dry[i] = bypass[i] * dry[i];
            previous[i] = in[i];
        }
    }
}

// The send weights report through their monitors; the weights' signal outputs have no listener.
void Quillmore::renderWeights(Index n)
{
    insertWeight.render(targets.insertGain, n);
    numberTilde_obj_170.process(echoSendWeight.render(targets.echoSendGain, n), nullptr, n);
    numberTilde_obj_24.process(springSendWeight.render(targets.springSendGain, n), nullptr, n);
    orderWeight.render(targets.orderTarget, n);
    headsWeight.render(targets.headsOnTarget, n);
    spaceWeight.render(targets.spaceOnTarget, n);
}

// The hiss is gated and ducked by the previous block's key.
void Quillmore::runHissChain(Index n)
{
    const SampleValue* gateInputs[] = {left.hiss.get(), right.hiss.get(), keyFeedback.get()};
    noiseGate->process(gateInputs, 3, stereo(&QuillmoreChannelSignals::gatedHiss).data(), 2, n);
    NoiseDucker* duckers[] = {noiseDuckerLeft, noiseDuckerRight};
    for (int c = 0; c < 2; ++c)
    {
        const SampleValue* duckerInputs[] = {channel(c).gatedHiss.get(), keyFeedback.get()};
        SampleValue* duckerOutputs[] = {channel(c).duckedHiss.get()};
        duckers[c]->process(duckerInputs, 2, duckerOutputs, 1, n);
    }
}

// The Heads chain on the copy kept from the previous block; the Warbler's extra ports stay unfed.
void Quillmore::runHeadsChain(Index n)
{
    warbler->process(stereo(&QuillmoreChannelSignals::headsFeedback).data(), 2,
                     stereo(&QuillmoreChannelSignals::warbled).data(), 2, n);
    SampleValue* stopperOutputs[] = {left.stopped.get(), right.stopped.get(), stopperControl.get()};
    tapeStopper->process(stereo(&QuillmoreChannelSignals::warbled).data(), 2, stopperOutputs, 3, n);
    inputFilter->process(stereo(&QuillmoreChannelSignals::stopped).data(), 2,
                         stereo(&QuillmoreChannelSignals::filtered).data(), 2, n);
    dropouts->process(stereo(&QuillmoreChannelSignals::filtered).data(), 2,
                      stereo(&QuillmoreChannelSignals::heads).data(), 2, n);
}

// The Heads result crossfaded under HeadsOn with its input, a sample late as the chain's output is;
// the section input chosen by Order; the echo fed the whole section input (insert) or its echo send
// (send/return).
void Quillmore::feedSpaceSection(Index n)
{
    const SampleValue* h = headsWeight.get();
    const SampleValue* o = orderWeight.get();
    const SampleValue* ins = insertWeight.get();
    const SampleValue* es = echoSendWeight.get();
    for (QuillmoreChannelSignals* channel : {&left, &right})
    {
        SampleValue* skipped = channel->headsSkipped.get();
        channel->headsSkippedDelay.process(channel->headsFeedback.get(), skipped, n);
        const SampleValue* d = channel->heads.get();
        const SampleValue* l1 = channel->scaledInput.get();
        SampleValue* hl = channel->headsMix.get();
        SampleValue* x = channel->sectionInput.get();
        SampleValue* ef = channel->echoFeed.get();
        inLanes(n, [&](Index i, auto lanes) {
            const auto heads = load(h + i, lanes);
            const auto order = load(o + i, lanes);
            const auto headsMix = heads * load(d + i, lanes) + (1.0f - heads) * load(skipped + i, lanes);
            const auto input = order * load(l1 + i, lanes) + (1.0f - order) * headsMix;
            store(hl + i, headsMix);
            store(x + i, input);
            store(ef + i, load(ins + i, lanes) * input + load(es + i, lanes) * input);
        });
    }
}

// The echo, its mixer and analyser, the echo-to-springs send, the springs' high-pass, the two spring
// models and their mixer. The springs get the echo mixer's output (insert) or their spring send
// (send/return), and the echo-to-springs signal in both modes.
void Quillmore::runSpaceSection(Index n)
{
    tapeDelay->process(stereo(&QuillmoreChannelSignals::echoFeed).data(), 2,
                       stereo(&QuillmoreChannelSignals::echo).data(), 2, n);
    const SampleValue* mixerInputs[] = {left.sectionInput.get(), right.sectionInput.get(), left.echo.get(),
                                        right.echo.get()};
    SampleValue* mixerOutputs[] = {left.echoMix.get(), right.echoMix.get(), echoMono.get()};
    dryWetDelay->process(mixerInputs, 4, mixerOutputs, 3, n);
    const SampleValue* analyserInputs[] = {echoMono.get()};
    echo->process(analyserInputs, 1, nullptr, 0, n);
    delToSprings->process(stereo(&QuillmoreChannelSignals::echo).data(), 2,
                          stereo(&QuillmoreChannelSignals::echoToSprings).data(), 2, n);

    const SampleValue* ins = insertWeight.get();
    const SampleValue* ss = springSendWeight.get();
    for (QuillmoreChannelSignals* channel : {&left, &right})
    {
        const SampleValue* x = channel->sectionInput.get();
        const SampleValue* w = channel->echoMix.get();
        const SampleValue* t = channel->echoToSprings.get();
        SampleValue* sf = channel->springFeed.get();
        for (Index i = 0; i < n; ++i)
            sf[i] = (t[i] + ss[i] * x[i]) + ins[i] * w[i];
    }

    springsHighPass->process(stereo(&QuillmoreChannelSignals::springFeed).data(), 2,
                             stereo(&QuillmoreChannelSignals::highPassed).data(), 2, n);
    gen01.gen01Perform(left.highPassed.get(), right.highPassed.get(), gen01.controls, getSampleRate(),
                       left.springA.get(), right.springA.get(), n);
    springsB->process(stereo(&QuillmoreChannelSignals::highPassed).data(), 2,
                      stereo(&QuillmoreChannelSignals::springB).data(), 2, n);
    const SampleValue* springInputs[] = {left.echoMix.get(), right.echoMix.get(), left.springA.get(),
                                         right.springA.get(), left.springB.get(), right.springB.get()};
    dryWetSprings->process(springInputs, 6, stereo(&QuillmoreChannelSignals::springs).data(), 2, n);
}

// The Space result crossfaded with its input under SpaceOn; Order picks what is heard (the Space
// result, or the Heads result) and what the Heads chain gets next block (the scaled input, or the
// Space result). The key is the sum of both channels before the hiss, which the Heads then add,
// scaled by the tape stopper's hiss level.
void Quillmore::mixSectionsAndHiss(Index n)
{
    const SampleValue* o = orderWeight.get();
    const SampleValue* h = headsWeight.get();
    const SampleValue* s = spaceWeight.get();
    const SampleValue* ts = stopperControl.get();
    SampleValue* key = keyFeedback.get();
    const SampleValue* xL = left.sectionInput.get();
    const SampleValue* xR = right.sectionInput.get();
    const SampleValue* sL = left.springs.get();
    const SampleValue* sR = right.springs.get();
    const SampleValue* hlL = left.headsMix.get();
    const SampleValue* hlR = right.headsMix.get();
    const SampleValue* l1L = left.scaledInput.get();
    const SampleValue* l1R = right.scaledInput.get();
    const SampleValue* uL = left.duckedHiss.get();
    const SampleValue* uR = right.duckedHiss.get();
    SampleValue* fbL = left.headsFeedback.get();
    SampleValue* fbR = right.headsFeedback.get();
    SampleValue* fL = left.mixed.get();
    SampleValue* fR = right.mixed.get();
    // Four samples at a time: with this many buffers the compiler leaves the loop scalar.
    inLanes(n, [&](Index i, auto lanes) {
        const auto order = load(o + i, lanes);
        const auto notOrder = 1.0f - order;
        const auto space = load(s + i, lanes);
        const auto notSpace = 1.0f - space;
        const auto slL = notSpace * load(xL + i, lanes) + space * load(sL + i, lanes);
        const auto slR = notSpace * load(xR + i, lanes) + space * load(sR + i, lanes);
        const auto headsL = load(hlL + i, lanes);
        const auto headsR = load(hlR + i, lanes);
        const auto mixedL = order * headsL + notOrder * slL;
        const auto mixedR = notOrder * slR + order * headsR;
        store(fbL + i, bounded(order * slL + notOrder * load(l1L + i, lanes)));
        store(fbR + i, bounded(order * slR + notOrder * load(l1R + i, lanes)));
        store(key + i, bounded(((notOrder * slL + notOrder * slR) + order * headsL) + order * headsR));
        const auto hissLevel = load(h + i, lanes) * load(ts + i, lanes);
        // The output amplifier's arctangent would turn an infinity into a steady, finite full-scale
        // tone that nothing downstream could tell from music: a section that went non-finite is
        // silent instead.
        store(fL + i, finiteOrSilent(mixedL + hissLevel * load(uL + i, lanes)));
        store(fR + i, finiteOrSilent(mixedR + hissLevel * load(uR + i, lanes)));
    });
}

void Quillmore::writeOutputs(SampleValue* const* outputs, const SampleValue* bypass, Index n)
{
    const SampleValue* r = startupRamp.get();
    for (int c = 0; c < 2; ++c)
    {
        SampleValue* out = outputs[c];
        const SampleValue* q = channel(c).mixed.get();
        const SampleValue* dry = channel(c).dry.get();
        for (Index i = 0; i < n; ++i)
            out[i] = (1.0f - bypass[i]) * (r[i] * q[i]) + dry[i];
    }
}

} // namespace PRT
