#pragma once

#include "archive/ArchiveMap.h"
#include "docview/Document.h"
#include "layer/LayerRecords.h"

#include <cstdint>
#include <memory>
#include <string>

// The layer library: named layers and the named sample entries they map onto keys. Names are
// Windows-1252 bytes and compare exactly.
class CLayerDoc : public CDocument {
public:
    using LayerMap = CArchiveMap<std::string, std::unique_ptr<CLayer>>;
    using SampleMap = CArchiveMap<std::string, std::unique_ptr<CSample>>;

    CLayerDoc();
    ~CLayerDoc() override;

    const LayerMap& Layers() const { return m_layers; }
    const SampleMap& Samples() const { return m_samples; }

    CLayer* FindLayer(const std::string& name) const;
    // Stores `layer` under `name`; a layer already there is replaced.
    void SetLayer(const std::string& name, std::unique_ptr<CLayer> layer);
    bool DeleteLayer(const std::string& name);

    CSample* FindSample(const std::string& name) const;
    // Stores `sample` under a name not yet taken (layers may refer to the entry a name holds, so
    // it is never replaced behind their backs).
    bool AddSample(const std::string& name, std::unique_ptr<CSample> sample);
    bool RenameSample(const std::string& oldName, const std::string& newName);
    // Unmaps the entry from every layer, asking once per layer, then deletes it. Cancel stops at
    // once, keeping what was unmapped before; false when the entry was not deleted.
    bool DeleteSample(const std::string& name);

    // The whole "Reparent file pointers..." command: asks for the roots, then rewrites.
    bool OnReparentFilePointers();
    // Replaces the leading `oldRoot` of every entry's path by `newRoot` (UTF-8 roots), after
    // checking both directories and asking to go on when one is missing. False when declined.
    bool ReparentFilePointers(const std::string& oldRoot, const std::string& newRoot);

    void Serialize(CObjectArchive& ar) override;
    void DeleteContents() override;

private:
    LayerMap m_layers;
    SampleMap m_samples;
};
