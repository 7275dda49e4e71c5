#pragma once

#include "app/Commands.h"
#include "docview/Document.h"

#include <QMdiSubWindow>

#include <memory>

class QStatusBar;

// A child window of the main frame, owning the document it shows. Each editor derives its frame
// from this and handles the commands of its menus.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    CChildFrame(DocumentKind kind, std::unique_ptr<CDocument> document, QWidget* parent = nullptr);
    ~CChildFrame() override;

    DocumentKind Kind() const { return m_kind; }
    CDocument& Document() const { return *m_pDocument; }

    // The editor's own commands: true when handled.
    virtual bool OnCommand(Command command);
    // Commands this window has no handler for are disabled.
    virtual bool IsCommandEnabled(Command command) const;
    virtual bool IsCommandChecked(Command command) const;
    // Where command prompts are shown, when the window has a status bar.
    virtual QStatusBar* PromptBar() const { return nullptr; }
    // F6 / Shift+F6 in a split window.
    virtual void FocusNextPane(bool forward);

    // Asks "Save changes to %1?" for a modified document: false when the user cancelled or saving
    // failed, so the window must stay.
    bool SaveModified();
    // Saves to the document's path, or asks for one first (Save As, or a new document).
    bool Save(bool askForPath);
    void UpdateCaption();

signals:
    void DocumentSaved(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    // Heard before the document is checked for changes: a view that edits a copy of part of the
    // document offers to write it back first.
    virtual void OfferToKeepViewChanges() {}

private:
    DocumentKind m_kind;
    std::unique_ptr<CDocument> m_pDocument;
};
