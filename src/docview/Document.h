#pragma once

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
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

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

private:
    std::string m_strPathName;
    std::string m_strTitle;
    bool m_bModified = false;
    std::vector<CView*> m_views;
};

// The file name of a path; a backslash counts as a separator too, for paths written on Windows.
std::string FileNameOf(const std::string& path);
