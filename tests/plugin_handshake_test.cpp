// plugin_handshake_test.cpp - the handshake through the plugin's exported entry function.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "plugin_test_support.h"
#include "shared_memory.h"

namespace {

using HuxHost::HostVersion;

std::string VersionName(const ::testing::TestParamInfo<HostVersion>& info) {
    return "v" + std::to_string(info.param.major) + "_" + std::to_string(info.param.minor) + "_" +
           std::to_string(info.param.patch);
}

class AcceptedHost : public ::testing::TestWithParam<HostVersion> {};

TEST_P(AcceptedHost, AnswersTheLoadBlock) {
    auto host = HuxTest::OpenHost();
    ASSERT_NE(host, nullptr);
    host->Load(GetParam());

    // The block is packed: its address fields are copied out before they are compared.
    const HostLoadBlock block = host->Block();
    EXPECT_EQ(block.major, 18u);
    EXPECT_EQ(block.minor, 0u);
    EXPECT_EQ(block.patch, 0u);
    const PluginCallbacks* callbacks = block.callbacks;
    void* instance = block.instance;
    const char* shortName = block.shortName;
    const HostEndpointTable* endpoints = block.endpoints;
    ASSERT_NE(callbacks, nullptr);
    EXPECT_NE(callbacks->start, nullptr);
    EXPECT_NE(callbacks->stop, nullptr);
    EXPECT_NE(callbacks->getMemoryStats, nullptr);
    EXPECT_NE(instance, nullptr);
    ASSERT_NE(shortName, nullptr);
    EXPECT_STREQ(shortName, "hux-game-queues");
    ASSERT_NE(endpoints, nullptr);
    EXPECT_EQ(endpoints->endpointCount, 7u);  // the seven routes
    // Nothing reaches the host before Start: it has no table to call yet.
    EXPECT_TRUE(host->Calls().empty());
}

INSTANTIATE_TEST_SUITE_P(Versions, AcceptedHost,
                         ::testing::Values(HostVersion{18, 0, 0}, HostVersion{18, 0, 5},
                                           HostVersion{18, 3, 0}),
                         VersionName);

// SharedLoadBlock lives in memory shared with the child process of a death test, so that the test
// can see what the dying plugin wrote into it.
class SharedLoadBlock {
public:
    explicit SharedLoadBlock(const std::string& name) : memory("handshake-" + name, sizeof(HostLoadBlock)) {
        EXPECT_NE(memory.Get(), nullptr);
        std::memset(memory.Get(), 0xA5, sizeof(HostLoadBlock));
    }

    HostLoadBlock* Get() const { return static_cast<HostLoadBlock*>(memory.Get()); }

private:
    HuxTest::SharedMemory memory;
};

class RefusedHost : public ::testing::TestWithParam<HostVersion> {};

TEST_P(RefusedHost, EndsTheProcessAndLeavesTheBlockAsWritten) {
    auto library = HuxTest::OpenLibrary();
    ASSERT_NE(library, nullptr);
    SharedLoadBlock shared(testing::UnitTest::GetInstance()->current_test_info()->name());
    HostLoadBlock* block = shared.Get();
    block->major = GetParam().major;
    block->minor = GetParam().minor;
    block->patch = GetParam().patch;
    HostLoadBlock before;
    std::memcpy(&before, block, sizeof before);

    EXPECT_DEATH(library->Entry()(block), "DOV-EECF0606");
    EXPECT_EQ(std::memcmp(&before, block, sizeof before), 0);
}

INSTANTIATE_TEST_SUITE_P(Versions, RefusedHost,
                         ::testing::Values(HostVersion{17, 9, 9}, HostVersion{19, 0, 0}), VersionName);

}  // namespace
