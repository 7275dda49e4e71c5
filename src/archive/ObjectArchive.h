#pragma once

#include "archive/ArchiveClass.h"
#include "archive/ArchiveException.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

// The tagged, versioned object stream of patch, layer and sample archive files. One archive works
// in one direction for one whole document: storing collects the bytes in memory for the document
// to write out; loading reads bytes already in memory, so every length can be checked against
// what remains before anything is allocated.
class CObjectArchive {
public:
    // Storing.
    CObjectArchive();
    // Loading.
    explicit CObjectArchive(std::vector<std::uint8_t> data);
    ~CObjectArchive();
    CObjectArchive(const CObjectArchive&) = delete;
    CObjectArchive& operator=(const CObjectArchive&) = delete;

    bool IsStoring() const { return m_bStoring; }
    bool IsLoading() const { return !m_bStoring; }

    // Storing: everything written so far.
    const std::vector<std::uint8_t>& Bytes() const { return m_data; }
    // Loading: bytes not yet read.
    std::size_t Remaining() const { return m_data.size() - m_nPos; }
    // Loading: fails with end of data unless `bytes` more can be read.
    void Require(std::uint64_t bytes) const;

    void Write(const void* data, std::size_t size);
    void Read(void* data, std::size_t size);

    CObjectArchive& operator<<(std::uint8_t value) { return PutLittle(value, 1); }
    CObjectArchive& operator<<(std::int8_t value) { return PutLittle(static_cast<std::uint8_t>(value), 1); }
    CObjectArchive& operator<<(std::uint16_t value) { return PutLittle(value, 2); }
    CObjectArchive& operator<<(std::int16_t value) { return PutLittle(static_cast<std::uint16_t>(value), 2); }
    CObjectArchive& operator<<(std::uint32_t value) { return PutLittle(value, 4); }
    CObjectArchive& operator<<(std::int32_t value) { return PutLittle(static_cast<std::uint32_t>(value), 4); }
    CObjectArchive& operator<<(float value);
    CObjectArchive& operator<<(double value);
    CObjectArchive& operator<<(bool) = delete;

    CObjectArchive& operator>>(std::uint8_t& value) { return GetLittle(value); }
    CObjectArchive& operator>>(std::int8_t& value) { return GetLittle(value); }
    CObjectArchive& operator>>(std::uint16_t& value) { return GetLittle(value); }
    CObjectArchive& operator>>(std::int16_t& value) { return GetLittle(value); }
    CObjectArchive& operator>>(std::uint32_t& value) { return GetLittle(value); }
    CObjectArchive& operator>>(std::int32_t& value) { return GetLittle(value); }
    CObjectArchive& operator>>(float& value);
    CObjectArchive& operator>>(double& value);

    // Writes or reads one field, as the direction says; strings use the string form.
    template <class T> void Exchange(T& value) {
        if constexpr (std::is_same_v<T, std::string>) {
            if (m_bStoring)
                StoreString(value);
            else
                value = LoadString();
        } else if (m_bStoring) {
            *this << value;
        } else {
            *this >> value;
        }
    }

    // Strings hold Windows-1252 bytes; the wide form is read and converted, never written.
    void StoreString(std::string_view text);
    std::string LoadString();

    void StoreCount(std::uint32_t count);
    std::uint32_t LoadCount();

    // A tagged entry: null, a reference to an object stored before, or the object in full.
    void StoreObject(CObject* object);

    // The object read: new, or one read earlier in this archive, or null. A new object belongs to
    // the archive until a caller claims it; objects nobody claimed die with the archive.
    CObject* LoadObject() { return LoadObjectOf(nullptr); }

    // LoadObject, failing with bad class when the object is not a T. The class is checked before
    // the body is read, so a stream cannot nest records where they do not belong.
    template <class T> T* LoadAs() {
        return static_cast<T*>(
            LoadObjectOf([](const CObject* object) { return dynamic_cast<const T*>(object) != nullptr; }));
    }

    // Takes over an object this archive created and nobody claimed yet; an object that already has
    // an owner cannot be owned twice (bad index).
    template <class T> std::unique_ptr<T> Claim(T* object) {
        if (!object)
            return nullptr;
        ClaimObject(object);
        return std::unique_ptr<T>(object);
    }

    // LoadAs and Claim: the entry must be a new object (or null).
    template <class T> std::unique_ptr<T> LoadOwned() { return Claim(LoadAs<T>()); }

    bool IsUnclaimed(const CObject* object) const { return m_unclaimed.count(object) != 0; }

    // Keeps an object that its owner let go during the load (a map key read twice) alive until the
    // archive closes, so a later reference to it cannot dangle.
    void Discard(std::unique_ptr<CObject> object);

private:
    struct LoadedEntry {
        const ArchiveClass* archiveClass;
        CObject* object;
    };

    CObjectArchive& PutLittle(std::uint64_t value, int bytes);
    template <class T> CObjectArchive& GetLittle(T& value) {
        std::uint8_t raw[sizeof(T)];
        Read(raw, sizeof(T));
        std::make_unsigned_t<T> result = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            result =
                static_cast<std::make_unsigned_t<T>>(result | (std::make_unsigned_t<T>(raw[i]) << (8 * i)));
        value = static_cast<T>(result);
        return *this;
    }
    using ClassCheck = bool (*)(const CObject*);
    CObject* LoadObjectOf(ClassCheck accepts);
    std::uint32_t NextIndex();
    std::uint32_t LoadStringLength(bool allowWide, bool& wide);
    void StoreReference(std::uint32_t index, bool isClass);
    void ClaimObject(CObject* object);

    bool m_bStoring;
    std::vector<std::uint8_t> m_data;
    std::size_t m_nPos = 0;
    std::uint32_t m_nNextIndex = 1;

    std::unordered_map<const CObject*, std::uint32_t> m_storedObjects;
    std::unordered_map<const ArchiveClass*, std::uint32_t> m_storedClasses;

    std::vector<LoadedEntry> m_loaded; // by index; entry 0 is the null object
    std::unordered_map<const CObject*, std::unique_ptr<CObject>> m_unclaimed;
    std::vector<std::unique_ptr<CObject>> m_discarded;
    std::vector<const CObject*> m_inProgress;
};
