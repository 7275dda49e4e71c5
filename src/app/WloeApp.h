#pragma once

#include "app/Commands.h"
#include "app/DocumentKinds.h"
#include "app/Preferences.h"
#include "app/RecentFileList.h"
#include "app/StartupOptions.h"

#include <QObject>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CChildFrame;
class CDocument;
class CMainFrame;
class Settings;

// How an editor plugs into the application: it makes an empty document of its kind, and the child
// window that shows one.
struct EditorFactory {
    std::function<std::unique_ptr<CDocument>()> createDocument;
    std::function<CChildFrame*(std::unique_ptr<CDocument>)> createFrame;
};

// The application object: start-up, the document kinds and their editors, the preferences, and
// the commands that exist before any document is open.
class CWloeApp : public QObject {
    Q_OBJECT
public:
    // `args` are the command line's arguments after the program's name.
    CWloeApp(Settings& settings, const std::string& programPath, const std::vector<std::string>& args);
    ~CWloeApp() override;

    // The start-up sequence: dialog colours, preferences, main window, splash. The main window
    // takes the place it had when it last closed; the first time, maximized or not as asked.
    void Start(bool showMaximized = true);

    CMainFrame& MainFrame() const { return *m_pMainFrame; }
    const ProgramPaths& Paths() const { return m_paths; }
    const Preferences& Prefs() const { return m_preferences; }
    RecentFileList& Recent() { return m_recent; }
    bool IsSplashEnabled() const { return m_options.splash; }
    // The files named on the command line, made absolute.
    const std::vector<std::string>& StartupFiles() const { return m_options.files; }

    void RegisterEditor(DocumentKind kind, EditorFactory factory);

    // Activates the window already open on `path` (any case), or opens the file as the kind its
    // extension names; nothing when the open failed or the kind has no editor yet.
    CChildFrame* OpenDocumentFile(const std::string& path);
    // Opens each file in turn; one that fails has said why, and the others still open.
    void OpenDocumentFiles(const std::vector<std::string>& paths);
    // A new, untitled document of a kind: Patch1, Wave File1, ...
    CChildFrame* NewDocument(DocumentKind kind);

    bool HandlesCommand(Command command) const;
    void OnCommand(Command command);
    void ShowHelp(std::optional<DocumentKind> context);
    // Asks about every modified document; false when the user cancelled.
    bool CloseAllDocuments();

    // Keeps the main window's size, position and maximized state in the settings file.
    void RememberWindowGeometry();

    // Runs the Preferences dialog and applies what was entered (OK) or nothing (Cancel).
    void EditPreferences();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const EditorFactory* EditorFor(DocumentKind kind) const;
    void AddChild(CChildFrame* child);
    void OnFileNew();
    void OnOpenPatchFile();
    void OnOpenWaveFile();
    void OnImportAudioFile();
    void OnFileOpen();

    Settings& m_settings;
    ProgramPaths m_paths;
    StartupOptions m_options;
    Preferences m_preferences;
    RecentFileList m_recent;
    std::map<DocumentKind, EditorFactory> m_editors;
    std::map<DocumentKind, int> m_untitledCount;
    std::unique_ptr<CMainFrame> m_pMainFrame;
};
