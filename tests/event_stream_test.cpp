// event_stream_test.cpp - where a reconnecting client of hux-host's event stream goes on: right after the
// last event it saw, or nowhere (the server then starts it from a snapshot) when it would miss one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "event_stream.h"

namespace HuxTest {
namespace {

using HuxHost::EventMessage;
using HuxHost::EventStream;

// IdOf is the wire id of message number n of stream.
std::string IdOf(const EventStream& stream, uint64_t n) {
    const std::string text = stream.Format({n, "e", "{}"});
    return text.substr(4, text.find('\n') - 4);
}

TEST(EventStream, ResumesOnlyWithoutAGap) {
    EventStream stream(3, 1);
    uint64_t next = 0;
    EXPECT_TRUE(stream.Resume(IdOf(stream, 0), next));  // a snapshot taken before the first message
    EXPECT_EQ(next, 1u);
    for (int n = 1; n <= 5; ++n) {
        stream.Publish("e", std::to_string(n));
    }
    // Messages 3 to 5 are kept: after 2, 3 or 5 nothing is missing.
    for (const uint64_t seen : {2u, 3u, 5u}) {
        EXPECT_TRUE(stream.Resume(IdOf(stream, seen), next)) << seen;
        EXPECT_EQ(next, seen + 1);
    }
    const EventStream restarted(3, 1);
    for (const std::string& id : {IdOf(stream, 1),     // message 2 was dropped
                                  IdOf(stream, 6),     // not given yet
                                  IdOf(restarted, 3),  // another stream's
                                  std::string("4"), IdOf(stream, 4) + "x", std::string()}) {
        EXPECT_FALSE(stream.Resume(id, next)) << id;
    }
    std::vector<EventMessage> read;
    uint64_t skipped = 0;
    next = 4;
    ASSERT_TRUE(stream.Collect(next, read, std::chrono::milliseconds(0), skipped));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].data, "4");
    EXPECT_EQ(stream.Format(read[1]), "id: " + IdOf(stream, 5) + "\nevent: e\ndata: 5\n\n");
}

}  // namespace
}  // namespace HuxTest
