#include "docview/Document.h"

#include "archive/ObjectArchive.h"
#include "platform/FileIo.h"
#include "platform/Ui.h"

#include <algorithm>
#include <new>

CView::~CView() = default;

CDocument::CDocument() = default;

CDocument::~CDocument() = default;

std::string FileNameOf(const std::string& path) {
    std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void CDocument::SetPathName(const std::string& path) {
    m_strPathName = path;
    m_strTitle = FileNameOf(path);
}

void CDocument::SetModifiedFlag(bool modified) {
    m_bModified = modified;
    if (!modified)
        m_history.MarkClean();
}

bool CDocument::Undo() {
    return ExchangeStep(true);
}

bool CDocument::Redo() {
    return ExchangeStep(false);
}

bool CDocument::ExchangeStep(bool undo) {
    if (undo ? !m_history.CanUndo() : !m_history.CanRedo())
        return false;
    OnHistoryStepping();
    std::optional<long> hint = undo ? m_history.Undo() : m_history.Redo();
    m_bModified = !m_history.IsClean();
    UpdateAllViews(nullptr, hint.value_or(0));
    return true;
}

void CDocument::AddView(CView* view) {
    if (std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void CDocument::RemoveView(CView* view) {
    std::erase(m_views, view);
}

void CDocument::OnUpdatingViews(long) {}

void CDocument::UpdateAllViews(CView* sender, long hint) {
    OnUpdatingViews(hint);
    // A view may detach itself while updating.
    std::vector<CView*> views = m_views;
    for (CView* view : views)
        if (view != sender)
            view->OnUpdate(sender, hint);
}

bool CDocument::OnNewDocument() {
    m_history.Clear();
    DeleteContents();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnOpenDocument(const std::string& path) {
    FileContents file = ReadWholeFile(path);
    if (file.error != FileErrorCause::None) {
        GetUi().Message(FileErrorText(file.error, path), MessageIcon::Exclamation);
        return false;
    }
    m_history.Clear();
    DeleteContents();
    try {
        CObjectArchive ar(std::move(file.bytes));
        Serialize(ar);
    } catch (const CArchiveException&) {
        DeleteContents();
        GetUi().Message("Unexpected file format.", MessageIcon::Exclamation);
        return false;
    } catch (const std::bad_alloc&) {
        DeleteContents();
        GetUi().Message("Failed to open document.", MessageIcon::Exclamation);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const std::string& path) {
    CObjectArchive ar;
    try {
        Serialize(ar);
    } catch (const std::exception&) {
        GetUi().Message("Failed to save document.", MessageIcon::Exclamation);
        return false;
    }
    AtomicFileWriter writer(path);
    if (!writer.Open() || !writer.Write(ar.Bytes()) || !writer.Commit()) {
        GetUi().Message(FileErrorText(writer.Error(), path), MessageIcon::Exclamation);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

void CDocument::Serialize(CObjectArchive&) {}

void CDocument::DeleteContents() {}
