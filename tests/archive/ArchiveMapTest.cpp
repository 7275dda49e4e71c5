#include "archive/ArchiveMap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
template <class Key> std::vector<Key> KeysInOrder(const CArchiveMap<Key, int>& map) {
    std::vector<Key> keys;
    map.ForEach([&](const Key& key, int) { keys.push_back(key); });
    return keys;
}
} // namespace

TEST(ArchiveMap, KeyNumbersComeOutByGroupOfSixteenNewestFirst) {
    CArchiveMap<std::uint16_t, int> map;
    for (std::uint16_t key : {0, 16, 1, 127, 2, 33})
        map.Set(key, key);
    EXPECT_EQ(KeysInOrder(map), (std::vector<std::uint16_t>{2, 1, 0, 16, 33, 127}));

    // Replacing a value keeps the key's place; removing and re-adding makes it the newest.
    map.Set(0, 100);
    EXPECT_EQ(KeysInOrder(map), (std::vector<std::uint16_t>{2, 1, 0, 16, 33, 127}));
    EXPECT_EQ(*map.Find(0), 100);
    EXPECT_EQ(map.Remove(1), 1);
    map.Set(1, 1);
    EXPECT_EQ(KeysInOrder(map), (std::vector<std::uint16_t>{1, 2, 0, 16, 33, 127}));
    EXPECT_EQ(map.Size(), 6u);
}

TEST(ArchiveMap, KeyNumbersWrapAroundSeventeenBuckets) {
    // Group 17 (keys 272..287) shares bucket 0 with group 0, and was inserted last.
    CArchiveMap<std::uint16_t, int> map;
    map.Set(5, 0);
    map.Set(272, 0);
    map.Set(16, 0);
    EXPECT_EQ(KeysInOrder(map), (std::vector<std::uint16_t>{272, 5, 16}));
}

TEST(ArchiveMap, NamesHashWithSignedCharacters) {
    EXPECT_EQ(ArchiveBucket(std::string("a")), 12u);
    EXPECT_EQ(ArchiveBucket(std::string("Piano")), 5u);
    // 0xE9 counts as -23: h wraps as an unsigned 32-bit number.
    EXPECT_EQ(ArchiveBucket(std::string("\xE9"
                                        "abc")),
              3u);

    CArchiveMap<std::string, int> map;
    map.Set("a", 1);
    map.Set("b", 2);
    map.Set("r", 3); // same bucket as "a"
    EXPECT_EQ(KeysInOrder(map), (std::vector<std::string>{"r", "a", "b"}));
    EXPECT_EQ(map.Remove("zzz"), 0);
    EXPECT_FALSE(map.Contains("zzz"));
}

TEST(ArchiveMap, RemembersTheOrderKeysWereAdded) {
    CArchiveMap<std::uint16_t, int> map;
    for (std::uint16_t key : {16, 0, 127, 1})
        map.Set(key, key);
    map.Set(0, 7); // a replaced value keeps its place
    EXPECT_EQ(map.Remove(16), 16);
    map.Set(16, 16); // a key added again comes last
    std::vector<std::pair<std::uint16_t, int>> added;
    map.ForEachInOrderAdded([&](std::uint16_t key, int value) { added.emplace_back(key, value); });
    EXPECT_EQ(added, (std::vector<std::pair<std::uint16_t, int>>{{0, 7}, {127, 127}, {1, 1}, {16, 16}}));
}
