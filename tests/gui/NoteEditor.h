#pragma once

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/WloeApp.h"
#include "archive/ObjectArchive.h"
#include "platform/IniSettings.h"
#include "platform/ScriptedUi.h"
#include "support/TempDir.h"

#include <QLabel>
#include <QObject>

#include <memory>
#include <string>
#include <vector>

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

// A Qt Test class over the application shell with note editors for patches and samples: each test
// function gets a fresh folder, settings file and scripted Ui from SetUp, and TearDown closes what
// it opened without asking.
class NoteAppTest : public QObject {
protected:
    CWloeApp& StartApp(std::vector<std::string> args = {"-Embedding"}) {
        m_app = std::make_unique<CWloeApp>(*m_settings, m_dir->File("bin/wloe"), args);
        m_app->RegisterEditor(DocumentKind::Patch, NoteEditor(DocumentKind::Patch));
        m_app->RegisterEditor(DocumentKind::Wave, NoteEditor(DocumentKind::Wave));
        m_app->Start(false);
        return *m_app;
    }

    void StopApp() {
        if (!m_app)
            return;
        for (CChildFrame* child : m_app->MainFrame().Children())
            child->Document().SetModifiedFlag(false);
        m_app->CloseAllDocuments();
        m_app.reset();
    }

    void SetUp() {
        m_dir = std::make_unique<TempDir>();
        m_settings = std::make_unique<IniSettings>(m_dir->File("wloe.ini"));
        m_ui = std::make_unique<ScriptedUi>();
        m_uiScope = std::make_unique<ScopedUi>(*m_ui);
    }

    void TearDown() {
        StopApp();
        m_uiScope.reset();
        m_ui.reset();
        m_settings.reset();
        m_dir.reset();
    }

    std::unique_ptr<TempDir> m_dir;
    std::unique_ptr<IniSettings> m_settings;
    std::unique_ptr<ScriptedUi> m_ui;
    std::unique_ptr<ScopedUi> m_uiScope;
    std::unique_ptr<CWloeApp> m_app;
};
