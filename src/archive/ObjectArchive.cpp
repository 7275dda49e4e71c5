#include "archive/ObjectArchive.h"

#include "platform/TextEncoding.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {
constexpr std::uint32_t kIndexLimit = 0x3FFFFFFE;
constexpr std::uint16_t kNullTag = 0x0000;
constexpr std::uint16_t kLongIndexTag = 0x7FFF;
constexpr std::uint16_t kClassTagBit = 0x8000;
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint32_t kLongClassBit = 0x80000000;
constexpr std::size_t kMaxClassName = 64;
// Records nest a few levels deep; a stream nested deeper is not ours.
constexpr std::size_t kMaxNesting = 256;

[[noreturn]] void Fail(CArchiveException::Kind kind) {
    throw CArchiveException(kind);
}

} // namespace

CObjectArchive::CObjectArchive() : m_bStoring(true) {}

CObjectArchive::CObjectArchive(std::vector<std::uint8_t> data) : m_bStoring(false), m_data(std::move(data)) {
    m_loaded.push_back({nullptr, nullptr});
}

CObjectArchive::~CObjectArchive() = default;

void CObjectArchive::Require(std::uint64_t bytes) const {
    if (bytes > Remaining())
        Fail(CArchiveException::Kind::EndOfData);
}

void CObjectArchive::Write(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    m_data.insert(m_data.end(), bytes, bytes + size);
}

void CObjectArchive::Read(void* data, std::size_t size) {
    Require(size);
    if (size != 0)
        std::memcpy(data, m_data.data() + m_nPos, size);
    m_nPos += size;
}

CObjectArchive& CObjectArchive::PutLittle(std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        m_data.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    return *this;
}

CObjectArchive& CObjectArchive::operator<<(float value) {
    return *this << std::bit_cast<std::uint32_t>(value);
}

CObjectArchive& CObjectArchive::operator<<(double value) {
    return PutLittle(std::bit_cast<std::uint64_t>(value), 8);
}

CObjectArchive& CObjectArchive::operator>>(float& value) {
    std::uint32_t raw = 0;
    GetLittle(raw);
    value = std::bit_cast<float>(raw);
    return *this;
}

CObjectArchive& CObjectArchive::operator>>(double& value) {
    std::uint64_t raw = 0;
    GetLittle(raw);
    value = std::bit_cast<double>(raw);
    return *this;
}

void CObjectArchive::StoreString(std::string_view text) {
    auto n = static_cast<std::uint32_t>(text.size());
    if (n < 0xFF) {
        *this << static_cast<std::uint8_t>(n);
    } else if (n < 0xFFFE) {
        *this << std::uint8_t{0xFF} << static_cast<std::uint16_t>(n);
    } else {
        *this << std::uint8_t{0xFF} << std::uint16_t{0xFFFF} << n;
    }
    Write(text.data(), text.size());
}

std::uint32_t CObjectArchive::LoadStringLength(bool allowWide, bool& wide) {
    std::uint8_t shortLength = 0;
    *this >> shortLength;
    if (shortLength < 0xFF)
        return shortLength;
    std::uint16_t wordLength = 0;
    *this >> wordLength;
    if (wordLength == 0xFFFE && allowWide) {
        wide = true;
        return LoadStringLength(false, wide);
    }
    if (wordLength < 0xFFFF)
        return wordLength;
    std::uint32_t longLength = 0;
    *this >> longLength;
    return longLength;
}

std::string CObjectArchive::LoadString() {
    bool wide = false;
    std::uint32_t n = LoadStringLength(true, wide);
    if (!wide) {
        Require(n);
        std::string text(reinterpret_cast<const char*>(m_data.data() + m_nPos), n);
        m_nPos += n;
        return text;
    }
    Require(std::uint64_t{n} * 2);
    std::vector<std::uint16_t> units(n);
    for (auto& unit : units)
        *this >> unit;
    return Utf8ToCp1252(Utf16ToUtf8(units));
}

void CObjectArchive::StoreCount(std::uint32_t count) {
    if (count < 0xFFFF) {
        *this << static_cast<std::uint16_t>(count);
    } else {
        *this << std::uint16_t{0xFFFF} << count;
    }
}

std::uint32_t CObjectArchive::LoadCount() {
    std::uint16_t shortCount = 0;
    *this >> shortCount;
    if (shortCount != 0xFFFF)
        return shortCount;
    std::uint32_t count = 0;
    *this >> count;
    return count;
}

std::uint32_t CObjectArchive::NextIndex() {
    if (m_nNextIndex >= kIndexLimit)
        Fail(CArchiveException::Kind::BadIndex);
    return m_nNextIndex++;
}

void CObjectArchive::StoreReference(std::uint32_t index, bool isClass) {
    if (index >= kLongIndexTag) {
        *this << kLongIndexTag << (isClass ? (kLongClassBit | index) : index);
    } else {
        *this << static_cast<std::uint16_t>(isClass ? (kClassTagBit | index) : index);
    }
}

void CObjectArchive::StoreObject(CObject* object) {
    if (!object) {
        *this << kNullTag;
        return;
    }
    if (auto stored = m_storedObjects.find(object); stored != m_storedObjects.end()) {
        StoreReference(stored->second, false);
        return;
    }
    const ArchiveClass& archiveClass = object->GetArchiveClass();
    if (auto stored = m_storedClasses.find(&archiveClass); stored != m_storedClasses.end()) {
        StoreReference(stored->second, true);
    } else {
        *this << kNewClassTag << archiveClass.schema << static_cast<std::uint16_t>(archiveClass.name.size());
        Write(archiveClass.name.data(), archiveClass.name.size());
        m_storedClasses.emplace(&archiveClass, NextIndex());
    }
    m_storedObjects.emplace(object, NextIndex());
    object->Serialize(*this);
}

CObject* CObjectArchive::LoadObjectOf(ClassCheck accepts) {
    std::uint16_t tag = 0;
    *this >> tag;
    std::uint32_t x = 0;
    if (tag == kLongIndexTag) {
        *this >> x;
    } else {
        x = tag & 0x7FFF;
        if (tag & kClassTagBit)
            x |= kLongClassBit;
    }

    if (!(x & kLongClassBit)) {
        if (x >= m_loaded.size())
            Fail(CArchiveException::Kind::BadIndex);
        const LoadedEntry& entry = m_loaded[x];
        // An object reference must name an object, not a class.
        if (x != 0 && !entry.object)
            Fail(CArchiveException::Kind::BadIndex);
        if (entry.object && accepts && !accepts(entry.object))
            Fail(CArchiveException::Kind::BadClass);
        return entry.object;
    }

    const ArchiveClass* archiveClass = nullptr;
    if (tag == kNewClassTag) {
        std::uint16_t schema = 0;
        std::uint16_t nameLength = 0;
        *this >> schema >> nameLength;
        if (nameLength >= kMaxClassName || nameLength > Remaining())
            Fail(CArchiveException::Kind::BadClass);
        std::string name(reinterpret_cast<const char*>(m_data.data() + m_nPos), nameLength);
        m_nPos += nameLength;
        archiveClass = ClassRegistry::Find(name);
        if (!archiveClass)
            Fail(CArchiveException::Kind::BadClass);
        if (archiveClass->schema != schema)
            Fail(CArchiveException::Kind::BadSchema);
        NextIndex();
        m_loaded.push_back({archiveClass, nullptr});
    } else {
        std::uint32_t classIndex = x & ~kLongClassBit;
        if (classIndex == 0 || classIndex >= m_loaded.size() || !m_loaded[classIndex].archiveClass ||
            m_loaded[classIndex].object)
            Fail(CArchiveException::Kind::BadIndex);
        archiveClass = m_loaded[classIndex].archiveClass;
    }

    std::unique_ptr<CObject> created = archiveClass->factory();
    CObject* object = created.get();
    if ((accepts && !accepts(object)) || m_inProgress.size() >= kMaxNesting)
        Fail(CArchiveException::Kind::BadClass);
    NextIndex();
    m_loaded.push_back({archiveClass, object});
    m_unclaimed.emplace(object, std::move(created));
    m_inProgress.push_back(object);
    object->Serialize(*this);
    m_inProgress.pop_back();
    return object;
}

void CObjectArchive::ClaimObject(CObject* object) {
    auto found = m_unclaimed.find(object);
    // An object still being read cannot become part of itself.
    if (found == m_unclaimed.end() ||
        std::find(m_inProgress.begin(), m_inProgress.end(), object) != m_inProgress.end())
        Fail(CArchiveException::Kind::BadIndex);
    found->second.release();
    m_unclaimed.erase(found);
}

void CObjectArchive::Discard(std::unique_ptr<CObject> object) {
    if (object)
        m_discarded.push_back(std::move(object));
}
