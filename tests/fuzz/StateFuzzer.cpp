// libFuzzer target: any bytes as the plug-in state a host hands back (setStateInformation). A crash, a
// sanitizer report, an insane processor afterwards or a saved state that does not restore to itself
// (HostileInputs) is a finding; tools/run-all-tests.sh runs it for a bounded time on tests/fuzz/corpus/state.
#include "tests/fuzz/FuzzedProcessor.h"
#include "tests/fuzz/HostileInputs.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzedProcessor::startingFresh();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto& processor = FuzzedProcessor::startingFresh();
    const auto fault = HostileInputs::loadState(processor, data, size);
    if (!fault.empty())
    {
        std::fprintf(stderr, "state fault: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
