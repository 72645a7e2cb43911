// plugin_lifecycle_test.cpp - the built plugin library from its exported entry function to Stop: its
// exports, the handshake, Start without a host table and what a whole cycle gives back.
#include <gtest/gtest.h>

#include "exported_symbols.h"
#include "plugin_test_support.h"

namespace {

using HuxHost::HostVersion;
using HuxHost::MemoryStats;

TEST(PluginLibrary, ExportsExactlyTheEntryFunction) {
    EXPECT_EQ(HuxTest::ExportedSymbols(HUX_PLUGIN_PATH), std::vector<std::string>{"load_hux_game_queues"});
}

TEST(PluginHandshake, AHostOfTheSameMajorAndNoOlderVersionGetsTheBlockAnswered) {
    for (const HostVersion version : {HostVersion{18, 0, 0}, HostVersion{18, 3, 5}}) {
        auto host = HuxTest::OpenHost();
        ASSERT_NE(host, nullptr);
        host->Load(version);
        // The block is packed: its address fields are copied out before they are compared.
        const HostLoadBlock block = host->Block();
        EXPECT_EQ(block.major, 18u);
        EXPECT_EQ(block.minor, 0u);
        EXPECT_EQ(block.patch, 0u);
        const char* shortName = block.shortName;
        EXPECT_STREQ(shortName, "hux-game-queues");
        // Nothing reaches the host before Start: it has no table to call yet.
        EXPECT_TRUE(host->Calls().empty());
    }
}

TEST(PluginHandshakeDeathTest, AHostOfAnotherMajorEndsTheProcess) {
    auto library = HuxTest::OpenLibrary();
    ASSERT_NE(library, nullptr);
    for (const HostVersion version : {HostVersion{17, 9, 9}, HostVersion{19, 0, 0}}) {
        HostLoadBlock block{};
        block.major = version.major;
        block.minor = version.minor;
        block.patch = version.patch;
        EXPECT_DEATH(library->Entry()(&block), "DOV-EECF0606");
    }
}

TEST(PluginLifecycle, RefusesToStartWithoutAHostTable) {
    auto host = HuxTest::OpenHost();
    ASSERT_NE(host, nullptr);
    host->Load();
    EXPECT_FALSE(host->StartWithContext(nullptr));
    const HostContext withoutApi{nullptr, 7};
    EXPECT_FALSE(host->StartWithContext(&withoutApi));
    // A plugin that never started is released without a single call into the host.
    host->Stop();
    EXPECT_FALSE(host->Loaded());
    EXPECT_TRUE(host->Calls().empty());
}

TEST(PluginLifecycle, AStartedAndStoppedPluginGivesBackEverythingItTook) {
    constexpr std::size_t kAllocations = 3;
    constexpr std::size_t kReleases = 5;
    // Every host opens the same library file, so all plugins share one set of counters. What stays
    // allocated for the life of the process (static tables, what is made on first use) is made before
    // the baseline by a first full cycle.
    auto watcher = HuxTest::OpenHost();
    ASSERT_NE(watcher, nullptr);
    watcher->Load();
    // Cycle loads, starts and stops a plugin and answers the counters while it ran.
    auto cycle = [&watcher] {
        auto host = HuxTest::OpenHost();
        if (host == nullptr) {
            return MemoryStats{};
        }
        host->Load();
        EXPECT_TRUE(host->Start());
        const MemoryStats during = watcher->GetMemoryStats();
        host->Stop();
        return during;
    };
    cycle();
    const MemoryStats before = watcher->GetMemoryStats();
    const MemoryStats during = cycle();
    const MemoryStats after = watcher->GetMemoryStats();
    ASSERT_GT(during.BytesInUse(), before.BytesInUse());  // the counters do count
    EXPECT_EQ(after.BytesInUse(), before.BytesInUse());
    EXPECT_EQ(after.counters[kAllocations] - after.counters[kReleases],
              before.counters[kAllocations] - before.counters[kReleases]);
}

}  // namespace
