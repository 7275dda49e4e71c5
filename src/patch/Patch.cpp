#include "patch/Patch.h"

#include "archive/ArchiveContainers.h"

const ArchiveClass CPatch::kClass{"CPatch", 1, &MakeArchiveObject<CPatch>};

namespace {
void ExchangeSigned16(CObjectArchive& ar, std::int32_t& value) {
    std::int16_t word = static_cast<std::int16_t>(value);
    ar.Exchange(word);
    value = word;
}
} // namespace

void CPatch::Serialize(CObjectArchive& ar) {
    ar.Exchange(m_strName);
    ExchangeSigned16(ar, m_nMasterLevel);
    ExchangeSigned16(ar, m_nReserved);
    SerializeObjects(ar, m_layers);
}

void CPatch::CopyFrom(const CPatch& other) {
    if (&other == this)
        return;
    m_strName = other.m_strName;
    m_nMasterLevel = other.m_nMasterLevel;
    m_nReserved = other.m_nReserved;
    m_layers.clear();
    for (const auto& layer : other.m_layers) {
        auto copy = std::make_unique<CLayerParams>();
        copy->CopyFrom(*layer);
        m_layers.push_back(std::move(copy));
    }
}
