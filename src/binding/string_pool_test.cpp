// string_pool_test.cpp - interning, counting and release of texts.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "binding/fnv1a.h"
#include "binding/string_pool.h"

namespace {

using Brix::StringEntry;
using Brix::StringPool;
using namespace std::string_view_literals;

TEST(StringPool, CountsReferencesAndRemovesAnEntryWithItsLast) {
    StringPool pool;
    std::string text = "queue";
    StringEntry* entry = pool.Intern(text);
    text = "other";  // the pool holds its own copy
    EXPECT_EQ(pool.Intern("queue"), entry);
    EXPECT_EQ(pool.AddReference(entry), entry);
    EXPECT_EQ(entry->references, 3u);
    EXPECT_EQ(entry->View(), "queue");
    EXPECT_EQ(entry->text[entry->length], '\0');
    EXPECT_EQ(entry->hash, Brix::Fnv1a32("queue"));
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
}

// Texts are told apart by their bytes, not by their hash alone nor by a C string's end.
TEST(StringPool, KeepsTextsWithEqualHashesOrInnerNulsApart) {
    ASSERT_EQ(Brix::Fnv1a32("costarring"), Brix::Fnv1a32("liquid"));
    StringPool pool;
    StringEntry* costarring = pool.Intern("costarring");
    StringEntry* liquid = pool.Intern("liquid");
    EXPECT_NE(costarring, liquid);
    StringEntry* withNul = pool.Intern("a\0b"sv);
    StringEntry* plain = pool.Intern("a");
    EXPECT_NE(withNul, plain);
    EXPECT_EQ(pool.Size(), 4u);

    pool.Release(liquid);
    EXPECT_EQ(pool.Find("costarring"), costarring);
    EXPECT_EQ(pool.Find("liquid"), nullptr);
    pool.Release(costarring);
    pool.Release(withNul);
    pool.Release(plain);
    EXPECT_EQ(pool.Size(), 0u);
}

// Many texts share the places of the recently interned ones and of the table's probe runs; entries
// removed and interned again must come back whole, with exact counts, whatever was evicted or moved.
TEST(StringPool, KeepsExactCountsThroughRemovalsAndReinterning) {
    StringPool pool;
    std::vector<std::string> texts;
    texts.reserve(2000);
    for (int i = 0; i < 2000; ++i) {
        texts.push_back("name" + std::to_string(i * 7919) + (i % 3 == 0 ? "Id" : "Settings"));
    }
    std::vector<StringEntry*> entries;
    entries.reserve(texts.size());
    for (const std::string& text : texts) {
        entries.push_back(pool.Intern(text));
        pool.Intern(text);
    }
    for (std::size_t i = 0; i < texts.size(); i += 2) {
        pool.Release(entries[i]);
        pool.Release(entries[i]);
    }
    EXPECT_EQ(pool.Size(), 1000u);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        StringEntry* entry = pool.Intern(texts[i]);
        EXPECT_EQ(entry->View(), texts[i]);
        EXPECT_EQ(entry->references, i % 2 == 0 ? 1u : 3u) << texts[i];
        EXPECT_EQ(pool.Find(texts[i]), entry);
    }
    EXPECT_EQ(pool.Size(), 2000u);
}

}  // namespace
