#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// Where the bytes of a RIFF file come from: a file read in place, or bytes already in memory.
class CRiffSource {
public:
    virtual ~CRiffSource();
    virtual std::uint64_t Size() const = 0;
    // Copies up to `size` bytes from `offset`; returns how many there were.
    virtual std::size_t ReadAt(std::uint64_t offset, void* data, std::size_t size) = 0;
};

// Bytes owned by someone else, who keeps them alive while the source is used.
class CMemoryRiffSource : public CRiffSource {
public:
    CMemoryRiffSource(const std::uint8_t* data, std::size_t size) : m_pData(data), m_nSize(size) {}
    std::uint64_t Size() const override { return m_nSize; }
    std::size_t ReadAt(std::uint64_t offset, void* data, std::size_t size) override;

private:
    const std::uint8_t* m_pData;
    std::size_t m_nSize;
};

class CFileRiffSource : public CRiffSource {
public:
    // Nothing when the file cannot be opened for reading; `error` then says why (OpenRegularFile).
    static std::unique_ptr<CFileRiffSource> Open(const std::string& path, int& error);
    ~CFileRiffSource() override;
    std::uint64_t Size() const override { return m_nSize; }
    std::size_t ReadAt(std::uint64_t offset, void* data, std::size_t size) override;

private:
    CFileRiffSource(int fd, std::uint64_t size) : m_fd(fd), m_nSize(size) {}
    int m_fd;
    std::uint64_t m_nSize;
};

struct RiffChunk {
    std::uint32_t id = 0;
    // The size the header claims; the file may hold less (see CRiffReader::Available).
    std::uint32_t size = 0;
    // RIFF and LIST chunks only.
    std::uint32_t formType = 0;
    // Offset of the first byte after the 8-byte header (the form type of a RIFF chunk).
    std::uint64_t start = 0;
    std::uint64_t End() const { return start + size; }
};

// Walks the chunks of a RIFF file. Descending into a chunk positions the reader at its contents;
// ascending moves past its end and its pad byte (a chunk of odd size is followed by one).
// A size in a header is never trusted: searches stop at the end of the parent or of the file,
// whichever comes first.
class CRiffReader {
public:
    explicit CRiffReader(CRiffSource& source) : m_source(source) {}

    // Finds, from the current position, a top-level RIFF chunk with this form type and moves
    // to its first child.
    bool DescendRiff(RiffChunk& riff, std::uint32_t formType);
    // Finds the chunk `id` from the current position up to the end of `parent` and moves to its
    // contents. On failure the position is undefined.
    bool Descend(RiffChunk& chunk, const RiffChunk& parent, std::uint32_t id);
    void Ascend(const RiffChunk& chunk);
    // The chunk at the current position, if one starts there inside `parent`; moves to its contents.
    bool Next(RiffChunk& chunk, const RiffChunk& parent);

    // How many bytes of the chunk's contents the file really holds.
    std::uint64_t Available(const RiffChunk& chunk) const;

    // Reads from the current position and moves past what was read; returns the bytes read.
    std::size_t Read(void* data, std::size_t size);
    std::uint64_t Tell() const { return m_nPos; }
    void Seek(std::uint64_t position) { m_nPos = position; }

private:
    bool ReadHeader(std::uint64_t at, std::uint32_t& id, std::uint32_t& size);
    static std::uint64_t Padded(std::uint64_t size) { return size + (size & 1); }

    CRiffSource& m_source;
    std::uint64_t m_nPos = 0;
};
