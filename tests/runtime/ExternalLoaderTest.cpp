#include "runtime/ExternalLoader.h"
#include "runtime/ExternalModule.h"
#include "runtime/ExternalModuleMap.h"

#include "tests/runtime/TestExternals.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace PRT;
using test::ExternalProbe;
using test::externalFolder;

namespace
{
template <typename Value>
std::string text(const Value& value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}

std::unique_ptr<ExternalLoader> makeLoader(const char* name, const char* folder = externalFolder)
{
    return std::unique_ptr<ExternalLoader>(createExternalLoader(nullptr, name, folder));
}

// One loader call: what it answers (as text, "" for none) and the calls the external saw.
struct ForwardingCase
{
    const char* operation;
    std::function<std::string(ExternalLoader&)> call;
    std::string expectedResult;
    std::string expectedCalls;
};

const std::vector<ForwardingCase>& forwardingCases()
{
    static const std::vector<ForwardingCase> cases = {
        {"getNumParameters", [](ExternalLoader& l) { return text(l.getNumParameters()); }, "2", "getNumParameters\n"},
        {"getParameterName", [](ExternalLoader& l) { return text(l.getParameterName(1)); }, "Offset",
         "getParameterName 1\n"},
        {"getParameterId", [](ExternalLoader& l) { return text(l.getParameterId(0)); }, "gain", "getParameterId 0\n"},
        {"getParameterInfo",
         [](ExternalLoader& l) {
             ParameterInfo info;
             l.getParameterInfo(1, &info);
             return text(info.minimum) + " " + text(info.maximum);
         },
         "-4 4", "getParameterInfo 1\n"},
        {"getParameterValue", [](ExternalLoader& l) { return text(l.getParameterValue(0)); }, "1",
         "getParameterValue 0\n"},
        {"setParameterValue",
         [](ExternalLoader& l) {
             l.setParameterValue(1, 0.5f, 12.25);
             return text(l.getParameterValue(1));
         },
         "0.5", "setParameterValue 1 0.5 12.25\ngetParameterValue 1\n"},
        {"convertToNormalizedParameterValue",
         [](ExternalLoader& l) { return text(l.convertToNormalizedParameterValue(0, 0.0f)); }, "0.5",
         "convertToNormalizedParameterValue 0 0\n"},
        {"convertFromNormalizedParameterValue",
         [](ExternalLoader& l) { return text(l.convertFromNormalizedParameterValue(1, 0.75f)); }, "2",
         "convertFromNormalizedParameterValue 1 0.75\n"},
        {"constrainParameterValue", [](ExternalLoader& l) { return text(l.constrainParameterValue(0, 9.0f)); },
         "4", "constrainParameterValue 0 9\n"},
        // The normalised pair keeps the runtime's shared bodies, built on the entry points above.
        {"getParameterNormalized", [](ExternalLoader& l) { return text(l.getParameterNormalized(0)); }, "0.625",
         "getParameterValue 0\nconvertToNormalizedParameterValue 0 1\n"},
        {"setParameterValueNormalized",
         [](ExternalLoader& l) {
             l.setParameterValueNormalized(0, 1.0f, 3.0);
             return std::string();
         },
         "", "convertFromNormalizedParameterValue 0 1\nsetParameterValue 0 4 3\n"},
        {"getNumMidiInputPorts", [](ExternalLoader& l) { return text(l.getNumMidiInputPorts()); }, "1",
         "getNumMidiInputPorts\n"},
        {"getNumMidiOutputPorts", [](ExternalLoader& l) { return text(l.getNumMidiOutputPorts()); }, "3",
         "getNumMidiOutputPorts\n"},
        {"getNumInputChannels", [](ExternalLoader& l) { return text(l.getNumInputChannels()); }, "2",
         "getNumInputChannels\n"},
        {"getNumOutputChannels", [](ExternalLoader& l) { return text(l.getNumOutputChannels()); }, "2",
         "getNumOutputChannels\n"},
        // The 32-bit sample rate arrives widened: 44100.5 is exact in both widths.
        {"prepareToProcess",
         [](ExternalLoader& l) {
             l.prepareToProcess(44100.5f, 128, true);
             return std::string();
         },
         "", "prepareToProcess 44100.5 128 1\n"},
        {"processMidiEvent",
         [](ExternalLoader& l) {
             const uint8_t bytes[] = {0x90, 60, 100};
             l.processMidiEvent(5.5, 2, bytes, 3);
             return std::string();
         },
         "", "processMidiEvent 5.5 2 144,60,100 3\n"},
        {"processClockEvent",
         [](ExternalLoader& l) {
             l.processClockEvent(7.25, 9, true, 0.5f);
             return std::string();
         },
         "", "processClockEvent 7.25 9 1 0.5\n"},
    };
    return cases;
}
} // namespace

TEST(ExternalLoader, TwoLoadersForOneNameShareOneModule)
{
    // An external that cannot be found: the map keys by name alone, so the second folder is ignored.
    const size_t modulesBefore = externalModuleMap().size();
    auto first = makeLoader("shared-by-name.so", "/first");
    auto second = makeLoader("shared-by-name.so", "/second");
    EXPECT_EQ(externalModuleMap().size(), modulesBefore + 1);
    EXPECT_EQ(first->getModule(), second->getModule());
    EXPECT_EQ(first->getModule()->getFolder(), "/first");
    EXPECT_EQ(first->getModule()->getName(), "shared-by-name.so");
    EXPECT_FALSE(first->getModule()->isLoaded());

    // A real one: one module, one loaded copy, an instance per loader.
    ExternalProbe probe(test::completeExternal);
    const int instancesBefore = probe.liveInstances();
    auto a = makeLoader(test::completeExternal);
    auto b = makeLoader(test::completeExternal, "/elsewhere");
    EXPECT_EQ(a->getModule(), b->getModule());
    EXPECT_TRUE(a->getModule()->isLoaded());
    EXPECT_EQ(a->getModule()->getFolder(), externalFolder);
    ASSERT_NE(a->getHandle(), nullptr);
    ASSERT_NE(b->getHandle(), nullptr);
    EXPECT_NE(a->getHandle(), b->getHandle());
    EXPECT_EQ(probe.liveInstances(), instancesBefore + 2);
}

TEST(ExternalLoader, ResolvedEntryPointsGetTheInstanceAndTheArgumentsUnchanged)
{
    ExternalProbe probe(test::completeExternal);
    auto loader = makeLoader(test::completeExternal);
    auto other = makeLoader(test::completeExternal);

    for (const ForwardingCase& c : forwardingCases())
    {
        SCOPED_TRACE(c.operation);
        EXPECT_EQ(c.call(*loader), c.expectedResult);
        EXPECT_EQ(probe.takeCalls(loader->getHandle()), c.expectedCalls);
    }
    EXPECT_EQ(probe.takeCalls(other->getHandle()), "") << "calls reached another loader's instance";

    loader->initialize();
    EXPECT_EQ(probe.takeCalls(loader->getHandle()), "initialize\n");
    EXPECT_EQ(probe.loaderOf(loader->getHandle()), loader.get());
}

TEST(ExternalLoader, ProcessRunsTheExternalOnTheBlock)
{
    ExternalProbe probe(test::completeExternal);
    auto loader = makeLoader(test::completeExternal);
    loader->setParameterValue(0, 2.0f, 0);
    loader->setParameterValue(1, 0.5f, 0);
    probe.takeCalls(loader->getHandle());

    constexpr Index frames = 8;
    std::vector<SampleValue> left(frames), right(frames), outLeft(frames), outRight(frames);
    for (Index i = 0; i < frames; ++i)
    {
        left[i] = static_cast<SampleValue>(i);
        right[i] = -static_cast<SampleValue>(i);
    }
    const SampleValue* inputs[] = {left.data(), right.data()};
    SampleValue* outputs[] = {outLeft.data(), outRight.data()};
    loader->process(inputs, 2, outputs, 2, frames);

    EXPECT_EQ(probe.takeCalls(loader->getHandle()), "process 2 2 8\n");
    for (Index i = 0; i < frames; ++i)
    {
        EXPECT_EQ(outLeft[i], 2.0f * static_cast<float>(i) + 0.5f);
        EXPECT_EQ(outRight[i], -2.0f * static_cast<float>(i) + 0.5f);
    }
}

TEST(ExternalLoader, WithoutItsLibraryEveryOperationDoesNothing)
{
    auto loader = makeLoader("no-such-external.so");
    EXPECT_FALSE(loader->getModule()->isLoaded());
    EXPECT_EQ(loader->getHandle(), nullptr);

    loader->initialize();
    loader->prepareToProcess(48000, 64, false);
    EXPECT_EQ(loader->getNumParameters(), 0u);
    EXPECT_EQ(loader->getParameterName(0), nullptr);
    EXPECT_EQ(loader->getParameterId(0), nullptr);
    EXPECT_EQ(loader->getParameterValue(0), 0.0f);
    loader->setParameterValue(0, 3.0f, 0);
    EXPECT_EQ(loader->getParameterValue(0), 0.0f);
    EXPECT_EQ(loader->convertToNormalizedParameterValue(0, 3.0f), 0.0f);
    EXPECT_EQ(loader->convertFromNormalizedParameterValue(0, 0.5f), 0.0f);
    EXPECT_EQ(loader->constrainParameterValue(0, 3.0f), 0.0f);
    EXPECT_EQ(loader->getParameterNormalized(0), 0.0f);
    EXPECT_EQ(loader->getNumMidiInputPorts(), 0u);
    EXPECT_EQ(loader->getNumMidiOutputPorts(), 0u);
    EXPECT_EQ(loader->getNumInputChannels(), 0u);
    EXPECT_EQ(loader->getNumOutputChannels(), 0u);

    ParameterInfo info;
    info.minimum = -123.0f;
    info.displayName = "untouched";
    loader->getParameterInfo(0, &info);
    EXPECT_EQ(info.minimum, -123.0f);
    EXPECT_STREQ(info.displayName, "untouched");

    std::vector<SampleValue> input(16, 0.25f), left(16, 7.0f), right(16, 7.0f);
    const SampleValue* inputs[] = {input.data()};
    SampleValue* outputs[] = {left.data(), right.data()};
    loader->process(inputs, 1, outputs, 2, 16);
    EXPECT_EQ(left, std::vector<SampleValue>(16, 7.0f));
    EXPECT_EQ(right, std::vector<SampleValue>(16, 7.0f));

    const uint8_t bytes[] = {0xB0, 1, 2};
    loader->processMidiEvent(0, 0, bytes, 3);
    loader->processClockEvent(0, 1, true, 1.0f);
}

TEST(ExternalLoader, EntryPointsTheLibraryLacksDoNothingWhileTheOthersWork)
{
    ExternalProbe probe(test::partialExternal);
    auto loader = makeLoader(test::partialExternal);
    ASSERT_TRUE(loader->getModule()->isLoaded());

    EXPECT_EQ(loader->getNumInputChannels(), 2u);
    EXPECT_EQ(loader->getNumOutputChannels(), 0u);
    const uint8_t bytes[] = {0x90, 60, 100};
    loader->processMidiEvent(1.0, 0, bytes, 3);
    loader->processClockEvent(2.0, 4, false, 0.0f);
    EXPECT_EQ(probe.takeCalls(loader->getHandle()), "getNumInputChannels\nprocessClockEvent 2 4 0 0\n");
}

TEST(ExternalLoader, DestroyingALoaderDeletesOnlyItsOwnInstance)
{
    ExternalProbe probe(test::completeExternal);
    const int before = probe.liveInstances();
    auto kept = makeLoader(test::completeExternal);
    auto dropped = makeLoader(test::completeExternal);
    ASSERT_EQ(probe.liveInstances(), before + 2);

    dropped.reset();
    EXPECT_EQ(probe.liveInstances(), before + 1);
    EXPECT_EQ(kept->getNumParameters(), 2u); // the shared module and the other instance are intact
    kept.reset();
    EXPECT_EQ(probe.liveInstances(), before);
}
