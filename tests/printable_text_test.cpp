// printable_text_test.cpp - what reaches hux-host's console from outside: control characters and
// malformed UTF-8 escaped, every other character kept.
#include "printable_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace HuxHost {
namespace {

TEST(PrintableText, EscapesWhatATerminalCouldObeyAndKeepsTheRest) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"GET /hux-game-queues/v1/queues 200", "GET /hux-game-queues/v1/queues 200"},
        {"/\x1b[2J\x07\r\n\t\x7f", "/\\x1b[2J\\x07\\x0d\\x0a\\x09\\x7f"},
        {std::string("a\0b", 3), "a\\x00b"},
        {"T\xc3\xa4rn \xe2\x82\xac \xf0\x9f\x8e\xb2", "T\xc3\xa4rn \xe2\x82\xac \xf0\x9f\x8e\xb2"},
        {"\xc2\x9b"
         "31m",
         "\\xc2\\x9b31m"},  // U+009B, the one-byte CSI
        {"\x9b"
         "31m",
         "\\x9b31m"},                                  // a lone continuation byte
        {"\xc0\xaf", "\\xc0\\xaf"},                    // an overlong "/"
        {"\xed\xa0\x80", "\\xed\\xa0\\x80"},           // a surrogate
        {"\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"},  // past U+10FFFF
        {"\xe2\x82", "\\xe2\\x82"},                    // cut short
        {"\xe2\x82q", "\\xe2\\x82q"},
        {"\xff\xfe", "\\xff\\xfe"},
    };
    for (const auto& [text, printable] : cases) {
        EXPECT_EQ(Printable(text), printable) << text;
    }
}

}  // namespace
}  // namespace HuxHost
