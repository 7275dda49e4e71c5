#pragma once

#include "archive/ArchiveContainers.h"

#include <cstdint>
#include <string>
#include <vector>

// Small record classes for exercising the archive: a named value, and a holder that refers to
// other records without owning them.
class CTestLeaf : public CObject {
public:
    static const ArchiveClass kClass;
    const ArchiveClass& GetArchiveClass() const override { return kClass; }
    void Serialize(CObjectArchive& ar) override {
        ar.Exchange(m_strName);
        ar.Exchange(m_nValue);
    }
    std::string m_strName;
    std::int16_t m_nValue = 0;
};

class CTestHolder : public CObject {
public:
    static const ArchiveClass kClass;
    const ArchiveClass& GetArchiveClass() const override { return kClass; }
    void Serialize(CObjectArchive& ar) override {
        if (ar.IsStoring()) {
            ar.StoreObject(m_pFirst);
            ar.StoreObject(m_pSecond);
        } else {
            m_pFirst = ar.LoadAs<CTestLeaf>();
            m_pSecond = ar.LoadAs<CTestLeaf>();
        }
    }
    CTestLeaf* m_pFirst = nullptr;
    CTestLeaf* m_pSecond = nullptr;
};

// A record that owns a list of its own kind: nesting as deep as the stream says.
class CTestNode : public CObject {
public:
    static const ArchiveClass kClass;
    const ArchiveClass& GetArchiveClass() const override { return kClass; }
    void Serialize(CObjectArchive& ar) override { SerializeObjects(ar, m_children); }
    std::vector<std::unique_ptr<CTestNode>> m_children;
};

inline const ArchiveClass CTestLeaf::kClass{"CTestLeaf", 1, &MakeArchiveObject<CTestLeaf>};
inline const ArchiveClass CTestHolder::kClass{"CTestHolder", 1, &MakeArchiveObject<CTestHolder>};
inline const ArchiveClass CTestNode::kClass{"CTestNode", 1, &MakeArchiveObject<CTestNode>};

inline void RegisterTestRecords() {
    ClassRegistry::Register(CTestLeaf::kClass);
    ClassRegistry::Register(CTestHolder::kClass);
    ClassRegistry::Register(CTestNode::kClass);
}

using Bytes = std::vector<std::uint8_t>;

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}
