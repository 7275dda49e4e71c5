#include "app/ChildFrame.h"

#include "platform/FileIo.h"
#include "platform/Ui.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>

CChildFrame::CChildFrame(DocumentKind kind, std::unique_ptr<CDocument> document, QWidget* parent)
    : QMdiSubWindow(parent), m_kind(kind), m_pDocument(std::move(document)) {
    setAttribute(Qt::WA_DeleteOnClose);
    // Ctrl+W is the program's Close, which the main window binds; the window's own menu would make
    // it ambiguous.
    for (QAction* action : systemMenu()->actions())
        action->setShortcuts({});
    UpdateCaption();
}

CChildFrame::~CChildFrame() = default;

bool CChildFrame::OnCommand(Command command) {
    switch (command) {
    case Command::Close:
        close();
        return true;
    case Command::Save:
        Save(false);
        return true;
    case Command::SaveAs:
        Save(true);
        return true;
    case Command::Undo:
        m_pDocument->Undo();
        return true;
    case Command::Redo:
        m_pDocument->Redo();
        return true;
    default:
        return false;
    }
}

bool CChildFrame::IsCommandEnabled(Command command) const {
    if (command == Command::Undo)
        return m_pDocument->History().CanUndo();
    if (command == Command::Redo)
        return m_pDocument->History().CanRedo();
    return command == Command::Close || command == Command::Save || command == Command::SaveAs;
}

bool CChildFrame::IsCommandChecked(Command) const {
    return false;
}

void CChildFrame::FocusNextPane(bool) {}

void CChildFrame::UpdateCaption() {
    setWindowTitle(QString::fromStdString(m_pDocument->GetTitle()));
}

bool CChildFrame::Save(bool askForPath) {
    std::string path = m_pDocument->GetPathName();
    // A protected file is not replaced: say so, and offer another name.
    if (!askForPath && !path.empty() && IsReadOnlyFile(path)) {
        GetUi().Message(FileErrorText(FileErrorCause::ReadOnly, path), MessageIcon::Exclamation);
        askForPath = true;
    }
    if (askForPath || path.empty()) {
        const DocumentDescriptor& descriptor = KindInfo(m_kind).descriptor;
        std::optional<std::string> chosen = GetUi().AskSaveFile(
            {"Save As", descriptor.filterName, "*" + descriptor.filterExtension,
             descriptor.filterExtension.substr(1),
             ProposedSavePath(m_pDocument->GetTitle(), path, descriptor.filterExtension)});
        if (!chosen)
            return false;
        path = *chosen;
    }
    if (!m_pDocument->OnSaveDocument(path))
        return false;
    m_pDocument->SetPathName(path);
    UpdateCaption();
    emit DocumentSaved(QString::fromStdString(path));
    return true;
}

bool CChildFrame::SaveModified() {
    OfferToKeepViewChanges();
    if (!m_pDocument->IsModified())
        return true;
    switch (GetUi().Ask("Save changes to " + m_pDocument->GetTitle() + "?", AskButtons::YesNoCancel,
                        MessageIcon::Exclamation)) {
    case Answer::Yes:
        return Save(false);
    case Answer::No:
        return true;
    default:
        return false;
    }
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (!SaveModified()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}
