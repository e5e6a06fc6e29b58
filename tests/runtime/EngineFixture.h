#pragma once

#include "runtime/Engine.h"

#include "tests/runtime/RecordingPatcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace PRT::test
{

// A recording patcher whose parameters accept 0 to 10.
class ClampingPatcher : public RecordingPatcher
{
public:
    ParameterValue constrainParameterValue(ParameterIndex index, ParameterValue value) override
    {
        return index < numParameters ? std::clamp(value, 0.0f, 10.0f) : value;
    }
};

constexpr float fixtureSampleRate = 48000;
constexpr Index fixtureBlockFrames = 64;

// Runs blocks of two output channels through an engine.
inline void runBlocks(EngineCore& engine, int count = 1, Index frames = fixtureBlockFrames)
{
    std::vector<SampleValue> left(frames), right(frames);
    SampleValue* outputs[] = {left.data(), right.data()};
    for (int i = 0; i < count; ++i)
        engine.process(nullptr, 0, outputs, 2, frames, nullptr, nullptr);
}

// The line a recording patcher logs for a parameter call.
inline std::string parameterCall(ParameterIndex index, ParameterValue value, MillisecondTime time)
{
    CallLog log;
    log.record("parameter", time, index, value);
    return log.lines.front();
}

// An engine running a clamping patcher, prepared at 48 kHz for 64-frame blocks; no block has run.
class EngineFixture : public testing::Test
{
protected:
    EngineFixture() : patcher(new ClampingPatcher())
    {
        engine.setPatcher(PatcherPtr(patcher));
        engine.prepareToProcess(fixtureSampleRate, fixtureBlockFrames, false);
        patcher->takeCalls();
    }

    void runBlock(int count = 1) { runBlocks(engine, count); }

    // The parameter calls the patcher received since the last look.
    std::vector<std::string> parameterCalls()
    {
        std::vector<std::string> found;
        for (std::string& call : patcher->takeCalls())
            if (call.rfind("parameter ", 0) == 0)
                found.push_back(std::move(call));
        return found;
    }

    Engine engine;
    ClampingPatcher* patcher; // owned by the engine
};

} // namespace PRT::test
