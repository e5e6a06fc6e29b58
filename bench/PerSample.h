#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

// The figures of a benchmark whose every iteration renders samplesPerIteration samples: the samples
// per second and the time per sample ("per_sample").
inline void reportPerSample(benchmark::State& state, int64_t samplesPerIteration)
{
    state.SetItemsProcessed(state.iterations() * samplesPerIteration);
    state.counters["per_sample"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(samplesPerIteration),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
