#include "app/QtUi.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
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

void QtShell::OpenForReading(const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

void QtShell::OpenHelp(const std::string& path, const std::string& topic) {
    QUrl url = QUrl::fromLocalFile(QString::fromStdString(path));
    if (!topic.empty())
        url.setFragment(QString::fromStdString(topic));
    QDesktopServices::openUrl(url);
}
