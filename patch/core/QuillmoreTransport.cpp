#include "patch/core/Quillmore.h"
#include "runtime/EngineInterface.h"

#include <cmath>

namespace PRT
{
namespace
{
constexpr float unitsPerQuarter = 480.0f;

// Where the record in force at t starts, in a list of records of `stride` values with the time last:
// the first record always counts, a later one from its time on. Times are stored as floats: compare
// at that precision, so that a record set at t counts at t itself.
size_t recordInForce(const list& records, size_t stride, MillisecondTime t)
{
    const auto at = static_cast<float>(t);
    size_t i = stride;
    while (i < records.size() && !(at < records[i + stride - 1]))
        i += stride;
    return i - stride;
}
} // namespace

uint32_t Quillmore::sampleIndexAtTime(MillisecondTime t)
{
    EngineInterface* engine = getEngine();
    float d = static_cast<float>(t - (engine != nullptr ? engine->getCurrentTime() : 0.0));
    if (d < 0.0f)
        d = 0.0f;
    return static_cast<uint32_t>(static_cast<float>(static_cast<double>(getSampleRate()) * d * 0.001));
}

float Quillmore::beatTimeAtTime(MillisecondTime t)
{
    const size_t i = recordInForce(beatAnchors, 2, t);
    const float beatTime = beatAnchors[i];
    const uint32_t sample = sampleIndexAtTime(t);
    if (transport.at(sample) == 0.0f)
        return beatTime;
    const float elapsed = static_cast<float>((t - beatAnchors[i + 1]) * tempo.at(sample));
    return beatTime + elapsed * 0.008f / unitsPerQuarter;
}

void Quillmore::timeSignatureAtTime(MillisecondTime t, int32_t& numerator, int32_t& denominator)
{
    const size_t i = recordInForce(signatureChanges, 3, t);
    numerator = static_cast<int32_t>(signatureChanges[i]);
    denominator = static_cast<int32_t>(signatureChanges[i + 1]);
}

void Quillmore::bbuAtTime(MillisecondTime t, int32_t numerator, int32_t denominator, float bars, float beats,
                          float units)
{
    const float unitsPerBeat = 4.0f / static_cast<float>(denominator) * unitsPerQuarter;
    const float beatNow = beatTimeAtTime(t) * static_cast<float>(denominator) * 0.25f;
    while (units > unitsPerBeat)
    {
        units -= unitsPerBeat;
        beats += 1.0f;
    }
    barBeatOffset = static_cast<float>(numerator) * (bars - 1.0f) + (beats - 1.0f) + units / unitsPerBeat - beatNow;
}

void Quillmore::processTempoEvent(MillisecondTime time, float bpm)
{
    updateTime(time);
    const uint32_t i = sampleIndexAtTime(getTime());
    if (tempo.at(i) == bpm)
        return;
    // The anchor's beat time still follows the old tempo.
    const float beatTime = beatTimeAtTime(getTime());
    beatAnchors.push(beatTime);
    beatAnchors.push(static_cast<float>(getTime()));
    tempo.stepAt(i, bpm);
    for (GeneratedPatcher* module : getChildren())
        module->processTempoEvent(time, bpm);
    applyParameterValue(params::hostTempo, bpm);
}

void Quillmore::processTransportEvent(MillisecondTime time, int32_t state)
{
    updateTime(time);
    const uint32_t i = sampleIndexAtTime(getTime());
    const auto running = static_cast<float>(state);
    if (transport.at(i) == running)
        return;
    const float beatTime = beatTimeAtTime(getTime());
    beatAnchors.push(beatTime);
    beatAnchors.push(static_cast<float>(getTime()));
    transport.stepAt(i, running);
    for (GeneratedPatcher* module : getChildren())
        module->processTransportEvent(time, state);
}

void Quillmore::processBeatTimeEvent(MillisecondTime time, float beatTime)
{
    updateTime(time);
    const float current = beatTimeAtTime(getTime());
    beatAnchors.push(beatTime);
    beatAnchors.push(static_cast<float>(getTime()));
    if (current == beatTime)
        return;
    for (GeneratedPatcher* module : getChildren())
        module->processBeatTimeEvent(time, beatTime);
}

void Quillmore::processTimeSignatureEvent(MillisecondTime time, int32_t numerator, int32_t denominator)
{
    updateTime(time);
    int32_t previousNumerator = 0;
    int32_t previousDenominator = 0;
    timeSignatureAtTime(getTime(), previousNumerator, previousDenominator);
    if (previousNumerator == numerator && previousDenominator == denominator)
        return;

    // Where the new signature starts: the current position counted in the old one.
    const float position =
        beatTimeAtTime(getTime()) * static_cast<float>(previousDenominator) * 0.25f + barBeatOffset;
    const float previousUnitsPerBeat = 4.0f / static_cast<float>(previousDenominator) * unitsPerQuarter;
    float bars = std::trunc(position / static_cast<float>(previousNumerator));
    const float beat = position - bars * static_cast<float>(previousNumerator);
    float whole = 0.0f;
    float units = 0.0f;
    if (position >= 0.0f)
    {
        whole = std::trunc(beat);
        units = (beat - whole) * previousUnitsPerBeat;
    }
    else if (beat != 0.0f)
    {
        bars -= 1.0f;
        units = (beat - std::trunc(beat)) * previousUnitsPerBeat;
        whole = std::trunc(beat) + static_cast<float>(previousNumerator);
        if (units != 0.0f)
        {
            units += previousUnitsPerBeat;
            whole -= 1.0f;
        }
    }
    bbuAtTime(getTime(), numerator, denominator, bars + 1.0f, whole + 1.0f, units);

    signatureChanges.push(static_cast<float>(numerator));
    signatureChanges.push(static_cast<float>(denominator));
    signatureChanges.push(static_cast<float>(getTime()));
    for (GeneratedPatcher* module : getChildren())
        module->processTimeSignatureEvent(time, numerator, denominator);
}

void Quillmore::processBBUEvent(MillisecondTime time, float bars, float beats, float units)
{
    updateTime(time);
    int32_t numerator = 0;
    int32_t denominator = 0;
    timeSignatureAtTime(getTime(), numerator, denominator);
    bbuAtTime(getTime(), numerator, denominator, bars, beats, units);
    for (GeneratedPatcher* module : getChildren())
        module->processBBUEvent(time, bars, beats, units);
}

void Quillmore::prepareMusicalTime()
{
    tempo.fill();
    transport.fill();
}

void Quillmore::endBlockMusicalTime(Index n)
{
    tempo.endBlock(n);
    transport.endBlock(n);
    // Only the last anchor and the last signature matter from the next block on.
    if (beatAnchors.size() > 2)
        beatAnchors.removeFront(beatAnchors.size() - 2);
    if (signatureChanges.size() > 3)
        signatureChanges.removeFront(signatureChanges.size() - 3);
}

} // namespace PRT
