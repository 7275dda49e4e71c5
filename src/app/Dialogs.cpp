#include "app/Dialogs.h"

#include "app/Artwork.h"
#include "platform/DialogValidation.h"
#include "platform/Ui.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CPreferencesDialog::CPreferencesDialog(const Preferences& current, QWidget* parent)
    : QDialog(parent), m_pRoot(new QLineEdit(QString::fromStdString(current.sampleRoot))),
      m_pMinLoop(new QLineEdit(QString::number(current.minLoopPlay))),
      m_pUndoMemory(new QLineEdit(QString::number(current.undoMemoryMb))), m_entered(current) {
    setWindowTitle("Preferences");
    auto* form = new QFormLayout;
    form->addRow("Root directory for samples", m_pRoot);
    form->addRow("Minimum loop on playback", m_pMinLoop);
    form->addRow("Memory for undo (MB)", m_pUndoMemory);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPreferencesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPreferencesDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    m_pRoot->setMinimumWidth(280);
}

void CPreferencesDialog::accept() {
    auto minLoop = ValidateUnsigned(m_pMinLoop->text().toStdString());
    if (auto* message = std::get_if<std::string>(&minLoop)) {
        GetUi().Message(*message, MessageIcon::Exclamation);
        m_pMinLoop->setFocus();
        m_pMinLoop->selectAll();
        return;
    }
    auto undoMemory = ValidateInteger(m_pUndoMemory->text().toStdString(), 1, 1048576);
    if (auto* message = std::get_if<std::string>(&undoMemory)) {
        GetUi().Message(*message, MessageIcon::Exclamation);
        m_pUndoMemory->setFocus();
        m_pUndoMemory->selectAll();
        return;
    }
    m_entered.undoMemoryMb = static_cast<std::uint32_t>(std::get<long long>(undoMemory));
    m_entered.sampleRoot = m_pRoot->text().toStdString();
    m_entered.minLoopPlay = std::get<std::uint32_t>(minLoop);
    QDialog::accept();
}

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About Wavelith Object Editor");
    auto* icon = new QLabel;
    icon->setPixmap(ProgramIcon().pixmap(48, 48));
    auto* text = new QVBoxLayout;
    text->addWidget(new QLabel("Wavelith Object Editor"));
    text->addWidget(new QLabel("Version 1.0 beta 6"));
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addLayout(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

std::optional<ReparentRoots> AskReparentRoots(QWidget* parent, const ReparentRoots& initial) {
    QDialog dialog(parent);
    dialog.setWindowTitle("Reparent File Pointers");
    auto* layout = new QFormLayout(&dialog);
    auto* oldRoot = new QLineEdit(QString::fromStdString(initial.oldRoot), &dialog);
    auto* newRoot = new QLineEdit(QString::fromStdString(initial.newRoot), &dialog);
    layout->addRow("Old Root", oldRoot);
    layout->addRow("New Root", newRoot);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return ReparentRoots{oldRoot->text().toStdString(), newRoot->text().toStdString()};
}
