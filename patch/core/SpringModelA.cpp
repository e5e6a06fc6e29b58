#include "patch/core/SpringModelA.h"

#include "patch/core/SignalBuffer.h"
#include "runtime/EngineInterface.h"

#include <algorithm>
#include <cmath>

namespace PRT
{
namespace
{
constexpr float pi = 3.14159265358979323846f;
constexpr double twoPi = 6.283185307179586476925286766559;

// The generated arithmetic forms some products and sums in double from single-precision operands
// and rounds each result back to single precision.
inline float timesInDouble(float x, double constant)
{
    return static_cast<float>(static_cast<double>(x) * constant);
}
inline float plusInDouble(float x, double constant)
{
    return static_cast<float>(static_cast<double>(x) + constant);
}

float clampInDouble(float x, double low, double high)
{
    const double v = x;
    return static_cast<float>(v < low ? low : (v > high ? high : v));
}

// A trapezoidal one-pole on u with coefficient g (invOnePlusG = 1/(1 + g)); returns the high-pass.
inline float onePoleHighPass(float u, float g, float invOnePlusG, float& s)
{
    const float lp = (g * u + s) * invOnePlusG;
    const float hp = u - lp;
    s = hp * g + lp;
    return hp;
}

// The lines of one size (lines 4 to 7: 512 samples, lines 8 to 17: 65536) as one block works on
// them. They are set up, rewound and stepped together, so they share their positions: a read at
// delay d finds the same two slots and fraction in each of them. Within the block the write position
// is always the read position of the sample before, so only the read position moves; the shortest
// delay is 0 until the lines' first write since their positions were reset.
struct LineGroup
{
    int32_t mask;
    int32_t storage;
    int32_t position;
    float maximum;
    float least;

    struct Tap
    {
        int32_t index;
        float fraction;
    };

    // d limited to [least, maximum] (NaN to the least).
    float limit(float d) const { return d > maximum ? maximum : (d >= least ? d : least); }

    // The point a read of a delay already limited reads at, counted from one storage back; single
    // precision as the model's arithmetic is (dsp::DelayLine forms positions in double). It exceeds
    // 0, as the storage exceeds the maximum.
    float readPoint(float delay) const { return static_cast<float>(storage + position) - delay; }

    Tap tap(float delay) const
    {
        const float r = readPoint(delay);
        const auto i = static_cast<int32_t>(r);
        return {i, r - static_cast<float>(i)};
    }

    float read(const float* data, Tap t) const
    {
        const float s0 = data[t.index & mask];
        const float s1 = data[(t.index + 1) & mask];
        return s0 + (s1 - s0) * t.fraction;
    }

    void write(float* data, float value) const { data[position] = value; }
    void step() { position = (position + 1) & mask; }

    // How many of the next samples (at most `limit`) a read at this delay, already limited, finds its
    // slots one further on at each sample with the same fraction: until its second slot wraps round to
    // slot 0 (0 when that comes at this sample). Meanwhile its read point rises by exactly 1 a sample:
    // below the storage the point is exact (the delay exceeds every power of two the point crosses, so
    // the floats there are spaced no wider than the delay's bits), and from the storage on, where it is
    // rounded, it stays below twice the storage, so it is rounded alike at every sample.
    Index steadyRun(float delay, Index limit) const
    {
        const auto slot = static_cast<int32_t>(readPoint(delay)) & mask;
        return std::min(limit, static_cast<Index>(mask - slot));
    }

    // How many of the next samples (at most `limit`) write before the position wraps.
    Index writesBeforeWrap(Index limit) const { return std::min(limit, static_cast<Index>(storage - position)); }
};

void clearLine(SpringModelA::DelayLine& line)
{
    if (!line.view || line.view->getData() == nullptr)
        return;
    float* samples = line.view->getData();
    for (size_t i = 0, frames = line.view->getSize(); i < frames; ++i)
        samples[i] = 0.0f;
}
} // namespace

float SpringModelA::foldOutside(float v)
{
    if (!std::isfinite(v))
        return 0.0f;
    // The count of reflections by 2 in closed form: a loop would not end for large values.
    const double x = v;
    const double count = x >= 1.0 ? std::floor((x - 1.0) * 0.5) + 1.0 : std::ceil((-1.0 - x) * 0.5);
    const double folded = x >= 1.0 ? x - 2.0 * count : x + 2.0 * count;
    const bool odd = std::fmod(count, 2.0) != 0.0;
    return static_cast<float>(odd ? -folded : folded);
}

void SpringModelA::setUpDelayLines(EngineInterface* engine)
{
    for (int k = 0; k < numDelayLines; ++k)
    {
        DelayLine& line = delayLines[static_cast<size_t>(k)];
        if (!line.view)
            continue;
        const DelaySize size = delaySizeOf(k);
        line.maximumDelay = size.maximumDelay;

        Float32Buffer& storage = *line.view;
        storage.setSize(static_cast<size_t>(size.storage));
        if (engine != nullptr)
            engine->sendDataRefUpdated(k);
        const size_t frames = storage.getSize();
        line.wrapMask = frames > 0 ? static_cast<uint64_t>(frames) - 1 : 0;
        clearLine(line);

        if (line.readPosition >= line.maximumDelay || line.writePosition >= line.maximumDelay)
            line.readPosition = line.writePosition = 0;
    }
    dcBlockerLeft.reset();
    dcBlockerRight.reset();
}

namespace
{
// What the block's samples share: the constants formed from the controls, and the lines.
struct Block
{
    float gate, k1, k2, fb, damp1, damp2, P, gIn, inIn, gLoop, inLoop;
    SpringModelA::Controls c;
    LineGroup shortLines, longLines;
    std::array<float*, SpringModelA::numDelayLines> data;
};

// The eight delays the lines are read at, and the one each line (the model's 4 to 17) is read at.
enum Tap
{
    fixedTap, lengthTap, lengthPlus2Tap, longLengthTap, spread215Tap, spread347Tap, spread124Tap, spread113Tap,
    numTaps
};
constexpr std::array<Tap, SpringModelA::numDelayLines> tapOfLine{
    fixedTap,      lengthTap,     lengthPlus2Tap, lengthTap,    longLengthTap, longLengthTap, spread215Tap,
    spread215Tap, spread347Tap, spread347Tap,   spread124Tap, spread124Tap,  spread113Tap,  spread113Tap};
constexpr bool isShortLine(int line) { return line < 4; }
constexpr bool isShortTap(int tap) { return tap < longLengthTap; }

// The model's delays in samples at the slides' values, limited to their lines' ranges.
std::array<float, numTaps> readDelays(const Block& b, float Y, float B)
{
    return {b.shortLines.limit(500.0f),       b.shortLines.limit(Y),           b.shortLines.limit(Y + 2.0f),
            b.longLines.limit(Y),             b.longLines.limit(215.0f * B),   b.longLines.limit(347.0f * B),
            b.longLines.limit(124.0f * B),    b.longLines.limit(113.0f * B)};
}

// How many of the next samples (at most `limit`) every read keeps its fraction and steps on by one
// slot, and no write position wraps (see LineGroup::steadyRun).
Index steadyRun(const Block& b, const std::array<float, numTaps>& delays, Index limit)
{
    limit = b.longLines.writesBeforeWrap(b.shortLines.writesBeforeWrap(limit));
    for (int tap = 0; tap < numTaps; ++tap)
        limit = (isShortTap(tap) ? b.shortLines : b.longLines).steadyRun(delays[static_cast<size_t>(tap)], limit);
    return limit;
}

// Where a sample's reads find their slots and its writes go, while the slides may move: Y and B step
// at every sample and the taps are formed from them (any state, any samples).
struct SlidingTaps
{
    Block& b;
    std::array<LineGroup::Tap, numTaps> at{};

    const LineGroup& lines(int line) const { return isShortLine(line) ? b.shortLines : b.longLines; }

    void beginSample() { at[fixedTap] = b.shortLines.tap(b.shortLines.limit(500.0f)); }
    void slideLength(float& Y)
    {
        Y += (b.c.gen01Length - Y) / b.P;
        at[lengthTap] = b.shortLines.tap(b.shortLines.limit(Y));
        at[lengthPlus2Tap] = b.shortLines.tap(b.shortLines.limit(Y + 2.0f));
        at[longLengthTap] = b.longLines.tap(b.longLines.limit(Y));
    }
    void slideSpread(float& B)
    {
        B += (b.c.gen01Spread - B) / b.P;
        at[spread215Tap] = b.longLines.tap(b.longLines.limit(215.0f * B));
        at[spread347Tap] = b.longLines.tap(b.longLines.limit(347.0f * B));
        at[spread124Tap] = b.longLines.tap(b.longLines.limit(124.0f * B));
        at[spread113Tap] = b.longLines.tap(b.longLines.limit(113.0f * B));
    }
    float read(int line, Index) const
    {
        const auto k = static_cast<size_t>(line);
        return lines(line).read(b.data[k], at[tapOfLine[k]]);
    }
    void write(int line, Index, float value) const { lines(line).write(b.data[static_cast<size_t>(line)], value); }
    void endSample()
    {
        b.shortLines.step();
        b.longLines.step();
        b.shortLines.least = b.longLines.least = 1.0f;
    }
};

// The same reads and writes through a steady run (see steadyRun), with the slides standing still:
// a read's slots are those at the run's first sample plus the sample's place in the run, its fraction
// that of the first sample, so the samples spend no arithmetic on positions and masks.
struct SteadyTaps
{
    std::array<const float*, SpringModelA::numDelayLines> from; // each line's first slot at the run's start
    std::array<float*, SpringModelA::numDelayLines> to;         // each line's write position at the run's start
    std::array<float, numTaps> fraction;

    SteadyTaps(const Block& b, const std::array<float, numTaps>& delays)
    {
        for (int line = 0; line < SpringModelA::numDelayLines; ++line)
        {
            const auto k = static_cast<size_t>(line);
            const LineGroup& lines = isShortLine(line) ? b.shortLines : b.longLines;
            const LineGroup::Tap t = lines.tap(delays[tapOfLine[k]]);
            from[k] = b.data[k] + (t.index & lines.mask);
            to[k] = b.data[k] + lines.position;
            fraction[tapOfLine[k]] = t.fraction;
        }
    }

    void beginSample() {}
    void slideLength(float&) {}
    void slideSpread(float&) {}
    float read(int line, Index i) const
    {
        const auto k = static_cast<size_t>(line);
        const float s0 = from[k][i];
        const float s1 = from[k][i + 1];
        return s0 + (s1 - s0) * fraction[tapOfLine[k]];
    }
    void write(int line, Index i, float value) const { to[static_cast<size_t>(line)][i] = value; }
    void endSample() {}
};

// The samples of one stretch, reading and writing the lines through `taps`. DiffusionSettled: the slide
// W has arrived (its next step changes nothing), so it and X keep their values through the stretch.
// The state is copied into locals, which the lines' stores cannot touch.
template <bool DiffusionSettled, typename Taps>
void runSamples(const Block& b, Taps& taps, SpringModelA::State& state, dsp::DcBlocker& dcLeft,
                dsp::DcBlocker& dcRight, const SampleValue* in1, const SampleValue* in2, SampleValue* out1,
                SampleValue* out2, Index n)
{
    // The lines by the model's numbers.
    enum
    {
        l4, l5, l6, l7, l8, l9, l10, l11, l12, l13, l14, l15, l16, l17
    };
    const SpringModelA::Controls& c = b.c;
    const float gate = b.gate, P = b.P;
    SpringModelA::State s = state;
    dsp::DcBlocker dcL = dcLeft, dcR = dcRight;
    const float settledX = plusInDouble(s.W, 0.15);

    for (Index i = 0; i < n; ++i)
    {
        taps.beginSample();
        const float uR = gate * in2[i];
        const float hpR = onePoleHighPass(uR, b.gIn, b.inIn, s.sR);
        const float uL = gate * in1[i];
        const float hpL = onePoleHighPass(uL, b.gIn, b.inIn, s.sL);
        const float z4 = taps.read(l4, i);

        if (!DiffusionSettled)
            s.W += (c.gen01Diffusion - s.W) / P;
        const float X = DiffusionSettled ? settledX : plusInDouble(s.W, 0.15);
        taps.slideLength(s.Y);

        const float z5 = taps.read(l5, i);
        const float z6 = taps.read(l6, i);
        const float z7 = taps.read(l7, i);
        const float z8 = SpringModelA::fold(taps.read(l8, i));

        // Left tank.
        const float t7 = (z8 - z7) * 0.9f + z5;
        const float ag = s.I + (t7 - s.I) * b.k1;
        s.I = onePoleHighPass(ag, b.gLoop, b.inLoop, s.s3) * b.fb;

        const float z9 = SpringModelA::fold(taps.read(l9, i));

        // Right tank.
        const float t4 = (z9 - z4) * 0.9f + z6;
        const float ak = s.H + (t4 - s.H) * b.k2;
        s.H = onePoleHighPass(ak, b.gLoop, b.inLoop, s.s4) * b.fb;

        // Damping and DC blocking.
        const float cn = ag + (s.K - ag) * b.damp1;
        s.K = dcL.nextRoundingFeedback(cn);
        const float cq = ak + (s.J - ak) * b.damp2;
        s.J = dcR.nextRoundingFeedback(cq);

        // Output diffusion, from the previous sample's taps.
        const float ct = timesInDouble(cq + s.bc, 0.77);
        const float cy = timesInDouble(hpL + s.ba, 0.77);
        const float cr = timesInDouble(hpR + s.a6, 0.77);
        const float cu = timesInDouble(ct + s.bb, 0.75);
        const float cs = timesInDouble(cr + s.a5, 0.7);
        out2[i] = (timesInDouble(cs, 1.7) + timesInDouble(cu, 1.7)) * gate;
        const float cv = timesInDouble(cn + s.a4, 0.77);
        const float cz = timesInDouble(cy + s.a7, 0.7);
        const float cw = timesInDouble(cv + s.a3, 0.75);
        out1[i] = (timesInDouble(cw, 1.7) + timesInDouble(cz, 1.7)) * gate;

        taps.slideSpread(s.B);
        s.a5 = timesInDouble(taps.read(l10, i), 0.7) * X;
        s.a7 = timesInDouble(taps.read(l11, i), 0.7) * X;
        s.bc = -taps.read(l12, i) * s.W;
        s.a4 = -taps.read(l13, i) * s.W;
        s.ba = -taps.read(l14, i) * X;
        s.a6 = -taps.read(l15, i) * X;
        s.bb = timesInDouble(taps.read(l16, i), 0.7) * s.W;
        s.a3 = timesInDouble(taps.read(l17, i), 0.7) * s.W;

        taps.write(l4, i, t4);
        taps.write(l17, i, cw);
        taps.write(l16, i, cu);
        taps.write(l15, i, cr);
        taps.write(l14, i, cy);
        taps.write(l13, i, cv);
        taps.write(l12, i, ct);
        taps.write(l11, i, cz);
        taps.write(l10, i, cs);
        taps.write(l9, i, uR + s.J);
        taps.write(l8, i, uL + s.K);
        taps.write(l7, i, t7);
        taps.write(l6, i, z9);
        taps.write(l5, i, z8);
        taps.endSample();
    }
    state = s;
    dcLeft = dcL;
    dcRight = dcR;
}
} // namespace

void SpringModelA::gen01Perform(const SampleValue* in1, const SampleValue* in2, Controls c, float sr,
                                SampleValue* out1, SampleValue* out2, Index n)
{
    // A control that is not finite (a NaN from a host's parameter) would poison every memory: the
    // model holds still and is silent until the control is sane again.
    const float controlProbe = c.gen01Length + c.gen01Decay + c.gen01Spread + c.gen01Damping + c.gen01Diffusion + c.gen01Gate;
    if (!std::isfinite(controlProbe) || !std::isfinite(sr))
    {
        fillSignalRange(out1, n, 0.0f, 0);
        fillSignalRange(out2, n, 0.0f, 0);
        return;
    }

    Block b;
    b.c = c;
    for (int k = 0; k < numDelayLines; ++k)
    {
        const DelayLine& line = delayLines[static_cast<size_t>(k)];
        const DelayLine& first = delayLines[k < 4 ? 0 : 4];
        float* data = line.view ? line.view->getData() : nullptr;
        const size_t frames = line.view ? line.view->getSize() : 0;
        // Without storage at the size it was set up for, the model cannot run: silence.
        if (data == nullptr || frames < 2 || frames != line.wrapMask + 1 || line.maximumDelay >= int64_t(frames)
            || line.wrapMask != first.wrapMask || line.maximumDelay != first.maximumDelay)
        {
            fillSignalRange(out1, n, 0.0f, 0);
            fillSignalRange(out2, n, 0.0f, 0);
            return;
        }
        b.data[static_cast<size_t>(k)] = data;
    }
    // Each group takes its first line's positions (the others' are the same unless set apart by hand).
    auto group = [](const DelayLine& first) {
        const auto mask = static_cast<int32_t>(first.wrapMask);
        const auto position = static_cast<int32_t>(first.readPosition & mask);
        const bool written = position != static_cast<int32_t>(first.writePosition & mask);
        return LineGroup{mask, mask + 1, position, static_cast<float>(first.maximumDelay), written ? 1.0f : 0.0f};
    };
    b.shortLines = group(delayLines[0]);
    b.longLines = group(delayLines[4]);
    const bool fresh = b.shortLines.least == 0.0f || b.longLines.least == 0.0f;

    // Constants of the block.
    const float gate = c.gen01Gate;
    const float decay = c.gen01Decay;
    const float fA = decay * 10000.0f;
    const float angle1 = sr != 0.0f ? 2.0f * fA * pi / sr : 0.0f;
    const float angle2 = sr != 0.0f ? 2.0f * timesInDouble(fA, 0.97) * pi / sr : 0.0f;
    const float quarterRate = sr * 0.25f;
    auto clampToQuarterRate = [quarterRate](float f) { return f < 0.0f ? 0.0f : (f > quarterRate ? quarterRate : f); };
    auto tangent = [sr](float f) {
        return sr != 0.0f ? static_cast<float>(std::tan(static_cast<double>(f) * twoPi / static_cast<double>(sr))) : 0.0f;
    };
    auto reciprocalOfOnePlus = [](float g) { return 1.0f + g != 0.0f ? 1.0f / (1.0f + g) : 0.0f; };
    b.gate = gate;
    b.k1 = clampInDouble(std::sin(angle1), 0.000001, 0.999999);
    b.k2 = clampInDouble(std::sin(angle2), 0.000001, 0.999999);
    b.fb = plusInDouble(timesInDouble(decay, 0.1), 0.89) * gate;
    b.damp1 = plusInDouble(timesInDouble(c.gen01Damping, 0.2), 0.79);
    b.damp2 = timesInDouble(b.damp1, 1.002);
    const float gateSteps = std::fabs(gate * 10000.0f);
    b.P = gateSteps > 1.0f ? gateSteps : 1.0f;
    b.gIn = tangent(clampToQuarterRate(decay * 100.0f + 250.0f));
    b.gLoop = tangent(clampToQuarterRate(decay * 100.0f));
    b.inIn = reciprocalOfOnePlus(b.gIn);
    b.inLoop = reciprocalOfOnePlus(b.gLoop);

    State& s = state;
    // A slide stands still through the block when its next step changes nothing. With Y and B still,
    // the block runs in steady runs between the few samples where a tap's slots or fraction jump.
    const bool delaysSettled = !fresh && s.Y + (c.gen01Length - s.Y) / b.P == s.Y && s.B + (c.gen01Spread - s.B) / b.P == s.B;
    const bool diffusionSettled = s.W + (c.gen01Diffusion - s.W) / b.P == s.W;
    if (delaysSettled)
    {
        const std::array<float, numTaps> delays = readDelays(b, s.Y, s.B);
        for (Index done = 0; done < n;)
        {
            const Index run = steadyRun(b, delays, n - done);
            if (run == 0)
            {
                SlidingTaps taps{b};
                runSamples<false>(b, taps, s, dcBlockerLeft, dcBlockerRight, in1 + done, in2 + done, out1 + done,
                                  out2 + done, 1);
                ++done;
                continue;
            }
            SteadyTaps taps(b, delays);
            if (diffusionSettled)
                runSamples<true>(b, taps, s, dcBlockerLeft, dcBlockerRight, in1 + done, in2 + done, out1 + done,
                                 out2 + done, run);
            else
                runSamples<false>(b, taps, s, dcBlockerLeft, dcBlockerRight, in1 + done, in2 + done, out1 + done,
                                  out2 + done, run);
            b.shortLines.position = (b.shortLines.position + static_cast<int32_t>(run)) & b.shortLines.mask;
            b.longLines.position = (b.longLines.position + static_cast<int32_t>(run)) & b.longLines.mask;
            done += run;
        }
    }
    else
    {
        SlidingTaps taps{b};
        runSamples<false>(b, taps, s, dcBlockerLeft, dcBlockerRight, in1, in2, out1, out2, n);
    }
    for (int k = 0; k < numDelayLines && n > 0; ++k)
    {
        const LineGroup& lines = k < 4 ? b.shortLines : b.longLines;
        delayLines[static_cast<size_t>(k)].readPosition = lines.position;
        delayLines[static_cast<size_t>(k)].writePosition = (lines.position - 1) & lines.mask;
    }

    // Every line's reads reach this state (the tank lines through the folds, which hold their
    // lines' values finite), so a non-finite value anywhere shows here within a few blocks.
    const float probe = s.I + s.H + s.K + s.J + s.W + s.Y + s.B + s.sR + s.sL + s.s3 + s.s4 + s.a3 + s.a4 + s.a5
                        + s.a6 + s.a7 + s.ba + s.bb + s.bc;
    if (!std::isfinite(probe))
        restartAfterOverflow(out1, out2, n);
}

void SpringModelA::restartAfterOverflow(SampleValue* out1, SampleValue* out2, Index n)
{
    for (DelayLine& line : delayLines)
        clearLine(line);
    const State before = state;
    state = State();
    state.I = state.H = state.K = state.J = 0.0f;
    state.W = std::isfinite(before.W) ? before.W : 0.0f;
    state.Y = std::isfinite(before.Y) ? before.Y : 0.0f;
    state.B = std::isfinite(before.B) ? before.B : 0.0f;
    dcBlockerLeft.reset();
    dcBlockerRight.reset();
    fillSignalRange(out1, n, 0.0f, 0);
    fillSignalRange(out2, n, 0.0f, 0);
}

} // namespace PRT
