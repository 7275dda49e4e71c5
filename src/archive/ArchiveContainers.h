#pragma once

#include "archive/ArchiveMap.h"
#include "archive/ObjectArchive.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The archived containers. Our records never hold null entries, so a null entry in a stream is
// refused as bad class rather than handed to code that expects an object.

namespace ArchiveDetail {
template <class T> std::unique_ptr<T> LoadElement(CObjectArchive& ar) {
    std::unique_ptr<T> element = ar.LoadOwned<T>();
    if (!element)
        throw CArchiveException(CArchiveException::Kind::BadClass);
    return element;
}

inline void ExchangeKey(CObjectArchive& ar, std::uint16_t& key) {
    ar.Exchange(key);
}
inline void ExchangeKey(CObjectArchive& ar, std::string& key) {
    ar.Exchange(key);
}
} // namespace ArchiveDetail

// Object list and object array: the same stream form, a count and the tagged entries in order.
template <class T> void SerializeObjects(CObjectArchive& ar, std::vector<std::unique_ptr<T>>& objects) {
    if (ar.IsStoring()) {
        ar.StoreCount(static_cast<std::uint32_t>(objects.size()));
        for (auto& object : objects)
            ar.StoreObject(object.get());
        return;
    }
    std::uint32_t count = ar.LoadCount();
    ar.Require(std::uint64_t{count} * 2); // every entry takes at least its tag
    objects.clear();
    objects.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i)
        objects.push_back(ArchiveDetail::LoadElement<T>(ar));
}

// Word array: a count and raw DWORDs.
void SerializeWordArray(CObjectArchive& ar, std::vector<std::uint32_t>& words);

// Key-number map and name map: a count and (key, tagged entry) pairs in the writer's order. A key
// read twice keeps the object read last.
template <class Key, class T>
void SerializeMap(CObjectArchive& ar, CArchiveMap<Key, std::unique_ptr<T>>& map) {
    if (ar.IsStoring()) {
        ar.StoreCount(static_cast<std::uint32_t>(map.Size()));
        map.ForEach([&](const Key& key, std::unique_ptr<T>& value) {
            Key copy = key;
            ArchiveDetail::ExchangeKey(ar, copy);
            ar.StoreObject(value.get());
        });
        return;
    }
    std::uint32_t count = ar.LoadCount();
    map.Clear();
    for (std::uint32_t i = 0; i < count; ++i) {
        Key key{};
        ArchiveDetail::ExchangeKey(ar, key);
        ar.Discard(map.Set(key, ArchiveDetail::LoadElement<T>(ar)));
    }
}
