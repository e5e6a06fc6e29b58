#pragma once

#include "patch/core/Quillmore.h"
#include "runtime/EngineCore.h"

#include <initializer_list>
#include <random>
#include <utility>
#include <vector>

namespace PRT
{

inline constexpr Index kTopLevelBlock = 128;

// The whole top level in the engine core at 48 kHz in blocks of 128, with the given parameter
// settings, run on a block of uniform noise (±0.5, the same every time) until the engine's clock
// passes warmUpMs: a benchmark then times single modules on their own ports in the state the whole
// patch left them.
struct TopLevelRig
{
    TopLevelRig(std::initializer_list<std::pair<ParameterIndex, float>> settings, double warmUpMs)
    {
        engine.setPatcher(PatcherPtr(top));
        for (const auto& [index, value] : settings)
            engine.scheduleEvent(ParameterEvent{index, 0.0, value, nullptr, nullptr});
        engine.prepareToProcess(48000.0f, kTopLevelBlock, false);
        std::minstd_rand random(3);
        std::uniform_real_distribution<float> uniform(-0.5f, 0.5f);
        for (auto* channel : {&left, &right})
            for (float& x : *channel)
                x = uniform(random);
        const SampleValue* inputs[] = {left.data(), right.data()};
        SampleValue* outputs[] = {outLeft.data(), outRight.data()};
        while (engine.getCurrentTime() < warmUpMs)
            engine.process(inputs, 2, outputs, 2, kTopLevelBlock, nullptr, nullptr);
    }

    EngineCore engine;
    Quillmore* top = new Quillmore();
    std::vector<float> left = std::vector<float>(kTopLevelBlock), right = std::vector<float>(kTopLevelBlock);
    std::vector<float> outLeft = std::vector<float>(kTopLevelBlock), outRight = std::vector<float>(kTopLevelBlock);
};

} // namespace PRT
