#pragma once

#include "sample/RiffReader.h"

#include <memory>
#include <string>

// A file read in place through a read-only mapping of the whole of it: the pages come straight from
// the page cache, with nothing copied and no buffer of our own to fault in. The file must not
// shrink while it is mapped.
class CMappedRiffSource : public CRiffSource {
public:
    // Nothing when the file cannot be opened for reading (`error` then says why, as OpenRegularFile
    // does) or cannot be mapped (an empty file, say: `error` is then 0).
    static std::unique_ptr<CMappedRiffSource> Open(const std::string& path, int& error);
    ~CMappedRiffSource() override;
    CMappedRiffSource(const CMappedRiffSource&) = delete;
    CMappedRiffSource& operator=(const CMappedRiffSource&) = delete;

    std::uint64_t Size() const override { return m_nSize; }
    std::size_t ReadAt(std::uint64_t offset, void* data, std::size_t size) override;
    const std::uint8_t* Data() const { return m_pData; }

private:
    CMappedRiffSource(const std::uint8_t* data, std::size_t size) : m_pData(data), m_nSize(size) {}
    const std::uint8_t* m_pData;
    std::size_t m_nSize;
};
