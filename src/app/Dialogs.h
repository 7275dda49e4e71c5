#pragma once

#include "app/Preferences.h"
#include "layer/ReparentDialog.h"

#include <QDialog>

#include <optional>

class QLineEdit;

// "Preferences": the sample root and the minimum loop on playback. OK checks the number with
// the dialog framework's message and keeps the dialog open when it is not an unsigned integer.
class CPreferencesDialog : public QDialog {
    Q_OBJECT
public:
    CPreferencesDialog(const Preferences& current, QWidget* parent);
    Preferences Entered() const { return m_entered; }
    QLineEdit* RootField() const { return m_pRoot; }
    QLineEdit* MinLoopField() const { return m_pMinLoop; }
    QLineEdit* UndoMemoryField() const { return m_pUndoMemory; }

public slots:
    void accept() override;

private:
    QLineEdit* m_pRoot;
    QLineEdit* m_pMinLoop;
    QLineEdit* m_pUndoMemory;
    Preferences m_entered;
};

// "About Wavelith Object Editor".
class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(QWidget* parent);
};

// "Reparent File Pointers": the old and the new root, or nothing on Cancel.
std::optional<ReparentRoots> AskReparentRoots(QWidget* parent, const ReparentRoots& initial);
