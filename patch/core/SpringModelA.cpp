#include "patch/core/SpringModelA.h"

#include "patch/core/SignalBuffer.h"
#include "runtime/EngineInterface.h"

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

    // Where a read of a delay already limited finds its slots; single precision as the model's
    // arithmetic is (dsp::DelayLine forms positions in double).
    Tap tap(float delay) const
    {
        const float r = static_cast<float>(storage + position) - delay;
        const auto i = static_cast<int32_t>(r); // r > 0: the storage exceeds the maximum
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

// The read delays, limited to their lines' ranges, while the slides Y and B stand still.
struct SettledDelays
{
    float y, y2, yLong, t215, t347, t124, t113;

    SettledDelays(const Block& b, float Y, float B)
        : y(b.shortLines.limit(Y)), y2(b.shortLines.limit(Y + 2.0f)), yLong(b.longLines.limit(Y)),
          t215(b.longLines.limit(215.0f * B)), t347(b.longLines.limit(347.0f * B)),
          t124(b.longLines.limit(124.0f * B)), t113(b.longLines.limit(113.0f * B))
    {
    }
};

// The samples of one block. Settled: Y and B keep their values through the block (their slides
// have arrived), so the read delays are limited once for the block instead of at every sample.
template <bool Settled>
void runSamples(Block& b, SpringModelA::State& s, dsp::DcBlocker& dcLeft, dsp::DcBlocker& dcRight,
                const SampleValue* in1, const SampleValue* in2, SampleValue* out1, SampleValue* out2, Index n)
{
    LineGroup& shortLines = b.shortLines;
    LineGroup& longLines = b.longLines;
    float* const l4 = b.data[0];
    float* const l5 = b.data[1];
    float* const l6 = b.data[2];
    float* const l7 = b.data[3];
    float* const l8 = b.data[4];
    float* const l9 = b.data[5];
    float* const l10 = b.data[6];
    float* const l11 = b.data[7];
    float* const l12 = b.data[8];
    float* const l13 = b.data[9];
    float* const l14 = b.data[10];
    float* const l15 = b.data[11];
    float* const l16 = b.data[12];
    float* const l17 = b.data[13];
    const SpringModelA::Controls& c = b.c;
    const float gate = b.gate, P = b.P;
    const SettledDelays settled(b, s.Y, s.B);
    const float fixed = shortLines.limit(500.0f);

    for (Index i = 0; i < n; ++i)
    {
        const float uR = gate * in2[i];
        const float hpR = onePoleHighPass(uR, b.gIn, b.inIn, s.sR);
        const float uL = gate * in1[i];
        const float hpL = onePoleHighPass(uL, b.gIn, b.inIn, s.sL);
        const float z4 = shortLines.read(l4, shortLines.tap(Settled ? fixed : shortLines.limit(500.0f)));

        s.W += (c.gen01Diffusion - s.W) / P;
        const float X = plusInDouble(s.W, 0.15);
        if (!Settled)
            s.Y += (c.gen01Length - s.Y) / P;

        const LineGroup::Tap atY = shortLines.tap(Settled ? settled.y : shortLines.limit(s.Y));
        const LineGroup::Tap atY2 = shortLines.tap(Settled ? settled.y2 : shortLines.limit(s.Y + 2.0f));
        const LineGroup::Tap atYLong = longLines.tap(Settled ? settled.yLong : longLines.limit(s.Y));
        const float z5 = shortLines.read(l5, atY);
        const float z6 = shortLines.read(l6, atY2);
        const float z7 = shortLines.read(l7, atY);
        const float z8 = SpringModelA::fold(longLines.read(l8, atYLong));

        // Left tank.
        const float t7 = (z8 - z7) * 0.9f + z5;
        const float ag = s.I + (t7 - s.I) * b.k1;
        s.I = onePoleHighPass(ag, b.gLoop, b.inLoop, s.s3) * b.fb;

        const float z9 = SpringModelA::fold(longLines.read(l9, atYLong));

        // Right tank.
        const float t4 = (z9 - z4) * 0.9f + z6;
        const float ak = s.H + (t4 - s.H) * b.k2;
        s.H = onePoleHighPass(ak, b.gLoop, b.inLoop, s.s4) * b.fb;

        // Damping and DC blocking.
        const float cn = ag + (s.K - ag) * b.damp1;
        s.K = dcLeft.nextRoundingFeedback(cn);
        const float cq = ak + (s.J - ak) * b.damp2;
        s.J = dcRight.nextRoundingFeedback(cq);

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

        if (!Settled)
            s.B += (c.gen01Spread - s.B) / P;
        const LineGroup::Tap at215 = longLines.tap(Settled ? settled.t215 : longLines.limit(215.0f * s.B));
        const LineGroup::Tap at347 = longLines.tap(Settled ? settled.t347 : longLines.limit(347.0f * s.B));
        const LineGroup::Tap at124 = longLines.tap(Settled ? settled.t124 : longLines.limit(124.0f * s.B));
        const LineGroup::Tap at113 = longLines.tap(Settled ? settled.t113 : longLines.limit(113.0f * s.B));
        s.a5 = timesInDouble(longLines.read(l10, at215), 0.7) * X;
        s.a7 = timesInDouble(longLines.read(l11, at215), 0.7) * X;
        s.bc = -longLines.read(l12, at347) * s.W;
        s.a4 = -longLines.read(l13, at347) * s.W;
        s.ba = -longLines.read(l14, at124) * X;
        s.a6 = -longLines.read(l15, at124) * X;
        s.bb = timesInDouble(longLines.read(l16, at113), 0.7) * s.W;
        s.a3 = timesInDouble(longLines.read(l17, at113), 0.7) * s.W;

        shortLines.write(l4, t4);
        longLines.write(l17, cw);
        longLines.write(l16, cu);
        longLines.write(l15, cr);
        longLines.write(l14, cy);
        longLines.write(l13, cv);
        longLines.write(l12, ct);
        longLines.write(l11, cz);
        longLines.write(l10, cs);
        longLines.write(l9, uR + s.J);
        longLines.write(l8, uL + s.K);
        shortLines.write(l7, t7);
        shortLines.write(l6, z9);
        shortLines.write(l5, z8);
        shortLines.step();
        longLines.step();
        if (!Settled)
            shortLines.least = longLines.least = 1.0f;
    }
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

    State s = state;
    // Y and B stand still through the block when their next steps change nothing.
    const bool settled = !fresh && s.Y + (c.gen01Length - s.Y) / b.P == s.Y && s.B + (c.gen01Spread - s.B) / b.P == s.B;
    if (settled)
        runSamples<true>(b, s, dcBlockerLeft, dcBlockerRight, in1, in2, out1, out2, n);
    else
        runSamples<false>(b, s, dcBlockerLeft, dcBlockerRight, in1, in2, out1, out2, n);
    state = s;
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
