#include "patch/core/SpringModelA.h"

#include "patch/core/FourLanes.h"
#include "patch/core/SignalBuffer.h"
#include "runtime/EngineInterface.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

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
template <typename V>
V onePoleHighPass(V u, float g, float invOnePlusG, V& s)
{
    const V lp = (g * u + s) * invOnePlusG;
    const V hp = u - lp;
    s = hp * g + lp;
    return hp;
}

using lanes::FourDoubles;
using lanes::FourFloats;
using lanes::inLanes;
using lanes::load;
using lanes::store;

inline FourFloats timesInDouble(FourFloats x, double constant)
{
    return __builtin_convertvector(__builtin_convertvector(x, FourDoubles) * constant, FourFloats);
}

template <typename V>
V interpolate(V s0, V s1, float fraction)
{
    return s0 + (s1 - s0) * fraction;
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
        return interpolate(data[t.index & mask], data[(t.index + 1) & mask], t.fraction);
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
    float read(int line) const
    {
        const auto k = static_cast<size_t>(line);
        return lines(line).read(b.data[k], at[tapOfLine[k]]);
    }
    void write(int line, float value) const { lines(line).write(b.data[static_cast<size_t>(line)], value); }
    void endSample()
    {
        b.shortLines.step();
        b.longLines.step();
        b.shortLines.least = b.longLines.least = 1.0f;
    }
};

// The output diffusion's taps as the next sample adds them, from the reads of lines 10 to 17.
template <typename V>
struct DiffusionTaps
{
    V a3, a4, a5, a6, a7, ba, bb, bc;
};

// The taps a block leaves for the next one's first sample, kept in the model's state.
DiffusionTaps<float> tapsIn(const SpringModelA::State& s)
{
    return {s.a3, s.a4, s.a5, s.a6, s.a7, s.ba, s.bb, s.bc};
}

void keepTaps(SpringModelA::State& s, const DiffusionTaps<float>& p)
{
    s.a3 = p.a3;
    s.a4 = p.a4;
    s.a5 = p.a5;
    s.a6 = p.a6;
    s.a7 = p.a7;
    s.ba = p.ba;
    s.bb = p.bb;
    s.bc = p.bc;
}

template <typename V>
DiffusionTaps<V> diffusionTaps(V r10, V r11, V r12, V r13, V r14, V r15, V r16, V r17, V W, V X)
{
    return {timesInDouble(r17, 0.7) * W, -r13 * W, timesInDouble(r10, 0.7) * X, -r15 * X,
            timesInDouble(r11, 0.7) * X, -r14 * X, timesInDouble(r16, 0.7) * W, -r12 * W};
}

// One sample's output diffusion: what it writes to lines 10 to 17, and the two outputs.
template <typename V>
struct Diffused
{
    V cs, cz, ct, cv, cy, cr, cu, cw, out1, out2;
};

template <typename V>
Diffused<V> diffuse(V cn, V cq, V hpL, V hpR, const DiffusionTaps<V>& p, float gate)
{
    Diffused<V> d;
    d.ct = timesInDouble(cq + p.bc, 0.77);
    d.cy = timesInDouble(hpL + p.ba, 0.77);
    d.cr = timesInDouble(hpR + p.a6, 0.77);
    d.cu = timesInDouble(d.ct + p.bb, 0.75);
    d.cs = timesInDouble(d.cr + p.a5, 0.7);
    d.out2 = (timesInDouble(d.cs, 1.7) + timesInDouble(d.cu, 1.7)) * gate;
    d.cv = timesInDouble(cn + p.a4, 0.77);
    d.cz = timesInDouble(d.cy + p.a7, 0.7);
    d.cw = timesInDouble(d.cv + p.a3, 0.75);
    d.out1 = (timesInDouble(d.cw, 1.7) + timesInDouble(d.cz, 1.7)) * gate;
    return d;
}

// The input filters' and the tanks' state, left and right side by side in lanes 0 and 1 (2 and 3 idle).
struct TankState
{
    FourFloats input;     // sL, sR
    FourFloats loop;      // I, H: the tanks' feedback
    FourFloats loopState; // s3, s4: their high-passes
    FourFloats damped;    // K, J: their damping, after DC blocking
    dsp::DcBlocker dcL, dcR;

    TankState(const SpringModelA::State& s, const dsp::DcBlocker& left, const dsp::DcBlocker& right)
        : input{s.sL, s.sR, 0.0f, 0.0f}, loop{s.I, s.H, 0.0f, 0.0f}, loopState{s.s3, s.s4, 0.0f, 0.0f},
          damped{s.K, s.J, 0.0f, 0.0f}, dcL(left), dcR(right)
    {
    }

    void storeTo(SpringModelA::State& s, dsp::DcBlocker& left, dsp::DcBlocker& right) const
    {
        s.sL = input[0];
        s.sR = input[1];
        s.I = loop[0];
        s.H = loop[1];
        s.s3 = loopState[0];
        s.s4 = loopState[1];
        s.K = damped[0];
        s.J = damped[1];
        left = dcL;
        right = dcR;
    }
};

// One sample of the input high-passes, the two tanks and their damping, from the tanks' reads z4 to z9:
// what the output diffusion takes, and what it writes to lines 4 to 9.
struct Tanked
{
    float hpL, hpR, cn, cq, t4, t7, z8, z9, toLine8, toLine9;
};

inline Tanked runTanks(const Block& b, TankState& s, float in1, float in2, float z4, float z5, float z6, float z7,
                       float z8Read, float z9Read)
{
    Tanked out;
    const FourFloats u = b.gate * FourFloats{in1, in2, 0.0f, 0.0f};
    const FourFloats hp = onePoleHighPass(u, b.gIn, b.inIn, s.input);
    out.hpL = hp[0];
    out.hpR = hp[1];
    out.z8 = SpringModelA::fold(z8Read);
    out.z9 = SpringModelA::fold(z9Read);

    const FourFloats t = (FourFloats{out.z8, out.z9, 0.0f, 0.0f} - FourFloats{z7, z4, 0.0f, 0.0f}) * 0.9f
                         + FourFloats{z5, z6, 0.0f, 0.0f};
    out.t7 = t[0];
    out.t4 = t[1];
    const FourFloats a = s.loop + (t - s.loop) * FourFloats{b.k1, b.k2, 0.0f, 0.0f};
    s.loop = onePoleHighPass(a, b.gLoop, b.inLoop, s.loopState) * b.fb;

    // Damping and DC blocking.
    const FourFloats damped = a + (s.damped - a) * FourFloats{b.damp1, b.damp2, 0.0f, 0.0f};
    out.cn = damped[0];
    out.cq = damped[1];
    const float K = s.dcL.nextRoundingFeedback(out.cn);
    const float J = s.dcR.nextRoundingFeedback(out.cq);
    s.damped = FourFloats{K, J, 0.0f, 0.0f};
    out.toLine8 = u[0] + K;
    out.toLine9 = u[1] + J;
    return out;
}

// The lines by the model's numbers.
enum
{
    l4, l5, l6, l7, l8, l9, l10, l11, l12, l13, l14, l15, l16, l17
};

// The samples of one stretch, one at a time, reading and writing the lines through `taps`.
template <typename Taps>
void runSamples(const Block& b, Taps& taps, SpringModelA::State& state, dsp::DcBlocker& dcLeft,
                dsp::DcBlocker& dcRight, const SampleValue* in1, const SampleValue* in2, SampleValue* out1,
                SampleValue* out2, Index n)
{
    // The state in locals, which the lines' stores cannot touch.
    SpringModelA::State s = state;
    TankState tanks(s, dcLeft, dcRight);
    DiffusionTaps<float> previous = tapsIn(s);

    for (Index i = 0; i < n; ++i)
    {
        taps.beginSample();
        const float z4 = taps.read(l4);
        s.W += (b.c.gen01Diffusion - s.W) / b.P;
        const float X = plusInDouble(s.W, 0.15);
        taps.slideLength(s.Y);
        const Tanked t = runTanks(b, tanks, in1[i], in2[i], z4, taps.read(l5), taps.read(l6), taps.read(l7),
                                  taps.read(l8), taps.read(l9));
        const Diffused<float> d = diffuse(t.cn, t.cq, t.hpL, t.hpR, previous, b.gate);
        out1[i] = d.out1;
        out2[i] = d.out2;
        taps.slideSpread(s.B);
        previous = diffusionTaps(taps.read(l10), taps.read(l11), taps.read(l12), taps.read(l13), taps.read(l14),
                                 taps.read(l15), taps.read(l16), taps.read(l17), s.W, X);

        taps.write(l4, t.t4);
        taps.write(l5, t.z8);
        taps.write(l6, t.z9);
        taps.write(l7, t.t7);
        taps.write(l8, t.toLine8);
        taps.write(l9, t.toLine9);
        taps.write(l10, d.cs);
        taps.write(l11, d.cz);
        taps.write(l12, d.ct);
        taps.write(l13, d.cv);
        taps.write(l14, d.cy);
        taps.write(l15, d.cr);
        taps.write(l16, d.cu);
        taps.write(l17, d.cw);
        taps.endSample();
    }
    keepTaps(s, previous);
    tanks.storeTo(s, dcLeft, dcRight);
    state = s;
}

// A stretch of a steady run (see steadyRun) in three passes instead of sample by sample. Every read of
// the stretch finds a slot written before it (or not written in it), so all of them are taken first,
// four samples at a time, with the output diffusion's taps formed from them; then the input filters
// and the tanks, the only recursion, one sample at a time; then the output diffusion, four at a time.
// The same arithmetic on every value, so the same samples as runSamples.
class SteadyStretch
{
public:
    static constexpr Index maximumLength = 64;

    SteadyStretch(const Block& b, const std::array<float, numTaps>& delays)
    {
        for (int line = 0; line < SpringModelA::numDelayLines; ++line)
        {
            const auto k = static_cast<size_t>(line);
            const LineGroup& lines = isShortLine(line) ? b.shortLines : b.longLines;
            const LineGroup::Tap t = lines.tap(delays[tapOfLine[k]]);
            start[k] = b.data[k];
            mask[k] = lines.mask;
            from[k] = b.data[k] + (t.index & lines.mask);
            to[k] = b.data[k] + lines.position;
            fraction[k] = t.fraction;
        }
    }

    // How many of the next samples (at most `limit`) one stretch may take: none of its reads may find a
    // slot one of its earlier samples writes.
    Index length(Index limit) const
    {
        limit = std::min(limit, maximumLength);
        for (size_t k = 0; k < SpringModelA::numDelayLines; ++k)
        {
            const std::ptrdiff_t ahead = to[k] - from[k]; // the write position's lead over the first slot read
            if (ahead >= 1 && ahead <= static_cast<std::ptrdiff_t>(limit))
                limit = static_cast<Index>(ahead - 1);
        }
        return limit;
    }

    // n samples (at most the length) from the stretch's first; then the stretch starts n further on.
    void run(const Block& block, SpringModelA::State& state, dsp::DcBlocker& dcLeft, dsp::DcBlocker& dcRight,
             const SampleValue* in1, const SampleValue* in2, SampleValue* out1, SampleValue* out2, Index n)
    {
        // Locals, which the lines' stores cannot touch.
        const Block b = block;
        SpringModelA::State s = state;
        TankState tanks(s, dcLeft, dcRight);

        prefetchAfter(n);

        // The diffusion slide W, and X from it, at each sample; still when its next step changes nothing.
        if (s.W + (b.c.gen01Diffusion - s.W) / b.P == s.W)
        {
            W.fill(s.W);
            X.fill(plusInDouble(s.W, 0.15));
        }
        else
            for (Index i = 0; i < n; ++i)
            {
                s.W += (b.c.gen01Diffusion - s.W) / b.P;
                W[i] = s.W;
                X[i] = plusInDouble(s.W, 0.15);
            }

        // The reads: the tanks' lines as they are, the diffusion lines as taps for the sample after.
        auto read = [this](int line, Index i, auto lanes) {
            const auto k = static_cast<size_t>(line);
            return interpolate(load(from[k] + i, lanes), load(from[k] + i + 1, lanes), fraction[k]);
        };
        for (int line = l4; line <= l9; ++line)
            inLanes(n, [&](Index i, auto lanes) { store(reads[static_cast<size_t>(line)].data() + i, read(line, i, lanes)); });
        storeTaps(0, tapsIn(s));
        inLanes(n, [&](Index i, auto lanes) {
            const DiffusionTaps<decltype(lanes)> p =
                diffusionTaps(read(l10, i, lanes), read(l11, i, lanes), read(l12, i, lanes), read(l13, i, lanes),
                              read(l14, i, lanes), read(l15, i, lanes), read(l16, i, lanes), read(l17, i, lanes),
                              load(W.data() + i, lanes), load(X.data() + i, lanes));
            storeTaps(i + 1, p);
        });

        // The tanks.
        for (Index i = 0; i < n; ++i)
        {
            const Tanked t = runTanks(b, tanks, in1[i], in2[i], reads[l4][i], reads[l5][i], reads[l6][i], reads[l7][i],
                                      reads[l8][i], reads[l9][i]);
            hpL[i] = t.hpL;
            hpR[i] = t.hpR;
            cn[i] = t.cn;
            cq[i] = t.cq;
            to[l4][i] = t.t4;
            to[l5][i] = t.z8;
            to[l6][i] = t.z9;
            to[l7][i] = t.t7;
            to[l8][i] = t.toLine8;
            to[l9][i] = t.toLine9;
        }

        // The output diffusion.
        inLanes(n, [&](Index i, auto lanes) {
            const Diffused<decltype(lanes)> d = diffuse(load(cn.data() + i, lanes), load(cq.data() + i, lanes),
                                                        load(hpL.data() + i, lanes), load(hpR.data() + i, lanes),
                                                        loadTaps(i, lanes), b.gate);
            store(out1 + i, d.out1);
            store(out2 + i, d.out2);
            store(to[l10] + i, d.cs);
            store(to[l11] + i, d.cz);
            store(to[l12] + i, d.ct);
            store(to[l13] + i, d.cv);
            store(to[l14] + i, d.cy);
            store(to[l15] + i, d.cr);
            store(to[l16] + i, d.cu);
            store(to[l17] + i, d.cw);
        });
        const DiffusionTaps<float> last = loadTaps(n, 0.0f);
        keepTaps(s, last);

        tanks.storeTo(s, dcLeft, dcRight);
        state = s;
        for (size_t k = 0; k < SpringModelA::numDelayLines; ++k)
        {
            from[k] += n;
            to[k] += n;
        }
    }

private:
    using Samples = std::array<float, maximumLength + 4>;

    // Asks for the slots the next stretch reads and writes, which the rest of the processor has pushed
    // out of the nearer caches since they were last touched (a long line's write position a whole
    // storage ago), to arrive while this stretch runs.
    void prefetchAfter(Index n) const
    {
        constexpr Index floatsPerCacheLine = 16;
        for (size_t k = 0; k < SpringModelA::numDelayLines; ++k)
            for (Index j = n; j <= n + maximumLength; j += floatsPerCacheLine)
            {
                __builtin_prefetch(start[k] + ((to[k] - start[k] + j) & mask[k]), 1);
                __builtin_prefetch(start[k] + ((from[k] - start[k] + j) & mask[k]), 0);
            }
    }

    template <typename V>
    void storeTaps(Index i, const DiffusionTaps<V>& p)
    {
        store(tapsAt.a3.data() + i, p.a3);
        store(tapsAt.a4.data() + i, p.a4);
        store(tapsAt.a5.data() + i, p.a5);
        store(tapsAt.a6.data() + i, p.a6);
        store(tapsAt.a7.data() + i, p.a7);
        store(tapsAt.ba.data() + i, p.ba);
        store(tapsAt.bb.data() + i, p.bb);
        store(tapsAt.bc.data() + i, p.bc);
    }

    template <typename V>
    DiffusionTaps<V> loadTaps(Index i, V lanes) const
    {
        return {load(tapsAt.a3.data() + i, lanes), load(tapsAt.a4.data() + i, lanes), load(tapsAt.a5.data() + i, lanes),
                load(tapsAt.a6.data() + i, lanes), load(tapsAt.a7.data() + i, lanes), load(tapsAt.ba.data() + i, lanes),
                load(tapsAt.bb.data() + i, lanes), load(tapsAt.bc.data() + i, lanes)};
    }

    std::array<float*, SpringModelA::numDelayLines> start; // each line's slot 0
    std::array<std::ptrdiff_t, SpringModelA::numDelayLines> mask;
    std::array<const float*, SpringModelA::numDelayLines> from; // each line's first slot read at the stretch's start
    std::array<float*, SpringModelA::numDelayLines> to;         // each line's write position there
    std::array<float, SpringModelA::numDelayLines> fraction;
    std::array<Samples, 6> reads;
    Samples W, X, hpL, hpR, cn, cq;
    DiffusionTaps<Samples> tapsAt; // the taps each sample adds (the first's from the sample before)
};
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
    // The tanks' low-pass coefficients sin(2π f / rate) rise with f only up to a quarter of the rate;
    // the decay frequencies (5 to 9 kHz) stay below it from 36 kHz up. Below 36 kHz they are formed as
    // at 36 kHz, so that a higher SpringDecay still rings longer instead of passing the peak.
    constexpr float lowestDecayRate = 4.0f * 9000.0f;
    const float decayRate = sr > lowestDecayRate ? sr : lowestDecayRate;
    const float fA = decay * 10000.0f;
    const float angle1 = sr != 0.0f ? 2.0f * fA * pi / decayRate : 0.0f;
    const float angle2 = sr != 0.0f ? 2.0f * timesInDouble(fA, 0.97) * pi / decayRate : 0.0f;
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
    // the block runs as steady stretches between the few samples where a read's slots wrap, which run
    // one at a time; otherwise every sample forms its reads from the slides.
    const bool delaysSettled = !fresh && s.Y + (c.gen01Length - s.Y) / b.P == s.Y && s.B + (c.gen01Spread - s.B) / b.P == s.B;
    if (delaysSettled)
    {
        const std::array<float, numTaps> delays = readDelays(b, s.Y, s.B);
        for (Index done = 0; done < n;)
        {
            const Index run = steadyRun(b, delays, n - done);
            SteadyStretch stretch(b, delays);
            if (run == 0 || stretch.length(run) == 0)
            {
                SlidingTaps taps{b};
                runSamples(b, taps, s, dcBlockerLeft, dcBlockerRight, in1 + done, in2 + done, out1 + done, out2 + done, 1);
                ++done;
                continue;
            }
            for (const Index end = done + run; done < end;)
            {
                const Index length = stretch.length(end - done);
                stretch.run(b, s, dcBlockerLeft, dcBlockerRight, in1 + done, in2 + done, out1 + done, out2 + done, length);
                done += length;
            }
            b.shortLines.position = (b.shortLines.position + static_cast<int32_t>(run)) & b.shortLines.mask;
            b.longLines.position = (b.longLines.position + static_cast<int32_t>(run)) & b.longLines.mask;
        }
    }
    else
    {
        SlidingTaps taps{b};
        runSamples(b, taps, s, dcBlockerLeft, dcBlockerRight, in1, in2, out1, out2, n);
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
    state.W = std::isfinite(before.W) ? before.W : 0.0f;
    state.Y = std::isfinite(before.Y) ? before.Y : 0.0f;
    state.B = std::isfinite(before.B) ? before.B : 0.0f;
    dcBlockerLeft.reset();
    dcBlockerRight.reset();
    fillSignalRange(out1, n, 0.0f, 0);
    fillSignalRange(out2, n, 0.0f, 0);
}

} // namespace PRT
