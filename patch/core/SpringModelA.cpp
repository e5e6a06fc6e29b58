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

// A line as one block works on it: the storage and the positions held locally.
struct LineCursor
{
    double* data;
    int32_t mask;
    int32_t storage;
    int32_t position;
    int32_t writePosition;
    float maximum;

    // Linear read d samples back; d is limited to the maximum, and to at least one sample once the
    // line has been written since its positions were reset (zero before). NaN reads at the least.
    float read(float d) const
    {
        const float least = position != writePosition ? 1.0f : 0.0f;
        const float delay = d > maximum ? maximum : (d >= least ? d : least);
        const float r = static_cast<float>(storage + position) - delay;
        const auto i = static_cast<int32_t>(r); // r > 0: the storage exceeds the maximum
        const float f = r - static_cast<float>(i);
        const auto s0 = static_cast<float>(data[i & mask]);
        const auto s1 = static_cast<float>(data[(i + 1) & mask]);
        return s0 + (s1 - s0) * f;
    }

    void write(float value)
    {
        writePosition = position;
        data[position] = value;
    }

    void step() { position = (position + 1) & mask; }
};

void clearLine(SpringModelA::DelayLine& line)
{
    if (!line.view || line.view->getData() == nullptr)
        return;
    double* samples = line.view->getData();
    for (size_t i = 0, frames = line.view->getSize(); i < frames; ++i)
        samples[i] = 0.0;
}
} // namespace

float SpringModelA::fold(float v)
{
    if (v >= -1.0f && v < 1.0f)
        return v;
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

        Float64Buffer& storage = *line.view;
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

    std::array<LineCursor, numDelayLines> lines;
    for (int k = 0; k < numDelayLines; ++k)
    {
        const DelayLine& line = delayLines[static_cast<size_t>(k)];
        double* data = line.view ? line.view->getData() : nullptr;
        const size_t frames = line.view ? line.view->getSize() : 0;
        // Without storage at the size it was set up for, the model cannot run: silence.
        if (data == nullptr || frames < 2 || frames != line.wrapMask + 1 || line.maximumDelay >= int64_t(frames))
        {
            fillSignalRange(out1, n, 0.0f, 0);
            fillSignalRange(out2, n, 0.0f, 0);
            return;
        }
        lines[static_cast<size_t>(k)] = {data,
                                         static_cast<int32_t>(line.wrapMask),
                                         static_cast<int32_t>(frames),
                                         static_cast<int32_t>(line.readPosition & int64_t(line.wrapMask)),
                                         static_cast<int32_t>(line.writePosition & int64_t(line.wrapMask)),
                                         static_cast<float>(line.maximumDelay)};
    }
    LineCursor& l4 = lines[0];
    LineCursor& l5 = lines[1];
    LineCursor& l6 = lines[2];
    LineCursor& l7 = lines[3];
    LineCursor& l8 = lines[4];
    LineCursor& l9 = lines[5];
    LineCursor& l10 = lines[6];
    LineCursor& l11 = lines[7];
    LineCursor& l12 = lines[8];
    LineCursor& l13 = lines[9];
    LineCursor& l14 = lines[10];
    LineCursor& l15 = lines[11];
    LineCursor& l16 = lines[12];
    LineCursor& l17 = lines[13];

    // Constants of the block.
    const float gate = c.gen01Gate;
    const float decay = c.gen01Decay;
    const float fA = decay * 10000.0f;
    const float angle1 = sr != 0.0f ? 2.0f * fA * pi / sr : 0.0f;
    const float angle2 = sr != 0.0f ? 2.0f * timesInDouble(fA, 0.97) * pi / sr : 0.0f;
    const float k1 = clampInDouble(std::sin(angle1), 0.000001, 0.999999);
    const float k2 = clampInDouble(std::sin(angle2), 0.000001, 0.999999);
    const float quarterRate = sr * 0.25f;
    auto clampToQuarterRate = [quarterRate](float f) { return f < 0.0f ? 0.0f : (f > quarterRate ? quarterRate : f); };
    const float fIn = clampToQuarterRate(decay * 100.0f + 250.0f);
    const float fLoop = clampToQuarterRate(decay * 100.0f);
    const float fb = plusInDouble(timesInDouble(decay, 0.1), 0.89) * gate;
    const float damp1 = plusInDouble(timesInDouble(c.gen01Damping, 0.2), 0.79);
    const float damp2 = timesInDouble(damp1, 1.002);
    const float gateSteps = std::fabs(gate * 10000.0f);
    const float P = gateSteps > 1.0f ? gateSteps : 1.0f;
    auto tangent = [sr](float f) {
        return sr != 0.0f ? static_cast<float>(std::tan(static_cast<double>(f) * twoPi / static_cast<double>(sr))) : 0.0f;
    };
    const float gIn = tangent(fIn);
    const float gLoop = tangent(fLoop);
    auto reciprocalOfOnePlus = [](float g) { return 1.0f + g != 0.0f ? 1.0f / (1.0f + g) : 0.0f; };
    const float inIn = reciprocalOfOnePlus(gIn);
    const float inLoop = reciprocalOfOnePlus(gLoop);

    State s = state;
    for (Index i = 0; i < n; ++i)
    {
        const float uR = gate * in2[i];
        const float hpR = onePoleHighPass(uR, gIn, inIn, s.sR);
        const float uL = gate * in1[i];
        const float hpL = onePoleHighPass(uL, gIn, inIn, s.sL);
        const float z4 = l4.read(500.0f);

        s.W += (c.gen01Diffusion - s.W) / P;
        const float X = plusInDouble(s.W, 0.15);
        s.Y += (c.gen01Length - s.Y) / P;

        const float z5 = l5.read(s.Y);
        const float z6 = l6.read(s.Y + 2.0f);
        const float z7 = l7.read(s.Y);
        const float z8 = fold(l8.read(s.Y));

        // Left tank.
        const float t7 = (z8 - z7) * 0.9f + z5;
        const float ag = s.I + (t7 - s.I) * k1;
        s.I = onePoleHighPass(ag, gLoop, inLoop, s.s3) * fb;

        const float z9 = fold(l9.read(s.Y));

        // Right tank.
        const float t4 = (z9 - z4) * 0.9f + z6;
        const float ak = s.H + (t4 - s.H) * k2;
        s.H = onePoleHighPass(ak, gLoop, inLoop, s.s4) * fb;

        // Damping and DC blocking.
        const float cn = ag + (s.K - ag) * damp1;
        s.K = dcBlockerLeft.nextRoundingFeedback(cn);
        const float cq = ak + (s.J - ak) * damp2;
        s.J = dcBlockerRight.nextRoundingFeedback(cq);

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

        s.B += (c.gen01Spread - s.B) / P;
        const float spread215 = 215.0f * s.B;
        const float spread347 = 347.0f * s.B;
        const float spread124 = 124.0f * s.B;
        const float spread113 = 113.0f * s.B;
        s.a5 = timesInDouble(l10.read(spread215), 0.7) * X;
        s.a7 = timesInDouble(l11.read(spread215), 0.7) * X;
        s.bc = -l12.read(spread347) * s.W;
        s.a4 = -l13.read(spread347) * s.W;
        s.ba = -l14.read(spread124) * X;
        s.a6 = -l15.read(spread124) * X;
        s.bb = timesInDouble(l16.read(spread113), 0.7) * s.W;
        s.a3 = timesInDouble(l17.read(spread113), 0.7) * s.W;

        l4.write(t4);
        l17.write(cw);
        l16.write(cu);
        l15.write(cr);
        l14.write(cy);
        l13.write(cv);
        l12.write(ct);
        l11.write(cz);
        l10.write(cs);
        l9.write(uR + s.J);
        l8.write(uL + s.K);
        l7.write(t7);
        l6.write(z9);
        l5.write(z8);
        for (LineCursor& line : lines)
            line.step();
    }
    state = s;
    for (int k = 0; k < numDelayLines; ++k)
    {
        delayLines[static_cast<size_t>(k)].readPosition = lines[static_cast<size_t>(k)].position;
        delayLines[static_cast<size_t>(k)].writePosition = lines[static_cast<size_t>(k)].writePosition;
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
