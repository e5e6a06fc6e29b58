#pragma once

#include "runtime/ExternalEntryPoints.h"
#include "runtime/SharedLibrary.h"

#include <stdexcept>
#include <string>

namespace PRT::test
{

// The test external modules built beside the tests, and their inspection exports.
constexpr const char* externalFolder = QUILLMORE_TEST_EXTERNAL_FOLDER;
constexpr const char* completeExternal = QUILLMORE_TEST_EXTERNAL_COMPLETE_NAME;
constexpr const char* partialExternal = QUILLMORE_TEST_EXTERNAL_PARTIAL_NAME; // no getNumOutputChannels, processMidiEvent

// Opens the same library as the loader (so the same loaded copy) to read what its instances saw.
class ExternalProbe
{
public:
    explicit ExternalProbe(const char* name)
    {
        const std::string path = std::string(externalFolder) + "/" + name;
        if (!library.open(path.c_str()))
            throw std::runtime_error("test external missing: " + path);
        liveInstances = symbol<int (*)()>("testExternalLiveInstances");
        callsOf = symbol<const char* (*)(ExternalHandle)>("testExternalCalls");
        clearCallsOf = symbol<void (*)(ExternalHandle)>("testExternalClearCalls");
        loaderOf = symbol<void* (*)(ExternalHandle)>("testExternalLoader");
    }

    // The calls an instance received since the last take, one line each.
    std::string takeCalls(ExternalHandle handle)
    {
        std::string calls = callsOf(handle);
        clearCallsOf(handle);
        return calls;
    }

    int (*liveInstances)();
    void* (*loaderOf)(ExternalHandle);

private:
    template <typename Function>
    Function symbol(const char* name)
    {
        void* found = library.findSymbol(name);
        if (found == nullptr)
            throw std::runtime_error(std::string("test external lacks ") + name);
        return reinterpret_cast<Function>(found);
    }

    SharedLibrary library;
    const char* (*callsOf)(ExternalHandle);
    void (*clearCallsOf)(ExternalHandle);
};

} // namespace PRT::test
