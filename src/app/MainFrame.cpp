#include "app/MainFrame.h"
#include "app/QtUi.h"

#include "app/Artwork.h"
#include "app/ChildFrame.h"
#include "app/CommandKeys.h"
#include "app/SplashWnd.h"
#include "app/WloeApp.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include <memory>

CMainFrame::CMainFrame(CWloeApp& app) : m_app(app), m_pMdiArea(new QMdiArea(this)) {
    setWindowTitle(kProgramTitle);
    setWindowIcon(ProgramIcon());
    setGeometry(25, 25, 750, 550);
    setCentralWidget(m_pMdiArea);
    // Files dropped from a file manager open as File Open would open them.
    setAcceptDrops(true);
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, [this] {
        RebuildMenus();
        UpdateCaption();
    });
    BindCommandKeys(this, Accelerators(), Qt::ApplicationShortcut, [this](Command command) {
        // Nothing starts while a modal dialog (the progress of long work) is up.
        if (!QApplication::activeModalWidget() && IsEnabled(command))
            Execute(command);
    });
    RebuildMenus();
}

CMainFrame::~CMainFrame() {
    // Children die after this frame's own members: their activation must not call back into it.
    m_pMdiArea->disconnect(this);
    if (m_pSplash)
        m_pSplash->disconnect(this);
}

CChildFrame* CMainFrame::ActiveChild() const {
    return qobject_cast<CChildFrame*>(m_pMdiArea->activeSubWindow());
}

QList<CChildFrame*> CMainFrame::Children() const {
    QList<CChildFrame*> children;
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList())
        if (auto* child = qobject_cast<CChildFrame*>(window))
            children.push_back(child);
    return children;
}

void CMainFrame::AddChild(CChildFrame* child) {
    m_pMdiArea->addSubWindow(child);
    // Save As renames the document: the main caption follows.
    connect(child, &QWidget::windowTitleChanged, this, [this] { UpdateCaption(); });
    child->show();
    m_pMdiArea->setActiveSubWindow(child);
    RebuildMenus();
    UpdateCaption();
}

void CMainFrame::Execute(Command command) {
    if (CChildFrame* child = ActiveChild(); child && child->OnCommand(command))
        return;
    if (OnFrameCommand(command))
        return;
    m_app.OnCommand(command);
}

bool CMainFrame::IsEnabled(Command command) const {
    if (CChildFrame* child = ActiveChild(); child && child->IsCommandEnabled(command))
        return true;
    switch (command) {
    case Command::Cascade:
    case Command::Tile:
    case Command::ArrangeIcons:
    case Command::Help:
    case Command::HelpTopics:
    case Command::NextPane:
    case Command::PreviousPane:
        return true;
    default:
        return m_app.HandlesCommand(command);
    }
}

bool CMainFrame::OnFrameCommand(Command command) {
    switch (command) {
    case Command::Cascade:
        m_pMdiArea->cascadeSubWindows();
        return true;
    case Command::Tile:
        m_pMdiArea->tileSubWindows();
        return true;
    case Command::ArrangeIcons:
        // Minimized children line up along the bottom edge.
        for (QMdiSubWindow* window : m_pMdiArea->subWindowList())
            if (window->isMinimized())
                window->showMinimized();
        return true;
    case Command::Help: {
        CChildFrame* child = ActiveChild();
        m_app.ShowHelp(child ? std::optional<DocumentKind>(child->Kind()) : std::nullopt);
        return true;
    }
    case Command::HelpTopics:
        m_app.ShowHelp(std::nullopt);
        return true;
    case Command::NextPane:
    case Command::PreviousPane:
        if (CChildFrame* child = ActiveChild())
            child->FocusNextPane(command == Command::NextPane);
        return true;
    default:
        return false;
    }
}

void CMainFrame::RebuildMenus() {
    CChildFrame* child = ActiveChild();
    QMenuBar* bar = menuBar();
    bar->clear();
    for (const Menu& definition :
         MenuBarFor(child ? std::optional<DocumentKind>(child->Kind()) : std::nullopt)) {
        QMenu* menu = bar->addMenu(QString::fromStdString(definition.title));
        FillMenu(menu, definition);
    }
}

void CMainFrame::FillMenu(QMenu* menu, const Menu& definition) {
    for (const MenuItem& item : definition.items) {
        if (item.command == Command::Separator) {
            menu->addSeparator();
            continue;
        }
        if (item.command == Command::RecentFiles) {
            AddRecentFiles(menu);
            continue;
        }
        QAction* action = menu->addAction(QString::fromStdString(item.text));
        Command command = item.command;
        action->setData(static_cast<int>(command));
        action->setStatusTip(
            QString::fromStdString(PromptFor(command).substr(0, PromptFor(command).find('\n'))));
        connect(action, &QAction::triggered, this, [this, command] { Execute(command); });
        connect(action, &QAction::hovered, this, [this, command] { ShowPrompt(command); });
    }
    // Once the menu closes the prompt of its last highlighted item no longer applies.
    connect(menu, &QMenu::aboutToHide, this, [this] {
        if (CChildFrame* child = ActiveChild(); child && child->PromptBar())
            child->PromptBar()->clearMessage();
    });
    // Enabling and check marks follow the active window each time the menu opens.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        CChildFrame* child = ActiveChild();
        for (QAction* action : menu->actions()) {
            if (!action->data().isValid())
                continue;
            auto command = static_cast<Command>(action->data().toInt());
            if (child && (command == Command::Undo || command == Command::Redo)) {
                const CUndoHistory& history = child->Document().History();
                action->setText(QString::fromStdString(command == Command::Undo
                                                           ? UndoMenuText(history.UndoName())
                                                           : RedoMenuText(history.RedoName())));
            }
            action->setEnabled(IsEnabled(command));
            bool checked = child && child->IsCommandChecked(command);
            action->setCheckable(checked);
            action->setChecked(checked);
        }
    });
}

void CMainFrame::AddRecentFiles(QMenu* menu) {
    const auto& files = m_app.Recent().Files();
    if (files.empty()) {
        menu->addAction("Recent File")->setEnabled(false);
        return;
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        QString path = QString::fromStdString(files[i]);
        QAction* action = menu->addAction(QString("&%1 %2").arg(i + 1).arg(path));
        action->setStatusTip(QString::fromStdString(PromptFor(Command::RecentFiles)));
        connect(action, &QAction::triggered, this,
                [this, path] { m_app.OpenDocumentFile(path.toStdString()); });
    }
}

void CMainFrame::ShowPrompt(Command command) {
    CChildFrame* child = ActiveChild();
    QStatusBar* bar = child ? child->PromptBar() : nullptr;
    if (!bar)
        return;
    std::string prompt = PromptFor(command);
    bar->showMessage(QString::fromStdString(prompt.substr(0, prompt.find('\n'))));
}

bool CMainFrame::ShowNote(const std::string& text) {
    CChildFrame* child = ActiveChild();
    QStatusBar* bar = child ? child->PromptBar() : nullptr;
    if (!bar || !bar->isVisible())
        return false;
    // The pane may be narrower than the note: the whole of it shows on hovering.
    bar->showMessage(QString::fromStdString(text));
    bar->setToolTip(QString::fromStdString(text));
    // Until the next message replaces it.
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(bar, &QStatusBar::messageChanged, bar, [bar, connection](const QString&) {
        bar->setToolTip(QString());
        disconnect(*connection);
    });
    return true;
}

void CMainFrame::UpdateCaption() {
    CChildFrame* child = ActiveChild();
    setWindowTitle(child ? QString("%1 - [%2]").arg(kProgramTitle, child->windowTitle())
                         : QString(kProgramTitle));
}

void CMainFrame::ShowSplash() {
    if (m_pSplash)
        return;
    m_pSplash = new CSplashWnd(this);
    // The splash's own timer closes it too: forget it and repaint then.
    connect(m_pSplash, &QObject::destroyed, this, [this] {
        m_pSplash = nullptr;
        repaint();
    });
    m_pSplash->show();
    m_pSplash->repaint();
}

void CMainFrame::CloseSplash() {
    if (!m_pSplash)
        return;
    // Deleted later: the press that closes it may be on its way to it.
    m_pSplash->disconnect(this);
    m_pSplash->close();
    m_pSplash = nullptr;
    repaint();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!m_app.CloseAllDocuments()) {
        event->ignore();
        return;
    }
    m_app.RememberWindowGeometry();
    QMainWindow::closeEvent(event);
}

QStringList CMainFrame::DroppedFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dragMoveEvent(QDragMoveEvent* event) {
    if (!DroppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    QStringList files = DroppedFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    std::vector<std::string> paths;
    for (const QString& file : files)
        paths.push_back(file.toStdString());
    // Opened once the drop is over: a message about a file must not hold the file manager's drag.
    QTimer::singleShot(0, this, [this, paths] { m_app.OpenDocumentFiles(paths); });
}
