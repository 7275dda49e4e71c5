#pragma once

#include "platform/Shell.h"
#include "platform/Ui.h"
#include "ui/QtDialogs.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>
#include <QWidget>

// The editor's Ui: message boxes, questions, the wait cursor with a progress bar for long work,
// and the dialogs that operations ask for.
class QtUi : public Ui {
public:
    void SetParent(QWidget* parent) { m_pParent = parent; }

    void Message(const std::string& text, MessageIcon icon) override;
    Answer Ask(const std::string& text, AskButtons buttons, MessageIcon icon) override;
    void Beep() override;
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

// Opens reports and the manual with the desktop's viewer.
class QtShell : public Shell {
public:
    void OpenForReading(const std::string& path) override;
    void OpenHelp(const std::string& path, const std::string& topic) override;
};

// The title of every message box.
inline constexpr const char* kProgramTitle = "Wavelith Object Editor";
