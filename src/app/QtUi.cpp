#include "app/QtUi.h"

#include "app/HelpWindow.h"
#include "app/MainFrame.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {
QMessageBox::Icon ToQt(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::None:
        return QMessageBox::NoIcon;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// Long work shows a progress bar only once it has run this long.
constexpr qint64 kProgressDelayMs = 500;
// While it runs the windows repaint this often.
constexpr qint64 kEventIntervalMs = 40;
} // namespace

void QtUi::Message(const std::string& text, MessageIcon icon) {
    QMessageBox box(ToQt(icon), kProgramTitle, QString::fromStdString(text), QMessageBox::Ok, m_pParent);
    box.exec();
}

Answer QtUi::Ask(const std::string& text, AskButtons buttons, MessageIcon icon) {
    QMessageBox::StandardButtons qtButtons =
        buttons == AskButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
        : buttons == AskButtons::YesNo  ? QMessageBox::Yes | QMessageBox::No
                                        : QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    QMessageBox box(ToQt(icon), kProgramTitle, QString::fromStdString(text), qtButtons, m_pParent);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void QtUi::Beep() {
    QApplication::beep();
}

void QtUi::BeginBusy() {
    if (m_nBusyDepth++ == 0) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_busyTime.start();
        m_eventTime.start();
    }
}

void QtUi::BeginCancellableBusy() {
    BeginBusy();
    if (m_nCancellableDepth == 0)
        m_nCancellableDepth = m_nBusyDepth;
}

bool QtUi::BusyCancelled() {
    return m_nCancellableDepth != 0 && m_pProgress && m_pProgress->wasCanceled();
}

void QtUi::BusyProgress(double fraction) {
    // Progress reported from an event handled below waits for the outer report to return.
    if (m_nBusyDepth == 0 || m_bInEvents)
        return;
    if (!m_pProgress && m_busyTime.elapsed() >= kProgressDelayMs) {
        const bool cancellable = m_nCancellableDepth != 0;
        m_pProgress =
            new QProgressDialog(QString(), cancellable ? QString("Cancel") : QString(), 0, 1000, m_pParent);
        m_pProgress->setObjectName("BusyProgress");
        m_pProgress->setWindowTitle(kProgramTitle);
        // Wide enough for the title bar to show the program's name.
        m_pProgress->setMinimumWidth(360);
        m_pProgress->setWindowModality(Qt::ApplicationModal);
        m_pProgress->setMinimumDuration(0);
        // A Cancel must still be seen when the last block reports 100 %.
        m_pProgress->setAutoReset(false);
        m_pProgress->setAutoClose(false);
        m_pProgress->show();
    }
    if (m_pProgress)
        m_pProgress->setValue(static_cast<int>(fraction * 1000));
    if (m_eventTime.elapsed() < kEventIntervalMs)
        return;
    m_eventTime.restart();
    m_bInEvents = true;
    // The modal progress dialog keeps the clicks from the windows behind it; until it shows, no
    // input is taken at all, so no command can start inside this one.
    QApplication::processEvents(m_pProgress ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    m_bInEvents = false;
}

void QtUi::EndBusy() {
    if (m_nBusyDepth == 0)
        return;
    if (m_nBusyDepth == m_nCancellableDepth)
        m_nCancellableDepth = 0;
    if (--m_nBusyDepth != 0)
        return;
    delete m_pProgress;
    m_pProgress = nullptr;
    QApplication::restoreOverrideCursor();
}

std::optional<std::string> QtUi::AskSaveFile(const SaveFileRequest& request) {
    QFileDialog dialog(m_pParent, QString::fromStdString(request.title), QString(),
                       QString::fromStdString(request.filter.substr(0, request.filter.find(" (")) + " (" +
                                              request.pattern + ")"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension).toLower());
    dialog.selectFile(QString::fromStdString(request.proposedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

void QtUi::Note(const std::string& text) {
    auto* frame = dynamic_cast<CMainFrame*>(m_pParent.data());
    if (!frame || !frame->ShowNote(text))
        Message(text, MessageIcon::Information);
}

std::optional<std::string> QtUi::AskOpenFile(const OpenFileRequest& request) {
    // Qt separates a filter's patterns with spaces.
    QString patterns = QString::fromStdString(request.pattern).replace(';', ' ');
    QFileDialog dialog(
        m_pParent, QString::fromStdString(request.title), QString::fromStdString(request.directory),
        QString::fromStdString(request.filter.substr(0, request.filter.find(" (")) + " (") + patterns + ")");
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

std::optional<std::any> QtUi::AskDialogValues(const std::any& initial) {
    if (!m_dialogs.Has(initial.type())) {
        Message("Internal error: no dialog answers this request", MessageIcon::Error);
        return std::nullopt;
    }
    return m_dialogs.Show(m_pParent, initial);
}

namespace {
// Asks the desktop which program shows web pages; with xdg-utils absent there is nobody to ask, and
// Qt says itself when it finds no launcher.
bool DesktopHasPageViewer() {
    const QString xdgMime = QStandardPaths::findExecutable("xdg-mime");
    if (xdgMime.isEmpty())
        return true;
    QProcess query;
    query.start(xdgMime, {"query", "default", "text/html"});
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished();
        return false;
    }
    return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}
} // namespace

bool QtShell::OpenWithDesktop(const QUrl& url) {
    if (url.path().endsWith(".html", Qt::CaseInsensitive) && !DesktopHasPageViewer())
        return false;
    return QDesktopServices::openUrl(url);
}

QtShell::QtShell(std::function<bool(const QUrl&)> openUrl) : m_openUrl(std::move(openUrl)) {}

QtShell::~QtShell() {
    delete m_pHelpWindow;
}

void QtShell::OpenForReading(const std::string& path) {
    if (!m_openUrl(QUrl::fromLocalFile(QString::fromStdString(path))))
        GetUi().Message("No program on this desktop opens " + path + ".", MessageIcon::Information);
}

void QtShell::OpenHelp(const std::string& path, const std::string& topic) {
    if (!QFileInfo::exists(QString::fromStdString(path))) {
        GetUi().Message("The manual " + path + " cannot be found.", MessageIcon::Exclamation);
        return;
    }
    QUrl url = QUrl::fromLocalFile(QString::fromStdString(path));
    if (!topic.empty())
        url.setFragment(QString::fromStdString(topic));
    if (m_openUrl(url))
        return;
    if (!m_pHelpWindow)
        m_pHelpWindow = new CHelpWindow;
    m_pHelpWindow->ShowPage(url);
}

CHelpWindow* QtShell::HelpWindow() const {
    return m_pHelpWindow;
}
