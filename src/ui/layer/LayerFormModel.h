#pragma once

#include "layer/LayerRecords.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CLayerDoc;
class CSampleDoc;

// The layer form's boxes as they stand, typed or shown.
struct LayerBoxes {
    std::string level = "0";
    std::string transpose = "0";
    bool ignoreKeyUp = false;
    std::string comment;
    bool operator==(const LayerBoxes&) const = default;
};

// The layer editor's form without its widgets: the sorted lists of sample entries and layers, a
// working copy of one layer edited on the keyboard and in the boxes and written back on request,
// the dialogs' flows, and the audition of keys with a prepared copy kept per key. Texts in and
// out are UTF-8; the document's names are Windows-1252.
class CLayerFormModel {
public:
    static constexpr const char* kEmptyLayerName = "Empty Layer";
    static constexpr std::int32_t kLowestLevel = -90;
    static constexpr std::int32_t kHighestLevel = 90;
    static constexpr std::int32_t kLowestTranspose = -127;
    static constexpr std::int32_t kHighestTranspose = 127;

    explicit CLayerFormModel(CLayerDoc& doc);
    // Stops the player and closes the device: a prepared copy may be playing.
    ~CLayerFormModel();
    CLayerFormModel(const CLayerFormModel&) = delete;
    CLayerFormModel& operator=(const CLayerFormModel&) = delete;

    // Fills the lists and takes the first layer (making "Empty Layer" when there is none).
    void InitialUpdate();

    const std::vector<std::string>& SampleNames() const { return m_sampleNames; }
    int SelectedSample() const;
    const std::vector<std::string>& LayerNames() const { return m_layerNames; }
    // The current layer's item; -1 when it is not listed.
    int SelectedLayer() const;
    const LayerBoxes& Boxes() const { return m_boxes; }
    const std::string& NameField() const { return m_strNameField; }
    const std::string& CacheText() const { return m_strCacheText; }
    // Unsaved changes: enables "Reset".
    bool IsDirty() const { return m_bDirty; }
    const CLayer& WorkingCopy() const { return m_working; }
    std::string CurrentName() const;
    std::uint64_t PreparedBytes() const { return m_nPreparedBytes; }
    // The prepared copy of a key, if one is kept.
    const CSampleDoc* PreparedCopy(std::uint16_t key) const;

    // The user typed in a box or clicked the check box.
    void EditBoxes(const LayerBoxes& boxes);
    void SelectSample(int index);
    // A new selection in the layers list: offers to keep the changes, then switches.
    void SelectLayer(int index);

    // The keyboard, in view pixels. Each returns true when the keyboard must be drawn again.
    bool LeftButtonDown(int x, int y);
    bool LeftDoubleClick(int x, int y);
    void RightButtonDown(int x, int y);
    void RightButtonUp();
    // True when the name field changed.
    bool MouseMove(int x, int y);

    // The buttons.
    void OnSave();
    void OnReset();
    void OnSaveAs();
    void OnClearLayer();
    void OnDeleteLayer();
    void OnNewSample();
    void OnEditSample();
    void OnDeleteSample();
    void OnTrim();
    void OnClearCache();

    // A step of the document's history was undone or redone: the lists, the working copy (its
    // unsaved changes dropped) and the prepared copies follow the document.
    void OnDocumentRestored();

    // Asked by the document's save prompt: offers to store the working copy when it has changes.
    void KeepChanges();

private:
    struct Prepared {
        const CSample* entry; // what the key mapped when the copy was made
        int note;
        std::unique_ptr<CSampleDoc> copy;
    };

    void ListSamples();
    void ListLayers();
    void Refresh();
    // Reads the boxes into the working copy; a box out of range is reported and taken as entered.
    void ReadBoxes();
    // Stores the working copy under the current name; false (after the message) when that layer
    // is gone.
    bool StoreWorkingCopy();
    void TakeLayer(const std::string& name, const CLayer& layer);
    void Audition(std::uint16_t key);
    void DropPrepared(std::uint16_t key);
    void DropAllPrepared();
    void ShowCache();

    CLayerDoc& m_doc;
    CLayer m_working;
    std::string m_strCurrent; // Windows-1252, as the document holds it
    bool m_bDirty = false;
    LayerBoxes m_boxes;
    std::vector<std::string> m_layerKeys;  // the document's names, sorted as the list shows them
    std::vector<std::string> m_layerNames; // the same, as shown
    std::vector<std::string> m_sampleKeys;
    std::vector<std::string> m_sampleNames;
    std::optional<std::string> m_selectedSample; // Windows-1252
    std::string m_strNameField;
    std::string m_strCacheText = "0";
    std::map<std::uint16_t, Prepared> m_prepared;
    std::uint64_t m_nPreparedBytes = 0;
};
