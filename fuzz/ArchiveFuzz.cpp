// Feeds arbitrary bytes to the archive reader through records that use every container form.
#include "archive/ArchiveContainers.h"

#include <cstddef>
#include <cstdint>

namespace {
class CFuzzRecord : public CObject {
public:
    static const ArchiveClass kClass;
    const ArchiveClass& GetArchiveClass() const override { return kClass; }
    void Serialize(CObjectArchive& ar) override {
        ar.Exchange(m_strName);
        ar.Exchange(m_nValue);
        SerializeWordArray(ar, m_words);
        SerializeObjects(ar, m_children);
        SerializeMap(ar, m_byKey);
        SerializeMap(ar, m_byName);
        m_pShared = ar.IsLoading() ? ar.LoadAs<CFuzzRecord>() : m_pShared;
    }
    std::string m_strName;
    std::int16_t m_nValue = 0;
    std::vector<std::uint32_t> m_words;
    std::vector<std::unique_ptr<CFuzzRecord>> m_children;
    CArchiveMap<std::uint16_t, std::unique_ptr<CFuzzRecord>> m_byKey;
    CArchiveMap<std::string, std::unique_ptr<CFuzzRecord>> m_byName;
    CFuzzRecord* m_pShared = nullptr;
};
const ArchiveClass CFuzzRecord::kClass{"CFuzzRecord", 1, &MakeArchiveObject<CFuzzRecord>};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ClassRegistry::Register(CFuzzRecord::kClass);
    CObjectArchive ar(std::vector<std::uint8_t>(data, data + size));
    try {
        ar.LoadString();
        CArchiveMap<std::uint16_t, std::unique_ptr<CFuzzRecord>> root;
        SerializeMap(ar, root);
    } catch (const CArchiveException&) {
    }
    return 0;
}
