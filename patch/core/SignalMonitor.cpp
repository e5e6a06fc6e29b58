#include "patch/core/SignalMonitor.h"

#include "patch/core/GeneratedLists.h"
#include "patch/core/GeneratedPatcher.h"
#include "patch/core/MessageTags.h"

#include <algorithm>

namespace PRT
{
namespace
{
constexpr const HashedText* monitorTags[] = {&tags::setup, &tags::assign, &tags::mode, &tags::sig, &tags::monitor};
}

SignalMonitor::SignalMonitor(GeneratedPatcher& owner, HashedText path, ClockId clockId, float rampTime,
                             float reportPeriod)
    : PatchObject(owner, path, NumberMessages | ListMessages, makeTagSet(monitorTags), clockId),
      rampTimeMs(rampTime), reportPeriodMs(reportPeriod)
{
    report.reserve(1);
}

void SignalMonitor::setUp(OutputMode mode)
{
    outputMode = mode;
    sendNumber(tags::setup, 1.0f);
}

void SignalMonitor::setNumberTildeInput(float value)
{
    setValue = value;
    if (outputMode == RampToSetValue)
        sendNumber(tags::assign, value);
}

void SignalMonitor::setMode(float value)
{
    if (value == 1.0f)
        outputMode = RampToSetValue;
    else if (value == 2.0f)
        outputMode = FollowInput;
}

void SignalMonitor::receiveNumber(MessageTag tag, float number)
{
    if (tag == tags::mode.hash)
        setMode(number);
    else if (tag == tags::sig.hash)
        setValue = number;
}

void SignalMonitor::receiveList(MessageTag tag, const list& values)
{
    if (tag == tags::sig.hash)
        setValue = firstElement(values);
}

void SignalMonitor::receiveClock(bool hasValue, ParameterValue value)
{
    if (hasValue && onReport)
        onReport(value);
}

void SignalMonitor::prepare(bool changed)
{
    if (isSetUp && !changed)
        return;
    isSetUp = true;
    lastSetValue = 0.0f;
    const double sampleRate = owner.getSampleRate();
    reportInterval = countdown = static_cast<int64_t>(static_cast<float>(sampleRate * reportPeriodMs * 0.001));
    rampLength = static_cast<float>(rampTimeMs * sampleRate * 0.001);
}

void SignalMonitor::process(const SampleValue* input, SampleValue* output, Index n)
{
    if (output != nullptr && outputMode == FollowInput)
    {
        std::copy(input, input + n, output);
    }
    else if (output != nullptr && n > 0)
    {
        // The set value changes between blocks only, so a new one is seen at the block's start.
        if (setValue != lastSetValue)
        {
            lastSetValue = setValue;
            if (setValue != currentOutput)
            {
                remainingSteps = std::max(1.0f, rampLength);
                step = (setValue - currentOutput) / remainingSteps;
            }
        }
        Index i = 0;
        for (; i < n && remainingSteps > 0.0f; ++i)
        {
            currentOutput += step;
            remainingSteps -= 1.0f;
            output[i] = currentOutput;
        }
        if (i < n)
        {
            currentOutput = setValue;
            std::fill(output + i, output + n, setValue);
        }
    }

    if (n == 0)
        return;
    const float value = input[0];
    countdown -= n;
    if (value != lastReported && countdown <= 0)
    {
        const float blockMs = owner.getInvSampleRate() * 1000.0f * static_cast<float>(owner.getVectorSize());
        scheduleOwnClockWithValue(blockMs, value);
        assignSingleValue(report, value);
        sendList(tags::monitor, report);
        countdown = reportInterval;
        lastReported = value;
    }
}

} // namespace PRT
