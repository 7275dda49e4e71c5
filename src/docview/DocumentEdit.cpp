#include "docview/DocumentEdit.h"

#include "archive/ObjectArchive.h"
#include "docview/Document.h"

#include <memory>

namespace {
std::vector<std::uint8_t> Archived(CDocument& doc) {
    CObjectArchive ar;
    doc.Serialize(ar);
    return ar.Bytes();
}

// The document's archived bytes from the other side of the change.
class CArchivedStep : public CUndoStep {
public:
    CArchivedStep(CDocument& doc, std::string name, long hint, std::vector<std::uint8_t> bytes)
        : CUndoStep(std::move(name), hint), m_doc(doc), m_bytes(std::move(bytes)) {}

    void Exchange() override {
        std::vector<std::uint8_t> now = Archived(m_doc);
        Load(m_bytes);
        // A map read in file order writes the keys that share a bucket the other way round; read
        // once more, that order turns back to the one that was kept.
        if (std::vector<std::uint8_t> loaded = Archived(m_doc); loaded != m_bytes)
            Load(loaded);
        m_bytes = std::move(now);
    }
    std::size_t Bytes() const override { return m_bytes.size(); }

private:
    void Load(std::vector<std::uint8_t> bytes) {
        m_doc.DeleteContents();
        CObjectArchive ar(std::move(bytes));
        m_doc.Serialize(ar);
    }

    CDocument& m_doc;
    std::vector<std::uint8_t> m_bytes;
};
} // namespace

CDocumentEdit::CDocumentEdit(CDocument& doc, std::string name, long hint)
    : m_doc(doc), m_strName(std::move(name)), m_nHint(hint),
      m_bOutermost(doc.BeginEdit() && CUndoHistory::IsRecording()) {
    if (m_bOutermost)
        m_before = Archived(doc);
}

CDocumentEdit::~CDocumentEdit() {
    m_doc.EndEdit();
    if (!m_bOutermost)
        return;
    try {
        if (Archived(m_doc) != m_before)
            m_doc.History().Record(
                std::make_unique<CArchivedStep>(m_doc, std::move(m_strName), m_nHint, std::move(m_before)));
    } catch (const std::exception&) {
        // A document that cannot be archived cannot be put back either: the change stands alone.
    }
}
