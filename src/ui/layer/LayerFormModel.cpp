#include "ui/layer/LayerFormModel.h"

#include "docview/DocumentEdit.h"
#include "layer/AuditionCopy.h"
#include "layer/CaseFold.h"
#include "layer/LayerDialogs.h"
#include "layer/LayerDoc.h"
#include "platform/DialogValidation.h"
#include "platform/TextEncoding.h"
#include "platform/Ui.h"
#include "sample/Player.h"
#include "sample/SampleDoc.h"
#include "ui/layer/KeyboardLayout.h"

#include <algorithm>
#include <limits>

namespace {
// Names as a sorted list box orders them: without regard to case.
template <class Map> std::vector<std::string> SortedKeys(const Map& map) {
    std::vector<std::string> keys;
    map.ForEach([&](const std::string& name, const auto&) { keys.push_back(name); });
    std::sort(keys.begin(), keys.end(), [](const std::string& a, const std::string& b) {
        int order = CompareIgnoringCase(a, b);
        return order != 0 ? order < 0 : a < b;
    });
    return keys;
}

std::vector<std::string> Shown(const std::vector<std::string>& keys) {
    std::vector<std::string> shown;
    for (const std::string& key : keys)
        shown.push_back(Cp1252ToUtf8(key));
    return shown;
}

int IndexOf(const std::vector<std::string>& keys, const std::string& key) {
    auto found = std::find(keys.begin(), keys.end(), key);
    return found == keys.end() ? -1 : static_cast<int>(found - keys.begin());
}

// A number box read as the dialog framework reads it. Out of range, the message is shown (the
// first of a read only) and the value taken as entered, unless the file could not hold it.
void ReadNumberBox(const std::string& text, std::int32_t low, std::int32_t high, std::int32_t& value,
                   bool& reported) {
    std::variant<long long, std::string> checked = ValidateInteger(text, low, high);
    if (const long long* number = std::get_if<long long>(&checked)) {
        value = static_cast<std::int32_t>(*number);
        return;
    }
    if (!reported)
        GetUi().Message(std::get<std::string>(checked));
    reported = true;
    std::variant<long long, std::string> entered = ValidateInteger(
        text, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max());
    if (const long long* number = std::get_if<long long>(&entered))
        value = static_cast<std::int32_t>(*number);
}

std::unique_ptr<CLayer> CopyOf(const CLayer& layer) {
    auto copy = std::make_unique<CLayer>();
    copy->CopyFrom(layer);
    return copy;
}
} // namespace

CLayerFormModel::CLayerFormModel(CLayerDoc& doc) : m_doc(doc) {}

CLayerFormModel::~CLayerFormModel() {
    PlayerStop();
    PlayerClose();
}

void CLayerFormModel::InitialUpdate() {
    ListSamples();
    ListLayers();
    if (m_layerKeys.empty()) {
        m_doc.SetLayer(kEmptyLayerName, std::make_unique<CLayer>());
        ListLayers();
    }
    TakeLayer(m_layerKeys.front(), *m_doc.FindLayer(m_layerKeys.front()));
    m_bDirty = false;
    m_strCacheText = "0";
}

void CLayerFormModel::ListSamples() {
    m_sampleKeys = SortedKeys(m_doc.Samples());
    m_sampleNames = Shown(m_sampleKeys);
    if (m_selectedSample && IndexOf(m_sampleKeys, *m_selectedSample) < 0)
        m_selectedSample.reset();
}

void CLayerFormModel::ListLayers() {
    m_layerKeys = SortedKeys(m_doc.Layers());
    m_layerNames = Shown(m_layerKeys);
}

int CLayerFormModel::SelectedSample() const {
    return m_selectedSample ? IndexOf(m_sampleKeys, *m_selectedSample) : -1;
}

int CLayerFormModel::SelectedLayer() const {
    return IndexOf(m_layerKeys, m_strCurrent);
}

std::string CLayerFormModel::CurrentName() const {
    return Cp1252ToUtf8(m_strCurrent);
}

const CSampleDoc* CLayerFormModel::PreparedCopy(std::uint16_t key) const {
    auto found = m_prepared.find(key);
    return found == m_prepared.end() ? nullptr : found->second.copy.get();
}

void CLayerFormModel::EditBoxes(const LayerBoxes& boxes) {
    m_boxes = boxes;
    m_bDirty = true;
}

void CLayerFormModel::SelectSample(int index) {
    if (index < 0 || index >= static_cast<int>(m_sampleKeys.size()))
        m_selectedSample.reset();
    else
        m_selectedSample = m_sampleKeys[static_cast<std::size_t>(index)];
}

void CLayerFormModel::Refresh() {
    m_boxes.level = std::to_string(m_working.m_nLevel);
    m_boxes.transpose = std::to_string(m_working.m_nTranspose);
    m_boxes.ignoreKeyUp = m_working.m_bIgnoreKeyUp;
    m_boxes.comment = Cp1252ToUtf8(m_working.m_strComment);
}

void CLayerFormModel::ReadBoxes() {
    bool reported = false;
    ReadNumberBox(m_boxes.level, kLowestLevel, kHighestLevel, m_working.m_nLevel, reported);
    ReadNumberBox(m_boxes.transpose, kLowestTranspose, kHighestTranspose, m_working.m_nTranspose, reported);
    m_working.m_bIgnoreKeyUp = m_boxes.ignoreKeyUp;
    m_working.m_strComment = Utf8ToCp1252(m_boxes.comment);
}

bool CLayerFormModel::StoreWorkingCopy() {
    CDocumentEdit edit(m_doc, "Save Layer", CLayerDoc::kHistoryHint);
    CLayer* stored = m_doc.FindLayer(m_strCurrent);
    if (!stored) {
        GetUi().Message("Internal error: can't find old layer");
        return false;
    }
    ReadBoxes();
    stored->CopyFrom(m_working);
    m_doc.SetModifiedFlag();
    return true;
}

void CLayerFormModel::TakeLayer(const std::string& name, const CLayer& layer) {
    m_working.CopyFrom(layer);
    m_strCurrent = name;
    Refresh();
}

void CLayerFormModel::SelectLayer(int index) {
    if (index < 0 || index >= static_cast<int>(m_layerKeys.size()) || index == SelectedLayer())
        return;
    if (m_bDirty) {
        if (GetUi().Ask("Save changes to " + CurrentName() + "?", AskButtons::YesNo) == Answer::Yes &&
            !StoreWorkingCopy())
            return;
        m_bDirty = false;
    }
    const std::string name = m_layerKeys[static_cast<std::size_t>(index)];
    const CLayer* layer = m_doc.FindLayer(name);
    if (!layer) {
        GetUi().Message("Internal error: can't find layer");
        return;
    }
    TakeLayer(name, *layer);
    m_doc.ReleaseAll();
    OnTrim();
}

bool CLayerFormModel::LeftButtonDown(int x, int y) {
    std::optional<std::uint16_t> key = KeyAt(x, y);
    if (!key || !m_selectedSample)
        return false;
    CSample* entry = m_doc.FindSample(*m_selectedSample);
    if (!entry) {
        GetUi().Message("Internal error: can find that sample by name");
        return false;
    }
    DropPrepared(*key);
    m_working.m_keys.Set(*key, entry);
    m_bDirty = true;
    return true;
}

bool CLayerFormModel::LeftDoubleClick(int x, int y) {
    std::optional<std::uint16_t> key = KeyAt(x, y);
    if (!key)
        return false;
    DropPrepared(*key);
    m_working.m_keys.Remove(*key);
    m_bDirty = true;
    return true;
}

void CLayerFormModel::RightButtonDown(int x, int y) {
    if (std::optional<std::uint16_t> key = KeyAt(x, y))
        Audition(*key);
}

void CLayerFormModel::RightButtonUp() {
    PlayerStop();
}

bool CLayerFormModel::MouseMove(int x, int y) {
    std::optional<std::uint16_t> key = KeyAt(x, y);
    const CSample* entry = key ? m_working.LookupSample(*key) : nullptr;
    std::string name = entry ? Cp1252ToUtf8(entry->m_strName) : std::string();
    if (name == m_strNameField)
        return false;
    m_strNameField = name;
    return true;
}

void CLayerFormModel::Audition(std::uint16_t key) {
    const CSample* mapped = m_working.LookupSample(key);
    const int note = key + m_working.m_nTranspose;
    auto found = m_prepared.find(key);
    // A copy serves again while its key still plays the same entry at the same note.
    if (found == m_prepared.end() || found->second.entry != mapped || found->second.note != note) {
        DropPrepared(key);
        CSample* entry = m_doc.GetSampleDocument(m_working, key);
        if (!entry) {
            GetUi().Beep();
            return;
        }
        std::unique_ptr<CSampleDoc> copy = PrepareKeyCopy(*entry->GetDocument(), note);
        if (!copy)
            return;
        m_nPreparedBytes += std::uint64_t{4} * copy->m_nFrames;
        found = m_prepared.insert_or_assign(key, Prepared{entry, note, std::move(copy)}).first;
    }
    ShowCache();
    const CSampleDoc& copy = *found->second.copy;
    PlayerStop();
    if (PlayerOpen(false, copy.m_nRate))
        PlayerLoopPlay(copy);
}

void CLayerFormModel::DropPrepared(std::uint16_t key) {
    auto found = m_prepared.find(key);
    if (found == m_prepared.end())
        return;
    // The player reads the copy in place.
    PlayerStop();
    m_nPreparedBytes -= std::uint64_t{4} * found->second.copy->m_nFrames;
    m_prepared.erase(found);
}

void CLayerFormModel::DropAllPrepared() {
    if (!m_prepared.empty())
        PlayerStop();
    m_prepared.clear();
    m_nPreparedBytes = 0;
}

void CLayerFormModel::ShowCache() {
    m_strCacheText = std::to_string(m_doc.LoadedBytes() + m_nPreparedBytes);
}

void CLayerFormModel::OnTrim() {
    DropAllPrepared();
    ShowCache();
}

void CLayerFormModel::OnClearCache() {
    DropAllPrepared();
    m_doc.ReleaseAll();
    ShowCache();
}

void CLayerFormModel::OnSave() {
    if (StoreWorkingCopy())
        m_bDirty = false;
}

void CLayerFormModel::OnReset() {
    const CLayer* stored = m_doc.FindLayer(m_strCurrent);
    if (!stored) {
        GetUi().Message("Internal error: can't find old layer");
        return;
    }
    TakeLayer(m_strCurrent, *stored);
    m_bDirty = false;
}

void CLayerFormModel::OnClearLayer() {
    m_working.Reset();
    Refresh();
    m_bDirty = true;
}

void CLayerFormModel::OnSaveAs() {
    std::optional<LayerNameValues> entered = GetUi().AskDialog(LayerNameValues{CurrentName()});
    if (!entered)
        return;
    const std::string name = Utf8ToCp1252(entered->name);
    CDocumentEdit edit(m_doc, "Save Layer As", CLayerDoc::kHistoryHint);
    ReadBoxes();
    if (CLayer* stored = m_doc.FindLayer(name)) {
        if (name != m_strCurrent &&
            GetUi().Ask("That layer exists: overwrite?", AskButtons::YesNo) != Answer::Yes)
            return;
        stored->CopyFrom(m_working);
        m_doc.SetModifiedFlag();
        m_bDirty = false;
        return;
    }
    m_doc.SetLayer(name, CopyOf(m_working));
    m_bDirty = false;
    m_strCurrent = name;
    ListLayers();
}

void CLayerFormModel::OnDeleteLayer() {
    const int index = SelectedLayer();
    if (index < 0)
        return;
    CDocumentEdit edit(m_doc, "Delete Layer", CLayerDoc::kHistoryHint);
    if (!m_doc.DeleteLayer(m_strCurrent))
        return;
    m_layerKeys.erase(m_layerKeys.begin() + index);
    m_layerNames.erase(m_layerNames.begin() + index);
    // Whatever the deleted layer had unsaved goes with it.
    m_bDirty = false;
    m_doc.ReleaseAll();
    OnTrim();
    if (m_layerKeys.empty()) {
        m_working.Reset();
        m_strCurrent = kEmptyLayerName;
        m_doc.SetLayer(kEmptyLayerName, std::make_unique<CLayer>());
        ListLayers();
        Refresh();
        return;
    }
    const std::string name = m_layerKeys[static_cast<std::size_t>(index == 0 ? 0 : index - 1)];
    const CLayer* layer = m_doc.FindLayer(name);
    if (!layer) {
        GetUi().Message("Internal error: can't find new layer");
        return;
    }
    TakeLayer(name, *layer);
}

void CLayerFormModel::OnNewSample() {
    SampleItemValues values{"Untitled", "", false, 0, false};
    for (;;) {
        std::optional<SampleItemValues> entered = GetUi().AskDialog(values);
        if (!entered)
            return;
        values = *entered;
        const std::string name = Utf8ToCp1252(values.name);
        if (name.empty())
            GetUi().Message("You must give the sample a name");
        else if (m_doc.FindSample(name))
            GetUi().Message("There is already a sample with that name");
        else
            break;
    }
    CDocumentEdit edit(m_doc, "New Sample", CLayerDoc::kHistoryHint);
    auto sample = std::make_unique<CSample>();
    sample->m_strPath = Utf8ToCp1252(values.path);
    sample->m_bTracksPitch = !values.fixedPitch;
    sample->m_bIgnoreKeyUp = values.ignoreKeyUp;
    sample->m_nLevel = values.level;
    const std::string name = Utf8ToCp1252(values.name);
    if (!m_doc.AddSample(name, std::move(sample)))
        return;
    m_selectedSample = name;
    ListSamples();
}

void CLayerFormModel::OnEditSample() {
    if (!m_selectedSample)
        return;
    const std::string oldName = *m_selectedSample;
    CSample* entry = m_doc.FindSample(oldName);
    if (!entry) {
        GetUi().Message("Internal error: can't find that sample");
        return;
    }
    std::optional<SampleItemValues> entered =
        GetUi().AskDialog(SampleItemValues{Cp1252ToUtf8(oldName), Cp1252ToUtf8(entry->m_strPath),
                                           !entry->m_bTracksPitch, entry->m_nLevel, entry->m_bIgnoreKeyUp});
    if (!entered)
        return;
    const std::string newName = Utf8ToCp1252(entered->name);
    const bool renamed = newName != oldName;
    if (renamed && m_doc.FindSample(newName)) {
        GetUi().Message("The name \"" + entered->name + "\" is already in use");
        return;
    }
    CDocumentEdit edit(m_doc, "Edit Sample", CLayerDoc::kHistoryHint);
    m_doc.SetModifiedFlag();
    entry->m_strPath = Utf8ToCp1252(entered->path);
    entry->m_bTracksPitch = !entered->fixedPitch;
    entry->m_bIgnoreKeyUp = entered->ignoreKeyUp;
    entry->m_nLevel = entered->level;
    if (renamed && m_doc.RenameSample(oldName, newName)) {
        m_selectedSample = newName;
        ListSamples();
    }
}

void CLayerFormModel::OnDeleteSample() {
    if (!m_selectedSample)
        return;
    const CSample* entry = m_doc.FindSample(*m_selectedSample);
    // Gathered now: once deleted, the entry can no longer be compared with.
    std::vector<std::uint16_t> keys;
    m_working.m_keys.ForEach([&](std::uint16_t key, CSample* mapped) {
        if (entry && mapped == entry)
            keys.push_back(key);
    });
    CDocumentEdit edit(m_doc, "Delete Sample", CLayerDoc::kHistoryHint);
    if (!m_doc.DeleteSample(*m_selectedSample))
        return;
    for (std::uint16_t key : keys) {
        DropPrepared(key);
        m_working.m_keys.Remove(key);
    }
    m_selectedSample.reset();
    ListSamples();
}

void CLayerFormModel::OnDocumentRestored() {
    // Copies were prepared from entries that may be gone, and the working copy points at them.
    DropAllPrepared();
    ListSamples();
    ListLayers();
    const CLayer* layer = m_doc.FindLayer(m_strCurrent);
    if (!layer && !m_layerKeys.empty()) {
        m_strCurrent = m_layerKeys.front();
        layer = m_doc.FindLayer(m_strCurrent);
    }
    if (layer)
        TakeLayer(m_strCurrent, *layer);
    else
        m_working.Reset();
    m_bDirty = false;
    ShowCache();
}

void CLayerFormModel::KeepChanges() {
    if (!m_bDirty)
        return;
    if (GetUi().Ask("Save changes to " + CurrentName() + "?", AskButtons::YesNo) == Answer::Yes) {
        if (StoreWorkingCopy())
            m_bDirty = false;
        return;
    }
    m_bDirty = false;
}
