#pragma once

#include "app/Commands.h"
#include "app/SplashWnd.h"

#include <QMainWindow>

class CChildFrame;
class CWloeApp;
class QMdiArea;
class QMenu;
class QMimeData;

// The program's one top-level window: the child windows of the editors, the menu bar of the
// active child's kind, the keyboard accelerators, and the splash screen.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(CWloeApp& app);
    ~CMainFrame() override;

    QMdiArea* MdiArea() const { return m_pMdiArea; }
    CChildFrame* ActiveChild() const;
    QList<CChildFrame*> Children() const;
    void AddChild(CChildFrame* child);

    // Routes a command: the active child first, then this frame, then the application.
    void Execute(Command command);
    bool IsEnabled(Command command) const;

    void ShowSplash();
    CSplashWnd* Splash() const { return m_pSplash; }
    void CloseSplash();

    // The menu bar again, for the active child's kind (after the recent files changed, too).
    void RebuildMenus();
    // A note in the active child's status bar; false when there is none to show it.
    bool ShowNote(const std::string& text);

    // The local files a drag carries; none when it carries something else.
    static QStringList DroppedFiles(const QMimeData* data);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool OnFrameCommand(Command command);
    void FillMenu(QMenu* menu, const Menu& definition);
    void AddRecentFiles(QMenu* menu);
    void ShowPrompt(Command command);
    void UpdateCaption();

    CWloeApp& m_app;
    QMdiArea* m_pMdiArea;
    CSplashWnd* m_pSplash = nullptr;
};
