// premade_sizes_test.cpp - premade-size texts and their defaults.
#include "queues/model/premade_sizes.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

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
    for (std::string_view text : {"2147483648", "-2147483649", "1,99999999999999999999999999"}) {
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
    EXPECT_EQ(Parsed(AllowablePremadeSizes(restriction, 420, 1, 5)), "1 2 5");
    EXPECT_EQ(Parsed(AllowablePremadeSizes(restriction, 430, 1, 5)), "4");
    EXPECT_EQ(Parsed(AllowablePremadeSizes(restriction, 440, 1, 5)), "1 2 3 5");
    EXPECT_EQ(Parsed(AllowablePremadeSizes(restriction, 450, 1, 5)), "1 2 3 4 5");
    EXPECT_EQ(Parsed(AllowablePremadeSizes(restriction, 460, 2, 3)), "2 3");
    EXPECT_EQ(Parsed(AllowablePremadeSizes(restriction, 470, 1, 5)), "invalid stoi argument (500)");
    EXPECT_EQ(Parsed(AllowablePremadeSizes(restriction, 480, 1, 0)), "");
    EXPECT_EQ(Parsed(AllowablePremadeSizes(restriction, 480, 1, -1)), "");  // a maximum of 4294967295
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(Parsed(AllowablePremadeSizes(restriction, 480, kMax - 1, kMax)), "2147483646 2147483647");
    EXPECT_EQ(Parsed(AllowablePremadeSizes(BindingProperty(), 440, 1, 5)), "1 2 3 5");
}

}  // namespace
}  // namespace Brix::Client::GameQueues
