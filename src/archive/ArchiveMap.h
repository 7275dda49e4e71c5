#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The bucket of a key in the 17-bucket hash table whose iteration order archives are written in.
inline std::size_t ArchiveBucket(std::uint16_t key) {
    return (key >> 4) % 17;
}

inline std::size_t ArchiveBucket(const std::string& key) {
    std::uint32_t h = 0;
    for (char c : key)
        h = h * 33 + static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(c)));
    return h % 17;
}

// A map whose iteration order is that of the archive writer: bucket 0 first, and within a bucket
// the most recently inserted key first. Replacing the value of a key keeps its place. The map also
// remembers the order in which keys were added, which for a loaded map is the order of the file.
template <class Key, class Value> class CArchiveMap {
public:
    Value* Find(const Key& key) {
        for (auto& entry : m_buckets[ArchiveBucket(key)])
            if (entry.first == key)
                return &entry.second;
        return nullptr;
    }
    const Value* Find(const Key& key) const { return const_cast<CArchiveMap*>(this)->Find(key); }
    bool Contains(const Key& key) const { return Find(key) != nullptr; }

    // Stores `value` under `key` and hands back the value it replaced (empty when the key is new).
    Value Set(const Key& key, Value value) {
        if (Value* existing = Find(key)) {
            std::swap(*existing, value);
            return value;
        }
        m_buckets[ArchiveBucket(key)].push_back({key, std::move(value), m_nNextOrder++});
        ++m_nCount;
        return Value{};
    }

    // Takes the key out and hands back its value (empty when the key was absent).
    Value Remove(const Key& key) {
        auto& bucket = m_buckets[ArchiveBucket(key)];
        for (auto it = bucket.begin(); it != bucket.end(); ++it) {
            if (it->first == key) {
                Value value = std::move(it->second);
                bucket.erase(it);
                --m_nCount;
                return value;
            }
        }
        return Value{};
    }

    void Clear() {
        for (auto& bucket : m_buckets)
            bucket.clear();
        m_nCount = 0;
    }

    std::size_t Size() const { return m_nCount; }
    bool Empty() const { return m_nCount == 0; }

    // Visits the entries in the writer's order: f(key, value).
    template <class F> void ForEach(F&& f) const {
        for (const auto& bucket : m_buckets)
            for (auto it = bucket.rbegin(); it != bucket.rend(); ++it)
                f(it->first, it->second);
    }
    template <class F> void ForEach(F&& f) {
        for (auto& bucket : m_buckets)
            for (auto it = bucket.rbegin(); it != bucket.rend(); ++it)
                f(it->first, it->second);
    }

    // Visits the entries in the order their keys were added: f(key, value).
    template <class F> void ForEachInOrderAdded(F&& f) const {
        std::vector<const Entry*> entries;
        entries.reserve(m_nCount);
        for (const auto& bucket : m_buckets)
            for (const auto& entry : bucket)
                entries.push_back(&entry);
        std::sort(entries.begin(), entries.end(),
                  [](const Entry* a, const Entry* b) { return a->order < b->order; });
        for (const Entry* entry : entries)
            f(entry->first, entry->second);
    }

private:
    struct Entry {
        Key first;
        Value second;
        std::uint64_t order;
    };
    // Oldest entry first; iteration runs backwards.
    std::array<std::vector<Entry>, 17> m_buckets;
    std::size_t m_nCount = 0;
    std::uint64_t m_nNextOrder = 0;
};
