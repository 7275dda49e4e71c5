#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CRiffSource;
class CFileRiffSource;

// One sample object of a Kurzweil K2000 program file, as the file's list shows it.
struct KrzSampleEntry {
    std::string name; // the file's bytes up to the terminating zero
    int rootKey = 0;  // MIDI key number
    std::uint32_t rate = 0;
    std::uint64_t headerOffset = 0; // where the sample's 88-byte header starts
};

// The fields of a sample header that the import uses.
struct KrzSampleHeader {
    int rootKey = 0;
    std::uint32_t start = 0;
    std::uint32_t loopStart = 0;
    std::uint32_t end = 0;
    std::uint32_t period = 0; // ns per sample
};

// One sample's audio as it enters a document: mono, with the loop running to its end.
struct KrzSampleAudio {
    std::unique_ptr<std::int16_t[]> data;
    std::uint32_t frames = 0;
    std::uint32_t loopStart = 0;
    std::uint32_t loopLength = 0; // 0: no loop
    std::uint32_t rate = 0;
};

enum class KrzError {
    None,
    NotPram,
    HeaderBeyondFile,
    EndBeforeStart,
    NoPeriod,
    AudioBeyondFile,
    NoMemory,
};

// The message for a reading failure.
std::string KrzErrorText(KrzError error);

// trunc(1e9 / period) in single precision; 0 for a period of 0.
std::uint32_t KrzRate(std::uint32_t period);

// "name (pitch A 4, rate 44099)", in UTF-8.
std::string KrzListText(const KrzSampleEntry& entry);

// Reads the sample objects of a Kurzweil program file ("PRAM"), big-endian throughout. Nothing the
// file says about sizes, offsets or lengths is used before it has been checked against the file.
class CKrzFile {
public:
    explicit CKrzFile(CRiffSource& source) : m_source(source) {}

    bool HasMagic();
    // The sample objects in the file's order; none without the magic. The scan ends at a block
    // that cannot be read whole or whose size does not move it forward; a sample block too short
    // for its name and header is skipped.
    std::vector<KrzSampleEntry> ListSamples();
    // The header at `offset`; nothing when the file does not hold all of it.
    std::optional<KrzSampleHeader> ReadHeader(std::uint64_t offset);
    // The audio of the sample whose header is at `headerOffset`.
    KrzError ReadSample(std::uint64_t headerOffset, KrzSampleAudio& audio);

private:
    // The offset of the sample data area; 0 when the file is too short to say.
    std::uint32_t DataOffset();

    CRiffSource& m_source;
};

// Opens a Kurzweil file for reading. Nothing, with the reason shown, when it cannot be opened or
// does not start with the magic.
std::unique_ptr<CFileRiffSource> OpenKrzFile(const std::string& path);
