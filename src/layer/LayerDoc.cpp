#include "layer/LayerDoc.h"

#include "archive/ArchiveContainers.h"
#include "layer/SamplePath.h"
#include "platform/TextEncoding.h"
#include "platform/Ui.h"
#include "sample/SampleDoc.h"

#include <algorithm>
#include <unordered_set>

CLayerDoc::CLayerDoc() = default;

CLayerDoc::~CLayerDoc() {
    DeleteContents();
}

void CLayerDoc::DeleteContents() {
    ReleaseAll();
    // Layers first: they refer to the entries.
    m_layers.Clear();
    m_samples.Clear();
}

CLayer* CLayerDoc::FindLayer(const std::string& name) const {
    const auto* layer = m_layers.Find(name);
    return layer ? layer->get() : nullptr;
}

void CLayerDoc::SetLayer(const std::string& name, std::unique_ptr<CLayer> layer) {
    m_layers.Set(name, std::move(layer));
    SetModifiedFlag();
}

bool CLayerDoc::DeleteLayer(const std::string& name) {
    if (!m_layers.Remove(name)) {
        GetUi().Message("Internal error: couldn't find layer");
        return false;
    }
    SetModifiedFlag();
    return true;
}

CSample* CLayerDoc::FindSample(const std::string& name) const {
    const auto* sample = m_samples.Find(name);
    return sample ? sample->get() : nullptr;
}

bool CLayerDoc::AddSample(const std::string& name, std::unique_ptr<CSample> sample) {
    if (m_samples.Contains(name)) {
        GetUi().Message("Internal error: a sample named " + Cp1252ToUtf8(name) + " already exists");
        return false;
    }
    sample->m_strName = name;
    m_samples.Set(name, std::move(sample));
    SetModifiedFlag();
    return true;
}

bool CLayerDoc::RenameSample(const std::string& oldName, const std::string& newName) {
    if (!m_samples.Contains(oldName)) {
        GetUi().Message("Internal error: can't find sample to rename");
        return false;
    }
    if (newName != oldName && m_samples.Contains(newName)) {
        GetUi().Message("Internal error: a sample named " + Cp1252ToUtf8(newName) + " already exists");
        return false;
    }
    std::unique_ptr<CSample> sample = m_samples.Remove(oldName);
    sample->m_strName = newName;
    m_samples.Set(newName, std::move(sample));
    SetModifiedFlag();
    return true;
}

bool CLayerDoc::DeleteSample(const std::string& name) {
    CSample* sample = FindSample(name);
    if (!sample) {
        GetUi().Message("Internal error: can't find sample to delete");
        return false;
    }
    bool cancelled = false;
    m_layers.ForEach([&](const std::string& layerName, std::unique_ptr<CLayer>& layer) {
        if (cancelled)
            return;
        std::vector<std::uint16_t> keys;
        layer->m_keys.ForEach([&](std::uint16_t key, CSample* mapped) {
            if (mapped == sample)
                keys.push_back(key);
        });
        if (keys.empty())
            return;
        if (GetUi().Ask("Unmap this sample from layer " + Cp1252ToUtf8(layerName) + "?", AskButtons::OkCancel,
                        MessageIcon::Question) != Answer::Ok) {
            cancelled = true;
            return;
        }
        for (std::uint16_t key : keys)
            layer->m_keys.Remove(key);
        SetModifiedFlag();
    });
    if (cancelled)
        return false;
    auto loaded = std::find_if(m_loaded.begin(), m_loaded.end(),
                               [&](const LoadedEntry& entry) { return entry.sample == sample; });
    if (loaded != m_loaded.end())
        Unload(loaded);
    m_samples.Remove(name);
    SetModifiedFlag();
    return true;
}

void CLayerDoc::Serialize(CObjectArchive& ar) {
    if (ar.IsStoring()) {
        SerializeMap(ar, m_samples);
        SerializeMap(ar, m_layers);
        return;
    }
    RegisterLayerClasses();
    SerializeMap(ar, m_samples);
    // Two zero bytes are the empty archive of every document kind.
    if (m_samples.Empty() && ar.Remaining() == 0)
        return;
    std::unordered_set<const CSample*> held;
    m_samples.ForEach([&](const std::string& name, std::unique_ptr<CSample>& sample) {
        sample->m_strName = name;
        held.insert(sample.get());
    });
    SerializeMap(ar, m_layers);
    // A key may only name an entry of the samples map: an entry read inside a layer, or one that
    // a later entry of the same name replaced, belongs to no one once the archive closes.
    m_layers.ForEach([&](const std::string&, std::unique_ptr<CLayer>& layer) {
        layer->m_keys.ForEach([&](std::uint16_t, CSample* sample) {
            if (!held.count(sample))
                throw CArchiveException(CArchiveException::Kind::BadIndex);
        });
    });
}

std::uint64_t CLayerDoc::BytesOf(const CSampleDoc& doc) {
    return std::uint64_t{doc.m_nFrames} * (doc.m_bStereo ? 4 : 2);
}

CSample* CLayerDoc::GetSampleDocument(const CLayer& layer, std::uint16_t key) {
    CSample* sample = layer.LookupSample(key);
    if (!sample || sample->GetDocument())
        return sample;
    const std::string path = sample->GetPath();
    while (m_nLoadedBytes > kCacheLimit && ReleaseOldest()) {
    }
    const std::string file = SamplePathForOpening(path);
    // A load that fails may succeed once older documents have given their memory back.
    auto document = std::make_unique<CSampleDoc>();
    while (!document->LoadSample(file)) {
        if (!ReleaseOldest()) {
            GetUi().Message("Could not load " + Cp1252ToUtf8(path));
            return nullptr;
        }
        document = std::make_unique<CSampleDoc>();
    }
    std::uint64_t bytes = BytesOf(*document);
    sample->SetDocument(std::move(document));
    m_loaded.push_back({sample, bytes});
    m_nLoadedBytes += bytes;
    return sample;
}

void CLayerDoc::Unload(std::deque<LoadedEntry>::iterator entry) {
    m_nLoadedBytes -= entry->bytes;
    entry->sample->SetDocument(nullptr);
    m_loaded.erase(entry);
}

bool CLayerDoc::ReleaseOldest() {
    if (m_loaded.empty())
        return false;
    Unload(m_loaded.begin());
    return true;
}

void CLayerDoc::ReleaseAll() {
    while (ReleaseOldest()) {
    }
}
