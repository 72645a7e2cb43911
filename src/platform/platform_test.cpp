// platform_test.cpp - the operating-system services as the rest of the library relies on them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <ctime>
#include <string_view>
#include <thread>
#include <tuple>

#include "platform/event_tracing.h"
#include "platform/heap_blocks.h"
#include "platform/memory_regions.h"
#include "platform/process_identity.h"
#include "platform/system_clock.h"

namespace {

using namespace Brix::Platform;

TEST(MemoryRegions, AreZeroedWritableAndPageAligned) {
    constexpr std::size_t kSize = std::size_t{64} << 10;
    auto* region = static_cast<unsigned char*>(ReserveRegion(kSize));
    ASSERT_NE(region, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(region) % 4096, 0u);
    EXPECT_EQ(region[0], 0);
    EXPECT_EQ(region[kSize - 1], 0);
    std::memset(region, 0x5A, kSize);
    ReleaseRegion(region, kSize);
}

TEST(HeapBlocks, KnowTheirUsableSizeAndAlignment) {
    void* block = AllocateBlock(100);
    ASSERT_NE(block, nullptr);
    EXPECT_GE(BlockSize(block), 100u);
    block = ResizeBlock(block, 5000);
    ASSERT_NE(block, nullptr);
    EXPECT_GE(BlockSize(block), 5000u);
    ReleaseBlock(block);

    for (const std::size_t alignment : {sizeof(void*), std::size_t{64}, std::size_t{4096}}) {
        void* aligned = AllocateAlignedBlock(100, alignment);
        ASSERT_NE(aligned, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(aligned) % alignment, 0u);
        EXPECT_GE(AlignedBlockSize(aligned, alignment), 100u);
        ReleaseAlignedBlock(aligned, alignment);
    }
}

TEST(SystemClock, ReadsTheLocalTimeAndAMonotonicCounter) {
    // The C library's local time before and after the read brackets it to the second.
    const auto asTuple = [](const std::tm& t) {
        return std::tuple(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    };
    const std::time_t earlier = std::time(nullptr);
    const LocalTime now = ReadLocalTime();
    const std::time_t later = std::time(nullptr);
    const auto read = std::tuple(now.year, now.month, now.day, now.hour, now.minute, now.second);
    EXPECT_LE(asTuple(*std::localtime(&earlier)), read);
    EXPECT_LE(read, asTuple(*std::localtime(&later)));
    EXPECT_TRUE(now.millisecond >= 0 && now.millisecond <= 999) << now.millisecond;
    const int64_t first = PerformanceCounter();
    EXPECT_LE(first, PerformanceCounter());
    EXPECT_GT(PerformanceFrequency(), 0);
}

TEST(ProcessIdentity, NamesTheTestProgramAndTellsThreadsApart) {
    char path[4096];
    const std::size_t length = ReadExecutablePath(path, sizeof path);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(std::strlen(path), length);
    EXPECT_NE(std::string_view(path).find("hux_platform_tests"), std::string_view::npos) << path;
    EXPECT_EQ(ReadExecutablePath(path, 4), 0u);  // does not fit

    uint64_t other = 0;
    std::thread([&other] { other = CurrentThreadId(); }).join();
    EXPECT_NE(other, CurrentThreadId());
}

TEST(EventTracing, RegistersAllFourProvidersOrStaysSilentlyOff) {
    const EventTracingStatus status = StartEventTracing();
    EXPECT_EQ(status.registered, status.available ? kTraceProviders.size() : 0u);
    EXPECT_GT(status.counterFrequency, 0);
    // No session asks for the thread-naming event here.
    EXPECT_FALSE(status.announcedMainThread);
    const EventTracingStatus again = StartEventTracing();
    EXPECT_EQ(again.registered, status.registered);
    StopEventTracing();
    StopEventTracing();
}

}  // namespace
