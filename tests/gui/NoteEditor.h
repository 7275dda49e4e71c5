#pragma once

#include "app/ChildFrame.h"
#include "app/WloeApp.h"
#include "archive/ObjectArchive.h"
#include "support/TempDir.h"

#include <QLabel>

#include <memory>
#include <string>

// A document of one name, archived as a string: enough to open, modify and save, in a window with
// no editor behind it, so that the application shell can be tried without the real editors.
class CNoteDoc : public CDocument {
public:
    void Serialize(CObjectArchive& ar) override { ar.Exchange(m_strText); }
    std::string m_strText;
};

class CNoteFrame : public CChildFrame {
public:
    CNoteFrame(DocumentKind kind, std::unique_ptr<CDocument> document)
        : CChildFrame(kind, std::move(document)) {
        setWidget(new QLabel("note"));
    }
};

inline EditorFactory NoteEditor(DocumentKind kind) {
    return {
        [] { return std::make_unique<CNoteDoc>(); },
        [kind](std::unique_ptr<CDocument> document) { return new CNoteFrame(kind, std::move(document)); }};
}

// Saves a note named `name` in `dir` and gives its path.
inline std::string SaveNote(const TempDir& dir, const std::string& name) {
    CNoteDoc doc;
    doc.m_strText = name;
    std::string path = dir.File(name);
    doc.OnSaveDocument(path);
    return path;
}
