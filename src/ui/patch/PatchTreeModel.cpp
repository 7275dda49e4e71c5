#include "ui/patch/PatchTreeModel.h"

#include "docview/DocumentEdit.h"
#include "layer/LayerDoc.h"
#include "patch/PatchDoc.h"
#include "patch/SelectLayerValues.h"
#include "platform/TextEncoding.h"
#include "platform/Ui.h"

#include <algorithm>
#include <iterator>

namespace {
// Names are Windows-1252 bytes; the items show at most so many of them.
std::string ItemText(const std::string& name) {
    return Cp1252ToUtf8(name.substr(0, CPatchTreeModel::kMaxItemText));
}

std::string PatchText(const CPatch& patch) {
    return std::to_string(patch.m_nNumber) + " " + Cp1252ToUtf8(patch.m_strName);
}

bool IsLayerImage(int image) {
    return image == PatchTreeItem::kLayer || image == PatchTreeItem::kMissingLayer;
}
} // namespace

CPatchTreeModel::CPatchTreeModel(CPatchDoc& doc, const CLayerDoc& library) : m_doc(doc), m_library(library) {
    m_doc.AddView(this);
}

CPatchTreeModel::~CPatchTreeModel() {
    m_doc.RemoveView(this);
}

const PatchTreeItem* CPatchTreeModel::ItemAt(const TreePath& path) const {
    if (path.patch < 0 || path.patch >= static_cast<int>(m_items.size()))
        return nullptr;
    const PatchTreeItem* item = &m_items[static_cast<std::size_t>(path.patch)];
    for (int index : {path.layer, path.sample}) {
        if (index < 0)
            return item;
        if (index >= static_cast<int>(item->children.size()))
            return nullptr;
        item = &item->children[static_cast<std::size_t>(index)];
    }
    return item;
}

int CPatchTreeModel::SelectedImage() const {
    const PatchTreeItem* item = ItemAt(m_selection);
    return item ? item->image : -1;
}

void CPatchTreeModel::AddSampleItems(PatchTreeItem& item, const CLayer& layer) const {
    // One item per run of keys playing the same entry; unmapped keys do not end a run.
    const CSample* previous = nullptr;
    for (std::uint16_t key = 0; key <= kHighestKey; ++key) {
        const CSample* entry = layer.LookupSample(key);
        if (!entry || entry == previous)
            continue;
        previous = entry;
        item.children.push_back(
            {PatchTreeItem::kSample, ItemText(entry->m_strName), nullptr, nullptr, entry, {}});
    }
}

PatchTreeItem CPatchTreeModel::MakeLayerItem(CLayerParams& params) const {
    PatchTreeItem item{
        PatchTreeItem::kMissingLayer, ItemText(params.m_strLayerName), nullptr, &params, nullptr, {}};
    if (const CLayer* layer = m_library.FindLayer(params.m_strLayerName)) {
        item.image = PatchTreeItem::kLayer;
        AddSampleItems(item, *layer);
    }
    return item;
}

void CPatchTreeModel::Rebuild(long hint) {
    ++m_nRevision;
    m_items.clear();
    m_selection = {};
    m_pCurrentPatch = nullptr;
    m_pCurrentLayer = nullptr;
    TreePath chosen;
    for (std::uint16_t number = 0; number < CPatchDoc::kPatchCount; ++number) {
        CPatch* patch = m_doc.FindPatch(number);
        if (!patch)
            continue;
        if (number == hint)
            chosen.patch = static_cast<int>(m_items.size());
        PatchTreeItem item{PatchTreeItem::kPatch, PatchText(*patch), patch, nullptr, nullptr, {}};
        for (const auto& params : patch->m_layers)
            item.children.push_back(MakeLayerItem(*params));
        m_items.push_back(std::move(item));
    }
    if (chosen.IsEmpty() && !m_items.empty())
        chosen.patch = 0;
    Select(chosen);
}

void CPatchTreeModel::InitialUpdate() {
    Rebuild(-1);
    if (!m_items.empty() && !m_items.front().children.empty())
        Select({0, 0, -1});
}

void CPatchTreeModel::OnUpdate(CView* sender, long hint) {
    if (sender != this)
        Rebuild(hint);
}

void CPatchTreeModel::Select(const TreePath& path) {
    m_selection = ItemAt(path) ? path : TreePath{};
    m_pCurrentPatch = nullptr;
    m_pCurrentLayer = nullptr;
    if (!m_selection.IsEmpty()) {
        // A sample stands for its layer, a layer for its patch.
        m_pCurrentPatch = m_items[static_cast<std::size_t>(m_selection.patch)].patch;
        if (m_selection.layer >= 0)
            m_pCurrentLayer = ItemAt({m_selection.patch, m_selection.layer, -1})->layer;
    }
    m_doc.UpdateAllViews(this);
    Changed();
}

void CPatchTreeModel::Changed() {
    if (m_onChanged)
        m_onChanged();
}

bool CPatchTreeModel::CanAddLayer() const {
    int image = SelectedImage();
    return image == PatchTreeItem::kPatch || IsLayerImage(image);
}

bool CPatchTreeModel::CanReplaceLayer() const {
    return IsLayerImage(SelectedImage());
}

bool CPatchTreeModel::NewPatch() {
    std::uint16_t start = 0;
    if (!m_selection.IsEmpty())
        start = m_items[static_cast<std::size_t>(m_selection.patch)].patch->m_nNumber;
    CDocumentEdit edit(m_doc, "New Patch");
    CPatch* patch = m_doc.NewPatch(start);
    if (!patch)
        return false;
    edit.SetHint(patch->m_nNumber);
    m_pCurrentPatch = patch;
    m_doc.UpdateAllViews(nullptr, patch->m_nNumber);
    if (m_items.empty() || m_items.front().image != PatchTreeItem::kPatch) {
        GetUi().Message("Internal error: unexpected item type while searching tree");
        return true;
    }
    auto found = std::find_if(m_items.begin(), m_items.end(),
                              [patch](const PatchTreeItem& item) { return item.patch == patch; });
    if (found == m_items.end()) {
        GetUi().Message("Internal error: can't find patch in tree");
        return true;
    }
    Select({static_cast<int>(std::distance(m_items.begin(), found)), -1, -1});
    m_doc.SetModifiedFlag();
    return true;
}

std::optional<std::string> CPatchTreeModel::ChooseLayer() const {
    SelectLayerValues values;
    m_library.Layers().ForEach(
        [&values](const std::string& name, const auto&) { values.names.push_back(name); });
    std::sort(values.names.begin(), values.names.end());
    std::optional<SelectLayerValues> answer = GetUi().AskDialog(values);
    if (!answer)
        return std::nullopt;
    return answer->chosen;
}

bool CPatchTreeModel::AddLayer() {
    if (!CanAddLayer())
        return false;
    std::optional<std::string> name = ChooseLayer();
    if (!name)
        return false;
    PatchTreeItem& patchItem = m_items[static_cast<std::size_t>(m_selection.patch)];
    CPatch& patch = *patchItem.patch;
    CDocumentEdit edit(m_doc, "Add Layer", patch.m_nNumber);
    auto params = std::make_unique<CLayerParams>();
    params->m_strLayerName = *name;
    // At the head of the patch, or right after the selected layer.
    std::size_t place = 0;
    if (m_selection.layer >= 0)
        place = std::min(static_cast<std::size_t>(m_selection.layer) + 1, patch.m_layers.size());
    CLayerParams& added = **patch.m_layers.insert(patch.m_layers.begin() + static_cast<std::ptrdiff_t>(place),
                                                  std::move(params));
    std::size_t itemPlace = m_selection.layer >= 0 ? static_cast<std::size_t>(m_selection.layer) + 1 : 0;
    patchItem.children.insert(patchItem.children.begin() + static_cast<std::ptrdiff_t>(itemPlace),
                              MakeLayerItem(added));
    ++m_nRevision;
    Select({m_selection.patch, static_cast<int>(itemPlace), -1});
    m_doc.SetModifiedFlag();
    return true;
}

bool CPatchTreeModel::DeleteObject() {
    if (!CanDeleteObject())
        return false;
    TreePath path = m_selection;
    PatchTreeItem& patchItem = m_items[static_cast<std::size_t>(path.patch)];
    CDocumentEdit edit(m_doc, "Delete Object", patchItem.patch->m_nNumber);
    if (path.layer < 0) {
        m_doc.RemovePatch(patchItem.patch->m_nNumber);
        m_items.erase(m_items.begin() + path.patch);
    } else {
        CLayerParams* params = patchItem.children[static_cast<std::size_t>(path.layer)].layer;
        auto& layers = patchItem.patch->m_layers;
        auto found =
            std::find_if(layers.begin(), layers.end(),
                         [params](const std::unique_ptr<CLayerParams>& p) { return p.get() == params; });
        if (found == layers.end())
            GetUi().Message("Internal error: didn't find layer");
        else
            layers.erase(found);
        patchItem.children.erase(patchItem.children.begin() + path.layer);
    }
    m_pCurrentPatch = nullptr;
    m_pCurrentLayer = nullptr;
    m_doc.SetModifiedFlag();
    ++m_nRevision;
    SelectAfterDeleting(path);
    return true;
}

void CPatchTreeModel::SelectAfterDeleting(TreePath path) {
    // As a tree control does: the next sibling, else the one before, else the parent. The other
    // views must hear of it, since they may hold the deleted object.
    if (path.layer < 0) {
        int count = static_cast<int>(m_items.size());
        Select(count == 0 ? TreePath{} : TreePath{std::min(path.patch, count - 1), -1, -1});
        return;
    }
    int count = static_cast<int>(m_items[static_cast<std::size_t>(path.patch)].children.size());
    Select(count == 0 ? TreePath{path.patch, -1, -1}
                      : TreePath{path.patch, std::min(path.layer, count - 1), -1});
}

bool CPatchTreeModel::ReplaceLayer() {
    if (!CanReplaceLayer())
        return false;
    std::optional<std::string> name = ChooseLayer();
    if (!name)
        return false;
    TreePath path{m_selection.patch, m_selection.layer, -1};
    CDocumentEdit edit(m_doc, "Replace Layer",
                       m_items[static_cast<std::size_t>(path.patch)].patch->m_nNumber);
    PatchTreeItem& item =
        m_items[static_cast<std::size_t>(path.patch)].children[static_cast<std::size_t>(path.layer)];
    item.layer->m_strLayerName = *name;
    item.children.clear();
    PatchTreeItem replaced = MakeLayerItem(*item.layer);
    item = std::move(replaced);
    if (item.image == PatchTreeItem::kMissingLayer)
        GetUi().Message("Internal error: layer not found");
    m_doc.SetModifiedFlag();
    ++m_nRevision;
    // The form names the layer, and its audition voices were the old layer's.
    Select(path);
    return true;
}

std::optional<std::string> CPatchTreeModel::SampleFileAt(const TreePath& path) const {
    const PatchTreeItem* item = ItemAt(path);
    if (!item || item->image != PatchTreeItem::kSample || !item->sample)
        return std::nullopt;
    return item->sample->GetPath();
}
