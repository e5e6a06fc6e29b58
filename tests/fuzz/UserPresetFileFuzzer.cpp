// libFuzzer target: any bytes as a user preset file, scanned and loaded by the processor. A crash, a
// sanitizer report or an insane processor afterwards (HostileInputs) is a finding; tools/run-all-tests.sh
// runs it for a bounded time on tests/fuzz/corpus/user-preset and the factory presets.
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
    const auto fault = HostileInputs::loadUserPresetFile(FuzzedProcessor::startingFresh(), data, size);
    if (!fault.empty())
    {
        std::fprintf(stderr, "user preset file fault: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
