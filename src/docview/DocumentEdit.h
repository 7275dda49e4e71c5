#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CDocument;

// A command's change to a document kept in the archive form, recorded as one undo step that holds
// the archived bytes from before. Begun before the command and ended after it: a command that
// changed nothing (refused, cancelled, the same values again) records nothing. Edits nest; only
// the outermost records. The documents this serves are small, so archiving them whole is cheap.
class CDocumentEdit {
public:
    // `hint` is what the views are told after the step is undone or redone.
    CDocumentEdit(CDocument& doc, std::string name, long hint = 0);
    ~CDocumentEdit();
    CDocumentEdit(const CDocumentEdit&) = delete;
    CDocumentEdit& operator=(const CDocumentEdit&) = delete;

    void SetHint(long hint) { m_nHint = hint; }

private:
    CDocument& m_doc;
    std::string m_strName;
    long m_nHint;
    bool m_bOutermost;
    std::vector<std::uint8_t> m_before;
};
