#pragma once

#include "archive/ArchiveMap.h"
#include "docview/Document.h"
#include "layer/LayerRecords.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

class CSampleDoc;

// The layer library: named layers and the named sample entries they map onto keys. Names are
// Windows-1252 bytes and compare exactly.
class CLayerDoc : public CDocument {
public:
    using LayerMap = CArchiveMap<std::string, std::unique_ptr<CLayer>>;
    using SampleMap = CArchiveMap<std::string, std::unique_ptr<CSample>>;

    // Views told of an undone or redone change get this hint: anything may have changed.
    static constexpr long kHistoryHint = 77777;

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

    // The sample cache: entries whose sound file is loaded, oldest first, bounded by the bytes of
    // audio they hold.
    static constexpr std::uint64_t kCacheLimit = 8'000'000;
    // The entry `layer` maps to `key`, with its sound file loaded; null when the key is unmapped
    // or the file cannot be loaded even with the cache emptied.
    CSample* GetSampleDocument(const CLayer& layer, std::uint16_t key);
    bool ReleaseOldest();
    void ReleaseAll();
    std::uint64_t LoadedBytes() const { return m_nLoadedBytes; }
    // The audio bytes of a document: two per value.
    static std::uint64_t BytesOf(const CSampleDoc& doc);

    // The samples report of every entry, or of the entries `layer` maps, written to `path` and
    // then opened for reading. False when the file could not be written.
    static constexpr const char* kSamplesReportFile = "SAMPLES.TXT";
    bool ReportSamples(const CLayer* layer, const std::string& path = kSamplesReportFile) const;

    // The whole "Reparent file pointers..." command: asks for the roots, then rewrites.
    bool OnReparentFilePointers();
    // Replaces the leading `oldRoot` of every entry's path by `newRoot` (UTF-8 roots), after
    // checking both directories and asking to go on when one is missing. False when declined.
    bool ReparentFilePointers(const std::string& oldRoot, const std::string& newRoot);

    void Serialize(CObjectArchive& ar) override;
    void DeleteContents() override;

private:
    struct LoadedEntry {
        CSample* sample;
        std::uint64_t bytes; // as counted when loaded
    };
    void Unload(std::deque<LoadedEntry>::iterator entry);

    LayerMap m_layers;
    SampleMap m_samples;
    std::deque<LoadedEntry> m_loaded;
    std::uint64_t m_nLoadedBytes = 0;
};
