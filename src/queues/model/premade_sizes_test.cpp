// premade_sizes_test.cpp - premade-size texts and their defaults.
#include "queues/model/premade_sizes.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "logging/log_test_support.h"

namespace Brix::Client::GameQueues {
namespace {

using Sizes = std::vector<int32_t>;

// Parsed is the numbers of text joined by blanks, or the failure's message and status.
std::string Parsed(const MaybeType<Sizes>& sizes) {
    if (!sizes) {
        return sizes.Error().Message() + " (" + std::to_string(sizes.Error().StatusCode()) + ")";
    }
    std::string out;
    for (int32_t size : sizes.Value()) {
        out += (out.empty() ? "" : " ") + std::to_string(size);
    }
    return out;
}

TEST(PremadeSizes, PiecesReadLikeStoi) {
    EXPECT_EQ(Parsed(ParsePremadeSizes("1,2,5")), "1 2 5");
    EXPECT_EQ(Parsed(ParsePremadeSizes(" 3,4abc,\t\n2,2")), "3 4 2 2");
    EXPECT_EQ(Parsed(ParsePremadeSizes("+4,-1,007,0x10")), "4 -1 7 0");
    EXPECT_EQ(Parsed(ParsePremadeSizes("2147483647,-2147483648")), "2147483647 -2147483648");
    for (std::string_view text : {"1,,2", "1,2,", "abc", "-", "+-1", "- 1", " "}) {
        EXPECT_EQ(Parsed(ParsePremadeSizes(text)), "invalid stoi argument (500)") << text;
    }
    for (std::string_view text :
         {"2147483648", "-2147483649", "1,99999999999999999999999999", "18446744073709551617"}) {
        EXPECT_EQ(Parsed(ParsePremadeSizes(text)), "stoi argument out of range (500)") << text;
    }
    EXPECT_EQ(Parsed(ParsePremadeSizes("x,99999999999")), "invalid stoi argument (500)");
}

TEST(PremadeSizes, SettingAsStringOrNumberElseTheDefaults) {
    BindingProperty restriction;
    restriction.MemberForWriting("AllowablePremadeSizesForQueueId420").SetString("1,2,5");
    restriction.MemberForWriting("AllowablePremadeSizesForQueueId430").SetSigned(4);
    restriction.MemberForWriting("AllowablePremadeSizesForQueueId450");  // null
    restriction.MemberForWriting("AllowablePremadeSizesForQueueId460").AppendElement().SetSigned(2);
    restriction.MemberForWriting("AllowablePremadeSizesForQueueId470").SetBool(true);
    restriction.MemberForWriting("AllowablePremadeSizesForQueueId-7").SetString("3");
    restriction.MemberForWriting("AllowablePremadeSizesForQueueId-2147483648").SetString("4,4");
    restriction.MemberForWriting("AllowablePremadeSizesForQueueId2147483647").SetString("6");
    restriction.MemberForWriting("AllowablePremadeSizesForQueueId0").SetString("9");
    // Names that read as a number but are not how a queue's key is written belong to no queue.
    for (const char* suffix :
         {"0490", "+490", "-0", " 490", "490 ", "490x", "", "2147483648", "-2147483649"}) {
        restriction.MemberForWriting(std::string("AllowablePremadeSizesForQueueId") + suffix).SetString("8");
    }
    restriction.MemberForWriting("allowablePremadeSizesForQueueId500").SetString("8");
    restriction.MemberForWriting("QueuesRequiringTwentyChampions").SetString("8");
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

    struct Case {
        int32_t queueId;
        int32_t minimum;
        int32_t maximum;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {420, 1, 5, "1 2 5"},
        {430, 1, 5, "4"},
        {440, 1, 5, "1 2 3 5"},
        {450, 1, 5, "1 2 3 4 5"},
        {460, 2, 3, "2 3"},
        {470, 1, 5, "invalid stoi argument (500)"},
        {-7, 1, 5, "3"},
        {kMin, 1, 5, "4 4"},
        {kMax, 1, 5, "6"},
        {0, 1, 5, "9"},
        {490, 1, 2, "1 2"},
        {500, 1, 2, "1 2"},
        {480, 1, 0, ""},
        {480, 1, -1, ""},  // a maximum of 4294967295
        {480, kMax - 1, kMax, "2147483646 2147483647"},
    };
    // The indexed settings of a list build give what the lookup by name gives.
    const PremadeSizeSettings indexed(restriction);
    for (const Case& test : cases) {
        EXPECT_EQ(Parsed(AllowablePremadeSizes(restriction, test.queueId, test.minimum, test.maximum)),
                  test.expected)
            << test.queueId;
        EXPECT_EQ(Parsed(indexed.AllowableSizes(test.queueId, test.minimum, test.maximum)), test.expected)
            << test.queueId;
    }
    EXPECT_EQ(indexed.Find(420), restriction.FindMember("AllowablePremadeSizesForQueueId420"));
    EXPECT_EQ(indexed.Find(490), nullptr);
}

class PremadeSizeRange : public FreshLoggerTest {};

TEST_F(PremadeSizeRange, AWideParticipantRangeGivesItsFirstSizesAndIsLogged) {
    RecordingLogTarget log;
    ASSERT_TRUE(log.Register());
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    struct Case {
        int32_t minimum;
        int32_t maximum;
        int32_t first;      // the first size given
        std::size_t count;  // how many
    };
    // 64 sizes are given whole and not logged; 65 and more are cut to 64, up to the widest 32-bit range.
    const std::vector<Case> cases = {
        {1, 64, 1, 64}, {1, 65, 1, 64}, {kMin, kMax, kMin, 64}, {kMax - 63, kMax, kMax - 63, 64}};
    for (const Case& range : cases) {
        const MaybeType<Sizes> sizes =
            AllowablePremadeSizes(BindingProperty(), 480, range.minimum, range.maximum);
        ASSERT_TRUE(sizes.HasValue());
        ASSERT_EQ(sizes.Value().size(), range.count) << range.minimum << " to " << range.maximum;
        EXPECT_EQ(sizes.Value().front(), range.first);
        EXPECT_EQ(sizes.Value().back(), static_cast<int32_t>(int64_t{range.first} + 63));
    }
    EXPECT_EQ(log.Messages(),
              (std::vector<std::string>{
                  "Queue 480 allows premade sizes from 1 to 65; only the first 64 are published.",
                  "Queue 480 allows premade sizes from -2147483648 to 2147483647; only the first 64 are "
                  "published."}));
    EXPECT_EQ(log.records.at(0).level, static_cast<int32_t>(LogLevel::Error));
}

}  // namespace
}  // namespace Brix::Client::GameQueues
