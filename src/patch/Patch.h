#pragma once

#include "patch/LayerParams.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One numbered entry of a patch bank: a name, a master level and the layers that sound, in order.
class CPatch : public CObject {
public:
    static const ArchiveClass kClass;
    const ArchiveClass& GetArchiveClass() const override { return kClass; }

    void Serialize(CObjectArchive& ar) override;
    // A deep copy; the number stays, since it is the key the document holds this patch under.
    void CopyFrom(const CPatch& other);

    std::string m_strName = "New Patch"; // Windows-1252
    std::int32_t m_nMasterLevel = 0;     // dB; archived as 16 bits
    std::int32_t m_nReserved = 0;        // archived as 16 bits
    std::vector<std::unique_ptr<CLayerParams>> m_layers;
    // Not archived: the document sets it when it stores the patch and after loading.
    std::uint16_t m_nNumber = 0;
};
