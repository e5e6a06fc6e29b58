#include "runtime/DataRef.h"
#include "runtime/DataView.h"
#include "runtime/ExternalDataRef.h"

#include "tests/runtime/CountingPlatform.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

using namespace PRT;

namespace
{
// Counts memory on its own platform object and checks at the end that nothing leaked.
class DataRefTest : public testing::Test
{
protected:
    void TearDown() override { EXPECT_EQ(platform.outstanding(), 0); }

    test::CountingPlatform platform;
};

void fill(DataRef& ref, unsigned char value)
{
    std::memset(ref.getData(), value, ref.getSizeInBytes());
}
} // namespace

TEST_F(DataRefTest, InitialisationCopiesTextsIntoPlatformMemory)
{
    DataRef ref("gen_01_delay_4_bufferobj", true, "buffer~");
    EXPECT_STREQ(ref.getName(), "gen_01_delay_4_bufferobj");
    EXPECT_STREQ(ref.getType(), "buffer~");
    EXPECT_STREQ(ref.getFile(), "");
    EXPECT_TRUE(ref.isInternal());
    EXPECT_EQ(ref.getIndex(), -1);
    EXPECT_EQ(ref.getDataType().kind, DataTypeUntyped);
    EXPECT_EQ(ref.getData(), nullptr);
    EXPECT_EQ(platform.allocations, 2);
}

TEST_F(DataRefTest, ShrinkingKeepsStorageGrowingCarriesContentsOver)
{
    DataRef ref("d", false);
    ref.setRequestedSizeInBytes(0);
    ref.allocateIfNeeded();
    EXPECT_EQ(ref.getData(), nullptr);

    ref.setRequestedSizeInBytes(4096);
    ref.allocateIfNeeded();
    ASSERT_NE(ref.getData(), nullptr);
    EXPECT_TRUE(ref.isFreshlyAllocated());
    EXPECT_TRUE(ref.ownsData());
    fill(ref, 0xAB);
    void* first = ref.getData();

    ref.setRequestedSizeInBytes(1024);
    ref.allocateIfNeeded();
    EXPECT_EQ(ref.getData(), first);
    EXPECT_EQ(ref.getSizeInBytes(), 1024u);

    ref.setRequestedSizeInBytes(8192);
    ref.allocateIfNeeded();
    EXPECT_EQ(ref.getSizeInBytes(), 8192u);
    EXPECT_FALSE(ref.isFreshlyAllocated());
    const auto* bytes = static_cast<const unsigned char*>(ref.getData());
    for (size_t i = 0; i < 8192; ++i)
        ASSERT_EQ(bytes[i], i < 1024 ? 0xAB : 0x00) << "byte " << i;
}

TEST_F(DataRefTest, MoveLeavesTheSourceEmpty)
{
    DataRef source("moved", true, "data");
    source.setRequestedSizeInBytes(64);
    source.allocateIfNeeded();
    source.setIndex(3);
    void* storage = source.getData();

    DataRef target(std::move(source));
    EXPECT_STREQ(target.getName(), "moved");
    EXPECT_EQ(target.getData(), storage);
    EXPECT_EQ(target.getIndex(), 3);
    EXPECT_TRUE(target.ownsData());
    EXPECT_STREQ(source.getName(), "");
    EXPECT_EQ(source.getData(), nullptr);
    EXPECT_EQ(source.getSizeInBytes(), 0u);
    EXPECT_FALSE(source.ownsData());
    EXPECT_EQ(source.getIndex(), -1);

    DataRef other("other", false);
    other.setRequestedSizeInBytes(16);
    other.allocateIfNeeded();
    other = std::move(target); // other's own storage is released, not leaked
    EXPECT_EQ(other.getData(), storage);
    DataRef& self = other;
    other = std::move(self);
    EXPECT_EQ(other.getData(), storage);
}

TEST_F(DataRefTest, Float64BufferOverUntypedReference)
{
    DataRef ref("delay", true);
    auto* buffer = new Float64Buffer(&ref);
    DataViewRef<Float64Buffer> handle(buffer);
    EXPECT_EQ(ref.getDataType().kind, DataTypeFloat64Audio);
    EXPECT_EQ(ref.getDataType().sampleRate, 44100.0f);
    EXPECT_EQ(handle->getChannels(), 0u);
    EXPECT_EQ(handle->getSize(), 0u);

    handle->requestChannels(1);
    ref.setRequestedSizeInBytes(131072 * sizeof(double));
    handle->allocateIfNeeded();
    EXPECT_EQ(handle->getChannels(), 1u);
    EXPECT_EQ(handle->getSize(), 131072u);
    EXPECT_EQ(static_cast<void*>(handle->getData()), ref.getData());

    Float32Buffer floats(&ref); // an already typed reference keeps its type
    EXPECT_EQ(ref.getDataType().kind, DataTypeFloat64Audio);
}

TEST_F(DataRefTest, ChangingChannelsKeepsFramesAndClearsSamples)
{
    DataRef ref("stereo", false);
    Float32Buffer buffer(&ref);
    buffer.requestChannels(2);
    ref.setRequestedSizeInBytes(100 * 2 * sizeof(float));
    buffer.allocateIfNeeded();
    ASSERT_EQ(buffer.getSize(), 100u);
    for (size_t i = 0; i < 200; ++i)
        buffer.getData()[i] = 1.0f;

    buffer.setChannels(1);
    EXPECT_EQ(buffer.getChannels(), 1u);
    EXPECT_EQ(buffer.getSize(), 100u);
    for (size_t i = 0; i < 100; ++i)
        ASSERT_EQ(buffer.getData()[i], 0.0f);

    buffer.setChannels(1); // same count: nothing happens
    EXPECT_EQ(buffer.getSize(), 100u);
}

TEST_F(DataRefTest, RequestingOtherChannelsClearsTheOldLayout)
{
    DataRef ref("mono", false);
    Float32Buffer buffer(&ref);
    buffer.requestChannels(1);
    ref.setRequestedSizeInBytes(64 * sizeof(float));
    buffer.allocateIfNeeded();
    for (size_t i = 0; i < 64; ++i)
        buffer.getData()[i] = 0.5f;

    buffer.requestChannels(2);
    buffer.allocateIfNeeded();
    EXPECT_EQ(buffer.getChannels(), 2u);
    EXPECT_EQ(buffer.getSize(), 32u);
    for (size_t i = 0; i < 64; ++i)
        ASSERT_EQ(buffer.getData()[i], 0.0f);

    buffer.setSize(100);
    EXPECT_EQ(buffer.getSize(), 100u);
    EXPECT_EQ(ref.getSizeInBytes(), 100 * 2 * sizeof(float));
}

TEST_F(DataRefTest, ViewHandlesCountAndDeleteTheirView)
{
    DataRef ref("counted", false);
    auto* view = new Float32Buffer(&ref);
    {
        DataViewRef<Float32Buffer> first(view);
        EXPECT_EQ(view->getReferenceCount(), 1);
        first.assignBufferView(view); // re-assigning the held view keeps it alive
        EXPECT_EQ(view->getReferenceCount(), 1);
        {
            DataViewRef<Float32Buffer> second(first);
            EXPECT_EQ(view->getReferenceCount(), 2);
        }
        EXPECT_EQ(view->getReferenceCount(), 1);

        auto* replacement = new Float32Buffer(&ref);
        first.assignBufferView(replacement); // deletes view; ASan reports use after free otherwise
        EXPECT_EQ(first.get(), replacement);
        EXPECT_EQ(replacement->getReferenceCount(), 1);
    } // deletes replacement; ASan reports a leak otherwise
}

TEST_F(DataRefTest, PlainDataViewCountsElements)
{
    DataRef ref("table", false);
    DataView<float> view(&ref);
    view.setSize(10);
    EXPECT_EQ(view.getSize(), 10u);
    EXPECT_EQ(ref.getSizeInBytes(), 40u);
}

TEST_F(DataRefTest, ExternalMemoryReplacesStorageAndReportsTheOldOne)
{
    DataRef ref("shared", false, "buffer~");
    ref.setRequestedSizeInBytes(256);
    ref.allocateIfNeeded();

    ExternalDataRef external(4, &ref);
    EXPECT_STREQ(external.getName(), "shared");
    EXPECT_STREQ(external.getType(), "buffer~");
    EXPECT_EQ(external.getData(), ref.getData());

    std::vector<std::pair<std::string, void*>> released;
    external.setReleaseCallback([&](const char* name, void* old) { released.emplace_back(name, old); });

    std::vector<float> hostMemory(128), otherHostMemory(64);
    external.setData(hostMemory.data(), 512); // owned storage goes back to the platform
    EXPECT_EQ(ref.getData(), hostMemory.data());
    EXPECT_EQ(ref.getSizeInBytes(), 512u);
    EXPECT_FALSE(ref.ownsData());
    EXPECT_EQ(external.getData(), hostMemory.data());
    released.clear();

    external.setData(otherHostMemory.data(), 256);
    ASSERT_EQ(released.size(), 1u);
    EXPECT_EQ(released[0].first, "shared");
    EXPECT_EQ(released[0].second, hostMemory.data());

    external.setData(otherHostMemory.data(), 256);
    EXPECT_EQ(released.size(), 1u);

    // Growing past attached memory takes fresh storage of our own and leaves the host's alone.
    ref.setRequestedSizeInBytes(1024);
    ref.allocateIfNeeded();
    EXPECT_TRUE(ref.ownsData());
    EXPECT_TRUE(ref.isFreshlyAllocated());
    EXPECT_NE(ref.getData(), otherHostMemory.data());
}

TEST_F(DataRefTest, UnlinkedExternalReferenceRefusesData)
{
    DataRef ref("gone", false);
    ExternalDataRef external(0, &ref);
    external.unlink();
    try
    {
        external.setData(nullptr, 0);
        FAIL();
    }
    catch (const std::runtime_error& e)
    {
        EXPECT_STREQ(e.what(), "_dataRef must be non null");
    }
}

TEST_F(DataRefTest, BufferMemoryGoesThroughThePlatform)
{
    const long before = platform.allocations;
    {
        DataRef ref("buffer", false);
        Float32Buffer buffer(&ref);
        buffer.requestChannels(2);
        ref.setRequestedSizeInBytes(512 * 2 * sizeof(float));
        buffer.allocateIfNeeded();
        buffer.setChannels(1);
    }
    EXPECT_EQ(platform.allocations - before, 3); // the name and two storages
    EXPECT_EQ(platform.outstanding(), 0);
}
