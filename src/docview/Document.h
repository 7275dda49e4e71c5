#pragma once

#include "docview/UndoHistory.h"

#include <string>
#include <vector>

class CObjectArchive;
class CDocument;

// Something that shows a document and redraws when told.
class CView {
public:
    virtual ~CView();
    // `hint` says what changed (0: anything).
    virtual void OnUpdate(CView* sender, long hint) = 0;
};

// The base of every document: its path and title, the modified flag, the views that show it, and
// the framework's archive form of opening and saving.
class CDocument {
public:
    CDocument();
    virtual ~CDocument();
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    const std::string& GetPathName() const { return m_strPathName; }
    // Sets the path and makes the title its file name.
    void SetPathName(const std::string& path);
    const std::string& GetTitle() const { return m_strTitle; }
    void SetTitle(const std::string& title) { m_strTitle = title; }

    bool IsModified() const { return m_bModified; }
    // Clearing the flag also marks the history's present position as the state of the file.
    void SetModifiedFlag(bool modified = true);

    // The changes that can be taken back. Undo and Redo exchange one step, make the modified flag
    // follow the clean point, and tell every view; false when there was nothing to exchange.
    CUndoHistory& History() { return m_history; }
    const CUndoHistory& History() const { return m_history; }
    bool Undo();
    bool Redo();
    // A command's edit begins: true for the outermost, the one that records the step.
    bool BeginEdit() { return m_nOpenEdits++ == 0; }
    void EndEdit() { --m_nOpenEdits; }

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return m_views; }
    // Tells every view but `sender` to update.
    void UpdateAllViews(CView* sender, long hint = 0);

    virtual bool OnNewDocument();
    // The archive form: reads the file whole and calls Serialize; on failure shows the message
    // for the cause and returns false, the document's contents then being discarded.
    virtual bool OnOpenDocument(const std::string& path);
    // The archive form: Serialize into memory, then replace the file only when all was written.
    virtual bool OnSaveDocument(const std::string& path);
    virtual void Serialize(CObjectArchive& ar);
    // Empties the document's contents (before loading, and after a failed load).
    virtual void DeleteContents();

protected:
    // Heard before the views are told of a change: what a document keeps beside its contents
    // (caches, summaries) is brought up to date here.
    virtual void OnUpdatingViews(long hint);
    // Heard before a step of the history is exchanged: whatever reads the contents in place lets
    // go of them here.
    virtual void OnHistoryStepping() {}

private:
    bool ExchangeStep(bool undo);

    CUndoHistory m_history;
    int m_nOpenEdits = 0;
    std::string m_strPathName;
    std::string m_strTitle;
    bool m_bModified = false;
    std::vector<CView*> m_views;
};

// The file name of a path; a backslash counts as a separator too, for paths written on Windows.
std::string FileNameOf(const std::string& path);
