#pragma once

#include "docview/Document.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CLayer;
class CLayerDoc;
class CLayerParams;
class CPatch;
class CPatchDoc;
class CSample;

// One item of the patch tree. Its kind is told by its image.
struct PatchTreeItem {
    enum Image : int { kPatch = 0, kLayer = 1, kSample = 2, kMissingLayer = 4 };
    int image = kPatch;
    std::string text; // UTF-8
    CPatch* patch = nullptr;
    CLayerParams* layer = nullptr;
    const CSample* sample = nullptr;
    std::vector<PatchTreeItem> children;
};

// Where an item sits: the index of its patch among the root items, of its layer under the patch,
// of its sample under the layer; -1 below the item's own level. No patch: nothing selected.
struct TreePath {
    int patch = -1;
    int layer = -1;
    int sample = -1;
    bool IsEmpty() const { return patch < 0; }
    bool operator==(const TreePath&) const = default;
};

// The patch tree without its window: the items of the bank's patches, their layers and the
// samples each layer plays; the selection and the patch and layer it makes current; the four
// editing commands. It is a view of the document: an update it did not send rebuilds it.
class CPatchTreeModel : public CView {
public:
    static constexpr std::size_t kMaxItemText = 63;

    CPatchTreeModel(CPatchDoc& doc, const CLayerDoc& library);
    ~CPatchTreeModel() override;
    CPatchTreeModel(const CPatchTreeModel&) = delete;
    CPatchTreeModel& operator=(const CPatchTreeModel&) = delete;

    // Heard after every change of the items or of the selection, so the window follows.
    void SetChangedHandler(std::function<void()> handler) { m_onChanged = std::move(handler); }

    const std::vector<PatchTreeItem>& Items() const { return m_items; }
    // Counts the changes of the items (not of the selection): a window that shows them redraws
    // only when it moved.
    int Revision() const { return m_nRevision; }
    const PatchTreeItem* ItemAt(const TreePath& path) const;
    const TreePath& Selection() const { return m_selection; }
    // The image of the selected item, or -1.
    int SelectedImage() const;
    CPatch* CurrentPatch() const { return m_pCurrentPatch; }
    CLayerParams* CurrentLayer() const { return m_pCurrentLayer; }

    // The window's first showing: the items, then the first patch or its first child.
    void InitialUpdate();
    void Rebuild(long hint);
    void OnUpdate(CView* sender, long hint) override;
    // The user picked an item (or none): the current patch and layer follow, and the document's
    // other views are told.
    void Select(const TreePath& path);

    bool CanAddLayer() const;
    bool CanDeleteObject() const { return CanAddLayer(); }
    bool CanReplaceLayer() const;
    // Each true when the document changed.
    bool NewPatch();
    bool AddLayer();
    bool DeleteObject();
    bool ReplaceLayer();
    // The sound file a double click on the item opens: only sample items have one.
    std::optional<std::string> SampleFileAt(const TreePath& path) const;

private:
    PatchTreeItem MakeLayerItem(CLayerParams& params) const;
    void AddSampleItems(PatchTreeItem& item, const CLayer& layer) const;
    std::optional<std::string> ChooseLayer() const;
    void SelectAfterDeleting(TreePath path);
    void Changed();

    CPatchDoc& m_doc;
    const CLayerDoc& m_library;
    std::vector<PatchTreeItem> m_items;
    TreePath m_selection;
    CPatch* m_pCurrentPatch = nullptr;
    CLayerParams* m_pCurrentLayer = nullptr;
    std::function<void()> m_onChanged;
    int m_nRevision = 0;
};
