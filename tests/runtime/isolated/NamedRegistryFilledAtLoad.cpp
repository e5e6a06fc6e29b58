// What the runtime sets up when a binary that links it starts, checked in a process that has done
// nothing else: a load-time set-up left out by the linker, or run in the wrong order, shows here.
#include "runtime/ExternalLoader.h"
#include "runtime/ExternalModule.h"
#include "runtime/Logger.h"
#include "runtime/NamedRegistry.h"
#include "runtime/Platform.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

TEST(LoadTimeSetup, PlatformInstalledAndRegistryHoldsTheLoaderFactoryThenTheConsole)
{
    EXPECT_NE(dynamic_cast<PRT::PlatformInterfaceStdLib*>(PRT::getPlatform()), nullptr);

    const std::vector<PRT::NamedEntry> entries = PRT::getNamedEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_STREQ(entries[0].name, "ExternalLoaderFactory");
    EXPECT_EQ(entries[0].pointer, reinterpret_cast<void*>(&PRT::createExternalLoader));
    EXPECT_STREQ(entries[1].name, "console");
    EXPECT_EQ(entries[1].pointer, PRT::consoleLoggerSlot());
}

TEST(LoadTimeSetup, PublishedEntriesWorkThroughTheirRegisteredPointers)
{
    const std::vector<PRT::NamedEntry> entries = PRT::getNamedEntries();
    ASSERT_EQ(entries.size(), 2u);

    using LoaderFactory = PRT::ExternalLoader* (*)(void*, const char*, const char*);
    auto factory = reinterpret_cast<LoaderFactory>(entries[0].pointer);
    std::unique_ptr<PRT::ExternalLoader> loader(factory(nullptr, "absent.so", "/nowhere"));
    ASSERT_NE(loader, nullptr);
    EXPECT_EQ(loader->getModule()->getName(), "absent.so");
    EXPECT_EQ(loader->getNumParameters(), 0u);

    auto console = *static_cast<PRT::LoggerInterface**>(entries[1].pointer);
    testing::internal::CaptureStdout();
    console->log(PRT::LogInfo, "hello");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "[INFO]\thello\n\n");
}
