#include "layer/LayerRecords.h"

#include "archive/ObjectArchive.h"
#include "sample/SampleDoc.h"

#include <cmath>

const ArchiveClass CSample::kClass{"CSample", 1, &MakeArchiveObject<CSample>};
const ArchiveClass CLayer::kClass{"CLayer", 1, &MakeArchiveObject<CLayer>};

namespace {
constexpr std::uint16_t kTracksPitchFlag = 1;
constexpr std::uint16_t kIgnoreKeyUpFlag = 2;

// A 32-bit field kept in a 16-bit word: written as its low 16 bits, read back signed.
void ExchangeSignedWord(CObjectArchive& ar, std::int32_t& value) {
    if (ar.IsStoring()) {
        ar << static_cast<std::int16_t>(value);
    } else {
        std::int16_t word = 0;
        ar >> word;
        value = word;
    }
}

void ExchangeBoolWord(CObjectArchive& ar, bool& value) {
    if (ar.IsStoring()) {
        ar << static_cast<std::uint16_t>(value ? 1 : 0);
    } else {
        std::uint16_t word = 0;
        ar >> word;
        value = word != 0;
    }
}
} // namespace

CSample::CSample() = default;

CSample::~CSample() = default;

void CSample::SetDocument(std::unique_ptr<CSampleDoc> document) {
    if (document && document.get() == m_pDocument.get()) {
        document.release(); // already ours
        return;
    }
    m_pDocument = std::move(document);
}

void CSample::Serialize(CObjectArchive& ar) {
    ar.Exchange(m_strPath);
    if (ar.IsStoring()) {
        ar << static_cast<std::uint16_t>((m_bTracksPitch ? kTracksPitchFlag : 0) |
                                         (m_bIgnoreKeyUp ? kIgnoreKeyUpFlag : 0));
    } else {
        std::uint16_t flags = 0;
        ar >> flags;
        m_bTracksPitch = (flags & kTracksPitchFlag) != 0;
        m_bIgnoreKeyUp = (flags & kIgnoreKeyUpFlag) != 0;
    }
    ExchangeSignedWord(ar, m_nLevel);
}

CLayer::CLayer() = default;

CLayer::~CLayer() = default;

void CLayer::Serialize(CObjectArchive& ar) {
    ExchangeSignedWord(ar, m_nLevel);
    ExchangeSignedWord(ar, m_nTranspose);
    ExchangeBoolWord(ar, m_bIgnoreKeyUp);
    ar.Exchange(m_strComment);
    if (ar.IsStoring()) {
        ar.StoreCount(static_cast<std::uint32_t>(m_keys.Size()));
        m_keys.ForEach([&](std::uint16_t key, CSample* sample) {
            ar << key;
            ar.StoreObject(sample);
        });
        return;
    }
    std::uint32_t count = ar.LoadCount();
    m_keys.Clear();
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint16_t key = 0;
        ar >> key;
        if (key > kHighestKey)
            throw CArchiveException(CArchiveException::Kind::BadIndex);
        CSample* sample = ar.LoadAs<CSample>();
        if (!sample)
            throw CArchiveException(CArchiveException::Kind::BadClass);
        m_keys.Set(key, sample);
    }
}

void CLayer::Reset() {
    m_nLevel = 0;
    m_nTranspose = 0;
    m_bIgnoreKeyUp = false;
    m_keys.Clear();
    m_strComment.clear();
}

void CLayer::CopyFrom(const CLayer& other) {
    if (&other == this)
        return;
    m_nLevel = other.m_nLevel;
    m_nTranspose = other.m_nTranspose;
    m_bIgnoreKeyUp = other.m_bIgnoreKeyUp;
    m_strComment = other.m_strComment;
    m_keys.Clear();
    other.m_keys.ForEachInOrderAdded([&](std::uint16_t key, CSample* sample) { m_keys.Set(key, sample); });
}

CSample* CLayer::LookupSample(std::uint16_t key) const {
    CSample* const* sample = m_keys.Find(key);
    return sample ? *sample : nullptr;
}

long double NoteFrequency(int key) {
    return 440.0L * std::pow(2.0L, static_cast<long double>(key - 69) / 12.0L);
}

void RegisterLayerClasses() {
    ClassRegistry::Register(CSample::kClass);
    ClassRegistry::Register(CLayer::kClass);
}
