#pragma once

#include "archive/ArchiveClass.h"
#include "archive/ArchiveMap.h"

#include <cstdint>
#include <memory>
#include <string>

class CSampleDoc;

// A sample entry of the layer library: one sound file with the settings it plays with. Its name is
// the key under which the layer document holds it; the document keeps m_strName in step.
class CSample : public CObject {
public:
    static const ArchiveClass kClass;

    CSample();
    ~CSample() override;
    CSample(const CSample&) = delete;
    CSample& operator=(const CSample&) = delete;

    const ArchiveClass& GetArchiveClass() const override { return kClass; }
    void Serialize(CObjectArchive& ar) override;

    std::string GetPath() const { return m_strPath; }

    // The sound file loaded into memory, held while the layer document's cache keeps it.
    CSampleDoc* GetDocument() const { return m_pDocument.get(); }
    // Holds `document` (or nothing) from now on; the one held so far is destroyed unless it is
    // the very one given.
    void SetDocument(std::unique_ptr<CSampleDoc> document);

    std::string m_strName; // not archived
    std::string m_strPath;
    bool m_bTracksPitch = true;
    bool m_bIgnoreKeyUp = false;
    std::int32_t m_nLevel = 0; // dB

private:
    std::unique_ptr<CSampleDoc> m_pDocument; // not archived
};

// The highest key number a layer maps.
constexpr std::uint16_t kHighestKey = 127;

// A named keyboard map: which sample entry sounds on each MIDI key, with the layer's own level,
// transpose and settings. The entries belong to the layer document; the map only refers to them.
class CLayer : public CObject {
public:
    static const ArchiveClass kClass;
    using KeyMap = CArchiveMap<std::uint16_t, CSample*>;

    CLayer();
    ~CLayer() override;
    CLayer(const CLayer&) = delete;
    CLayer& operator=(const CLayer&) = delete;

    const ArchiveClass& GetArchiveClass() const override { return kClass; }
    // Loading takes the entries as references to objects read earlier; the layer document checks
    // that each one is an entry it holds.
    void Serialize(CObjectArchive& ar) override;

    // Back to the defaults: level, transpose and ignore key-up 0, no keys, no comment.
    void Reset();
    // Copies the settings and the key map (the same entries, not copies of them).
    void CopyFrom(const CLayer& other);
    // The entry mapped to `key`, or null.
    CSample* LookupSample(std::uint16_t key) const;

    std::int32_t m_nLevel = 0;     // dB
    std::int32_t m_nTranspose = 0; // semitones
    KeyMap m_keys;
    bool m_bIgnoreKeyUp = false;
    std::string m_strComment;
};

// 440 Hz at key 69, twelve keys an octave.
long double NoteFrequency(int key);

// Makes "CSample" and "CLayer" known to archives; idempotent.
void RegisterLayerClasses();
