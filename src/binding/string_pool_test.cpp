// string_pool_test.cpp - interning, counting and release of texts.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "binding/fnv1a.h"
#include "binding/string_pool.h"

namespace {

using Brix::StringEntry;
using Brix::StringPool;
using namespace std::string_view_literals;

TEST(StringPool, CountsReferencesAndKeepsTextsApart) {
    StringPool pool;
    std::string text = "queue";
    StringEntry* entry = pool.Intern(text);
    text = "other";  // the pool holds its own copy
    EXPECT_EQ(pool.Intern("queue"), entry);
    EXPECT_EQ(pool.AddReference(entry), entry);
    EXPECT_EQ(entry->references, 3u);
    EXPECT_EQ(entry->View(), "queue");
    pool.Release(entry);
    pool.Release(entry);
    EXPECT_EQ(pool.Find("queue"), entry);
    pool.Release(entry);
    EXPECT_EQ(pool.Size(), 0u);
    EXPECT_EQ(pool.Find("queue"), nullptr);

    // The empty text is one shared entry that never enters a pool and is never counted.
    StringEntry* empty = pool.Intern("");
    EXPECT_EQ(empty, StringPool::EmptyEntry());
    pool.Release(pool.AddReference(empty));
    EXPECT_EQ(empty->references, 0u);
    EXPECT_EQ(pool.Size(), 0u);

    // Texts are told apart by their bytes, not by their hash alone nor by a C string's end.
    ASSERT_EQ(Brix::Fnv1a32("costarring"), Brix::Fnv1a32("liquid"));
    StringEntry* costarring = pool.Intern("costarring");
    StringEntry* liquid = pool.Intern("liquid");
    EXPECT_NE(pool.Intern("a\0b"sv), pool.Intern("a"));
    EXPECT_EQ(pool.Size(), 4u);

    pool.Release(liquid);
    EXPECT_EQ(pool.Find("costarring"), costarring);
}

// Many texts share the places of the recently interned ones and of the table's probe runs; entries
// removed and interned again must come back whole, with exact counts, whatever was evicted or moved.
TEST(StringPool, KeepsExactCountsThroughRemovalsAndReinterning) {
    StringPool pool;
    const auto text = [](int i) {
        return "name" + std::to_string(i * 7919) + (i % 3 == 0 ? "Id" : "Settings");
    };
    for (int i = 0; i < 200; ++i) {
        pool.Intern(text(i));
        pool.Intern(text(i));
    }
    for (int i = 0; i < 200; i += 2) {
        StringEntry* entry = pool.Intern(text(i));  // a third reference, released with the other two
        pool.Release(entry);
        pool.Release(entry);
        pool.Release(entry);
    }
    EXPECT_EQ(pool.Size(), 100u);
    for (int i = 0; i < 200; ++i) {
        StringEntry* entry = pool.Intern(text(i));
        EXPECT_EQ(entry->View(), text(i));
        EXPECT_EQ(entry->references, i % 2 == 0 ? 1u : 3u) << text(i);
        EXPECT_EQ(pool.Find(text(i)), entry);
    }
    EXPECT_EQ(pool.Size(), 200u);
}

}  // namespace
