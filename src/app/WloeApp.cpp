#include "app/WloeApp.h"

#include "app/Artwork.h"
#include "app/ChildFrame.h"
#include "app/Dialogs.h"
#include "app/MainFrame.h"
#include "app/QtUi.h"
#include "app/SplashWnd.h"
#include "app/WindowGeometry.h"
#include "platform/Shell.h"
#include "platform/Ui.h"
#include "sample/AudioFileImport.h"
#include "sample/SampleDoc.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMdiArea>
#include <QMenu>
#include <QPalette>
#include <QScreen>

#include <filesystem>

namespace {
std::string WorkingDir() {
    std::error_code error;
    std::filesystem::path dir = std::filesystem::current_path(error);
    return error ? std::string("/") : dir.string();
}

std::string KindName(DocumentKind kind) {
    switch (kind) {
    case DocumentKind::Patch:
        return "patch";
    case DocumentKind::Layer:
        return "layer";
    case DocumentKind::Wave:
        return "wave";
    }
    return "";
}

std::optional<std::string> AskOpenFile(QWidget* parent, const QString& title, const QString& directory,
                                       const QString& filter) {
    QFileDialog dialog(parent, title, directory, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}
} // namespace

CWloeApp::CWloeApp(Settings& settings, const std::string& programPath, const std::vector<std::string>& args)
    : m_settings(settings), m_paths(ProgramPathsFor(programPath)),
      m_options(ParseCommandLine(args, WorkingDir())), m_preferences(Preferences::Load(settings)),
      m_recent(settings) {
    CUndoHistory::SetDefaultBudget(m_preferences.UndoBudget());
}

CWloeApp::~CWloeApp() {
    if (qApp)
        qApp->removeEventFilter(this);
}

void CWloeApp::Start(bool showMaximized) {
    // Dialogs and message boxes take the menu colour with black text.
    QColor menu = QApplication::palette("QMenu").color(QPalette::Window);
    qApp->setStyleSheet(QString("QDialog, QMessageBox { background-color: %1; } "
                                "QDialog QLabel, QMessageBox QLabel, QDialog QCheckBox, QDialog QRadioButton "
                                "{ color: black; }")
                            .arg(menu.name()));
    qApp->setWindowIcon(ProgramIcon());
    m_pMainFrame = std::make_unique<CMainFrame>(*this);
    if (std::optional<WindowGeometry> saved = WindowGeometry::Load(m_settings)) {
        WindowGeometry place = *saved;
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect area = screen->availableGeometry();
            place = saved->FittedTo({area.x(), area.y(), area.width(), area.height()});
        }
        m_pMainFrame->setGeometry(place.left, place.top, place.width, place.height);
        showMaximized = saved->maximized;
    }
    if (showMaximized)
        m_pMainFrame->showMaximized();
    else
        m_pMainFrame->show();
    qApp->installEventFilter(this);
    if (m_options.splash)
        m_pMainFrame->ShowSplash();
}

bool CWloeApp::eventFilter(QObject* watched, QEvent* event) {
    if (m_pMainFrame && m_pMainFrame->Splash() && CSplashWnd::ClosesSplash(event))
        m_pMainFrame->CloseSplash();
    return QObject::eventFilter(watched, event);
}

void CWloeApp::RegisterEditor(DocumentKind kind, EditorFactory factory) {
    m_editors[kind] = std::move(factory);
}

const EditorFactory* CWloeApp::EditorFor(DocumentKind kind) const {
    auto found = m_editors.find(kind);
    if (found != m_editors.end())
        return &found->second;
    GetUi().Message("The " + KindName(kind) + " editor is not available yet in this version.",
                    MessageIcon::Information);
    return nullptr;
}

void CWloeApp::AddChild(CChildFrame* child) {
    connect(child, &CChildFrame::DocumentSaved, this, [this](const QString& path) {
        m_recent.Add(path.toStdString());
        m_pMainFrame->RebuildMenus();
    });
    m_pMainFrame->AddChild(child);
}

CChildFrame* CWloeApp::OpenDocumentFile(const std::string& path) {
    for (CChildFrame* child : m_pMainFrame->Children()) {
        if (SamePath(child->Document().GetPathName(), path)) {
            m_pMainFrame->MdiArea()->setActiveSubWindow(child);
            return child;
        }
    }
    DocumentKind kind = KindForPath(path);
    const EditorFactory* editor = EditorFor(kind);
    if (!editor)
        return nullptr;
    std::unique_ptr<CDocument> document = editor->createDocument();
    if (!document->OnOpenDocument(path))
        return nullptr;
    document->SetPathName(path);
    document->SetModifiedFlag(false);
    CChildFrame* child = editor->createFrame(std::move(document));
    AddChild(child);
    m_recent.Add(path);
    m_pMainFrame->RebuildMenus();
    return child;
}

void CWloeApp::OpenDocumentFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        OpenDocumentFile(path);
}

CChildFrame* CWloeApp::NewDocument(DocumentKind kind) {
    const EditorFactory* editor = EditorFor(kind);
    if (!editor)
        return nullptr;
    std::unique_ptr<CDocument> document = editor->createDocument();
    if (!document->OnNewDocument())
        return nullptr;
    document->SetTitle(KindInfo(kind).descriptor.docName + std::to_string(++m_untitledCount[kind]));
    CChildFrame* child = editor->createFrame(std::move(document));
    AddChild(child);
    return child;
}

bool CWloeApp::HandlesCommand(Command command) const {
    switch (command) {
    case Command::New:
    case Command::Open:
    case Command::OpenPatchFile:
    case Command::OpenLayerFile:
    case Command::OpenWaveFile:
    case Command::ImportAudioFile:
    case Command::Preferences:
    case Command::About:
    case Command::Exit:
        return true;
    default:
        return false;
    }
}

void CWloeApp::OnCommand(Command command) {
    switch (command) {
    case Command::New:
        OnFileNew();
        break;
    case Command::Open:
        OnFileOpen();
        break;
    case Command::OpenPatchFile:
        OnOpenPatchFile();
        break;
    case Command::OpenLayerFile:
        OpenDocumentFile(m_paths.layerFile);
        break;
    case Command::OpenWaveFile:
        OnOpenWaveFile();
        break;
    case Command::ImportAudioFile:
        OnImportAudioFile();
        break;
    case Command::Preferences:
        EditPreferences();
        break;
    case Command::About: {
        CAboutDialog about(m_pMainFrame.get());
        about.exec();
        break;
    }
    case Command::Exit:
        m_pMainFrame->close();
        break;
    default:
        break;
    }
}

void CWloeApp::OnFileNew() {
    // Kinds with an empty file-new name (layer libraries) are never created empty.
    QStringList names;
    std::vector<DocumentKind> kinds;
    for (const auto& info : DocumentKinds()) {
        if (info.descriptor.fileNewName.empty())
            continue;
        names << QString::fromStdString(info.descriptor.fileNewName);
        kinds.push_back(info.kind);
    }
    bool ok = false;
    QString chosen = QInputDialog::getItem(m_pMainFrame.get(), "New", "New", names, 0, false, &ok);
    if (ok)
        NewDocument(kinds[static_cast<std::size_t>(names.indexOf(chosen))]);
}

void CWloeApp::OnFileOpen() {
    QStringList filters;
    for (const std::string& filter : OpenFilters())
        filters << QString::fromStdString(filter);
    if (auto path = AskOpenFile(m_pMainFrame.get(), "Open", QString(), filters.join(";;")))
        OpenDocumentFile(*path);
}

void CWloeApp::OnOpenPatchFile() {
    if (auto path = AskOpenFile(m_pMainFrame.get(), "Open Patch File",
                                QString::fromStdString(m_paths.dataDir), "Patch Files (*.pat)"))
        OpenDocumentFile(*path);
}

void CWloeApp::OnOpenWaveFile() {
    if (auto path =
            AskOpenFile(m_pMainFrame.get(), "Open Sample File",
                        QString::fromStdString(m_preferences.sampleRoot), "Sample Files (*.wav *.sam)"))
        OpenDocumentFile(*path);
}

void CWloeApp::RememberWindowGeometry() {
    QRect normal = m_pMainFrame->normalGeometry();
    WindowGeometry{normal.x(), normal.y(), normal.width(), normal.height(), m_pMainFrame->isMaximized()}.Save(
        m_settings);
}

void CWloeApp::OnImportAudioFile() {
    std::optional<std::string> path = GetUi().AskOpenFile(
        {"Import Audio File", "Audio Files",
         "*.wav;*.aif;*.aiff;*.aifc;*.flac;*.ogg;*.oga;*.opus;*.au;*.snd;*.caf;*.w64;*.rf64;*.voc;*.mp3",
         true, m_preferences.sampleRoot});
    const EditorFactory* editor = path ? EditorFor(DocumentKind::Wave) : nullptr;
    if (!editor)
        return;
    std::unique_ptr<CDocument> document = editor->createDocument();
    auto* sample = dynamic_cast<CSampleDoc*>(document.get());
    if (!sample || !ImportAudioFile(*sample, *path))
        return;
    // Untitled, so that Save asks for a name and never writes over the source in its own form.
    document->SetTitle(std::filesystem::path(*path).stem().string());
    document->SetModifiedFlag();
    AddChild(editor->createFrame(std::move(document)));
}

void CWloeApp::EditPreferences() {
    CPreferencesDialog dialog(m_preferences, m_pMainFrame.get());
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_preferences.Apply(dialog.Entered(), m_settings);
    CUndoHistory::SetDefaultBudget(m_preferences.UndoBudget());
    for (CChildFrame* child : m_pMainFrame->Children())
        child->Document().History().SetBudget(m_preferences.UndoBudget());
}

void CWloeApp::ShowHelp(std::optional<DocumentKind> context) {
    GetShell().OpenHelp(m_paths.helpFile, context ? KindName(*context) + "-editor" : std::string());
}

bool CWloeApp::CloseAllDocuments() {
    for (CChildFrame* child : m_pMainFrame->Children())
        if (!child->SaveModified())
            return false;
    for (CChildFrame* child : m_pMainFrame->Children()) {
        child->Document().SetModifiedFlag(false);
        child->close();
    }
    return true;
}
