#include "runtime/Engine.h"

#include "tests/runtime/EngineFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace PRT;

namespace
{
struct RefLayout
{
    const char* name;
    bool internal = false;
    int32_t kind = DataTypeUntyped;
};

// A patcher with data references of its own, each with 64 bytes of storage.
class DataRefPatcher : public test::RecordingPatcher
{
public:
    explicit DataRefPatcher(std::vector<RefLayout> layouts)
    {
        for (const RefLayout& layout : layouts)
        {
            auto ref = std::make_unique<DataRef>(layout.name, layout.internal);
            ref->setRequestedSizeInBytes(64);
            ref->allocateIfNeeded();
            ref->getDataType().kind = layout.kind;
            refs.push_back(std::move(ref));
        }
    }

    DataRefIndex getNumDataRefs() override { return static_cast<DataRefIndex>(refs.size()); }
    DataRef* getDataRef(DataRefIndex index) override { return refs.at(static_cast<size_t>(index)).get(); }

    std::vector<std::unique_ptr<DataRef>> refs;
};

// Sees the published references at every block and may act on them as the block begins.
class RecordingDataHandler : public ExternalDataHandler
{
public:
    void blockBegins(const ExternalDataRefList& refs, ExternalDataAccess& access) override
    {
        seen = refs;
        entries.clear();
        for (const ExternalDataRef* ref : refs)
            entries.push_back(std::string(ref->getName()) + "@" + std::to_string(ref->getIndex()));
        onBegin(access);
        onBegin = [](ExternalDataAccess&) {};
    }
    void blockEnds(const ExternalDataRefList&) override { ++ends; }

    ExternalDataRefList seen;
    std::vector<std::string> entries;
    std::function<void(ExternalDataAccess&)> onBegin = [](ExternalDataAccess&) {};
    int ends = 0;
};

// Keeps every release the engine hands back.
struct Releases
{
    ExternalDataRef::ReleaseCallback callback()
    {
        return [this](const char* name, void* data) { released.emplace_back(name, data); };
    }
    std::vector<std::pair<std::string, void*>> released;
};

ExternalDataEvent attachEvent(const char* name, void* data, size_t bytes, ExternalDataRef::ReleaseCallback release)
{
    ExternalDataEvent event;
    event.name = std::make_shared<const String>(name);
    event.data = data;
    event.sizeInBytes = bytes;
    event.type = DataType{DataTypeFloat32Audio, 1, 48000};
    event.kind = ExternalDataEvent::Attach;
    event.releaseCallback = std::move(release);
    return event;
}

ExternalDataEvent detachEvent(const char* name)
{
    ExternalDataEvent event;
    event.name = std::make_shared<const String>(name);
    event.kind = ExternalDataEvent::Detach;
    return event;
}

class EngineDataRefTest : public testing::Test
{
protected:
    EngineDataRefTest() { engine.setExternalDataHandler(&handler); }

    DataRefPatcher* install(std::vector<RefLayout> layouts)
    {
        auto* patcher = new DataRefPatcher(std::move(layouts));
        engine.setPatcher(PatcherPtr(patcher));
        return patcher;
    }

    Engine engine;
    RecordingDataHandler handler;
    Releases releases;
};
} // namespace

TEST_F(EngineDataRefTest, NamedPublicReferencesArePublishedAndKeptByNameAcrossSwaps)
{
    install({{"delay", true}, {""}, {"table"}, {"scope"}});
    test::runBlocks(engine);
    EXPECT_EQ(handler.entries, (std::vector<std::string>{"table@2", "scope@3"}));
    EXPECT_EQ(handler.ends, 1);
    ExternalDataRef* scope = handler.seen[1];

    std::vector<float> table(16);
    engine.postExternalDataEvent(attachEvent("table", table.data(), 64, releases.callback()));
    test::runBlocks(engine);

    install({{"scope"}, {"other"}});
    test::runBlocks(engine);
    EXPECT_EQ(handler.entries, (std::vector<std::string>{"scope@0", "other@1"}));
    EXPECT_EQ(handler.seen[0], scope); // the same entry, re-numbered
    // The dropped name hands its attached memory back.
    EXPECT_EQ(releases.released, (std::vector<std::pair<std::string, void*>>{{"table", table.data()}}));
}

TEST_F(EngineDataRefTest, MemoryAttachedForAnOutgoingPatcherIsReleasedExactlyOnce)
{
    install({{"scope"}});
    std::vector<float> scope(16);
    engine.postExternalDataEvent(attachEvent("scope", scope.data(), 64, releases.callback()));
    test::runBlocks(engine);

    install({{"scope"}}); // the new patcher brings storage of its own
    EXPECT_EQ(releases.released.size(), 1u);
    install({});
    test::runBlocks(engine);
    EXPECT_EQ(releases.released.size(), 1u);
}

TEST_F(EngineDataRefTest, AttachAndDetachRequestsTakeEffectAtTheNextBlock)
{
    DataRefPatcher* patcher = install({{"scope"}, {"table"}});
    test::runBlocks(engine);
    patcher->takeCalls();
    DataRef& ref = *patcher->refs[1];

    std::vector<float> first(16), second(32);
    engine.postExternalDataEvent(attachEvent("table", first.data(), 64, releases.callback()));
    engine.postExternalDataEvent(attachEvent("missing", second.data(), 128, releases.callback()));
    EXPECT_NE(ref.getData(), first.data()); // not before the block
    const MillisecondTime now = engine.getCurrentTime();
    test::runBlocks(engine);
    EXPECT_EQ(ref.getData(), first.data());
    EXPECT_EQ(ref.getSizeInBytes(), 64u);
    EXPECT_FALSE(ref.ownsData());
    EXPECT_EQ(ref.getDataType().kind, DataTypeFloat32Audio);
    test::CallLog update;
    update.record("dataView", now, 1);
    EXPECT_EQ(patcher->takeCalls().front(), update.lines.front()); // the patcher rebuilds its view first

    engine.postExternalDataEvent(attachEvent("table", second.data(), 128, releases.callback()));
    test::runBlocks(engine);
    EXPECT_EQ(releases.released, (std::vector<std::pair<std::string, void*>>{{"table", first.data()}}));

    engine.postExternalDataEvent(detachEvent("table"));
    test::runBlocks(engine);
    EXPECT_EQ(ref.getData(), nullptr);
    EXPECT_EQ(ref.getSizeInBytes(), 0u);
    ASSERT_EQ(releases.released.size(), 2u);
    EXPECT_EQ(releases.released[1].second, second.data());
}

TEST_F(EngineDataRefTest, TheHandlerAttachesOnlyToReferencesOfTheSameBufferKind)
{
    DataRefPatcher* patcher =
        install({{"float", false, DataTypeFloat32Audio}, {"double", false, DataTypeFloat64Audio}, {"untyped"}});
    std::vector<float> memory(16);
    const DataType floatBuffer{DataTypeFloat32Audio, 1, 48000};
    handler.onBegin = [&](ExternalDataAccess& access) {
        for (size_t i = 0; i < 3; ++i)
            access.attach(i, memory.data(), 64, floatBuffer);
        access.detach(7); // past the list: ignored
    };
    patcher->onProcess = [patcher] { patcher->refs[0]->setTouched(true); };
    test::runBlocks(engine);

    EXPECT_EQ(patcher->refs[0]->getData(), memory.data());
    EXPECT_EQ(patcher->refs[1]->getData(), nullptr);
    EXPECT_EQ(patcher->refs[2]->getData(), nullptr);
    EXPECT_FALSE(patcher->refs[0]->isTouched()); // reported and cleared at the block's end
}
