// url_text_test.cpp - percent-decoding, query parsing and trailing-slash trimming.
#include "rest/url_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Brix::Rest::ParseQuery;
using Brix::Rest::PercentDecode;
using Brix::Rest::QueryMap;

TEST(PercentDecode, DecodesEscapesAndPlusAndKeepsMalformedEscapesAsTheWalkDefinesThem) {
    EXPECT_EQ(PercentDecode("%41%42+%2f%00"), std::string("AB /\0", 5));
    // A "%" without two characters after it is dropped; the rest is copied.
    EXPECT_EQ(PercentDecode("100%"), "100");
    EXPECT_EQ(PercentDecode("%4"), "4");
    // A character that is not a hexadecimal digit counts as 16, and only the low byte is kept.
    EXPECT_EQ(PercentDecode("%zz"), "\x10");
    EXPECT_EQ(PercentDecode("%g1%4g"), "\x01\x50");  // 16 * 16 + 1 = 257, 16 * 4 + 16
}

TEST(ParseQuery, SplitsDecodesAndReplaces) {
    EXPECT_TRUE(ParseQuery("").empty());
    EXPECT_EQ(ParseQuery("a=1&a=2"), (QueryMap{{"a", "2"}}));
    EXPECT_EQ(ParseQuery("flag"), (QueryMap{{"flag", ""}}));
    EXPECT_EQ(ParseQuery("x=%3D"), (QueryMap{{"x", "="}}));
    EXPECT_EQ(ParseQuery("a=1&"), (QueryMap{{"", ""}, {"a", "1"}}));
    // Only the first "=" separates; names are decoded too.
    EXPECT_EQ(ParseQuery("k%20y=a=b&&z"), (QueryMap{{"", ""}, {"k y", "a=b"}, {"z", ""}}));
}

TEST(UrlText, TrimsOneTrailingSlashOfLongerPaths) {
    EXPECT_EQ(Brix::Rest::TrimTrailingSlash("/a//"), "/a/");
    EXPECT_EQ(Brix::Rest::TrimTrailingSlash("/"), "/");
}

}  // namespace
