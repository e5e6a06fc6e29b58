#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

// The figures of a benchmark whose every iteration renders samplesPerIteration samples: the samples
// per second and the time per sample ("per_sample").
inline void reportPerSample(benchmark::State& state, int64_t samplesPerIteration)
{
    state.SetItemsProcessed(state.iterations() * samplesPerIteration);
    state.counters["per_sample"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(samplesPerIteration),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Denormal numbers flushed to zero for its lifetime, as the processor runs the patch (a benchmark
// without it would time the slow path of values decaying through the denormal range).
class DenormalsOff
{
public:
#if defined(__SSE__)
    DenormalsOff() : saved_(_mm_getcsr()) { _mm_setcsr(saved_ | 0x8040u); } // flush to zero, denormals are zero
    ~DenormalsOff() { _mm_setcsr(saved_); }

private:
    unsigned int saved_;
#endif
};
