#pragma once

#include "platform/Shell.h"
#include "platform/Ui.h"
#include "ui/QtDialogs.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>
#include <QUrl>
#include <QWidget>

#include <functional>

// The editor's Ui: message boxes, questions, the wait cursor with a progress bar for long work,
// and the dialogs that operations ask for.
class QtUi : public Ui {
public:
    void SetParent(QWidget* parent) { m_pParent = parent; }

    void Message(const std::string& text, MessageIcon icon) override;
    Answer Ask(const std::string& text, AskButtons buttons, MessageIcon icon) override;
    void Beep() override;
    // In the active window's status bar where there is one.
    void Note(const std::string& text) override;
    void BeginBusy() override;
    void BusyProgress(double fraction) override;
    void EndBusy() override;
    void BeginCancellableBusy() override;
    bool BusyCancelled() override;
    // The progress dialog of long work, once it shows.
    QProgressDialog* ProgressDialog() const { return m_pProgress; }
    std::optional<std::string> AskSaveFile(const SaveFileRequest& request) override;
    std::optional<std::string> AskOpenFile(const OpenFileRequest& request) override;

    // The dialogs that answer typed requests; each editor registers its own.
    QtDialogs& Dialogs() { return m_dialogs; }

protected:
    std::optional<std::any> AskDialogValues(const std::any& initial) override;

private:
    QtDialogs m_dialogs;
    QPointer<QWidget> m_pParent;
    int m_nBusyDepth = 0;
    // The depth of the busy pair that may be cancelled; 0: none open.
    int m_nCancellableDepth = 0;
    bool m_bInEvents = false;
    QElapsedTimer m_busyTime;
    QElapsedTimer m_eventTime;
    QProgressDialog* m_pProgress = nullptr;
};

class CHelpWindow;

// Opens reports and the manual with the desktop's viewer; the manual in a window of our own when
// the desktop has no viewer for it.
class QtShell : public Shell {
public:
    // `openUrl` hands a file to the desktop and says whether that worked.
    explicit QtShell(std::function<bool(const QUrl&)> openUrl = OpenWithDesktop);

    // QDesktopServices::openUrl, but a page is refused when the desktop has no program for pages:
    // xdg-open would then put it in a text editor, or nowhere, and still report success.
    static bool OpenWithDesktop(const QUrl& url);
    ~QtShell() override;

    void OpenForReading(const std::string& path) override;
    void OpenHelp(const std::string& path, const std::string& topic) override;

    CHelpWindow* HelpWindow() const;

private:
    std::function<bool(const QUrl&)> m_openUrl;
    QPointer<CHelpWindow> m_pHelpWindow;
};

// The title of every message box.
inline constexpr const char* kProgramTitle = "Wavelith Object Editor";
