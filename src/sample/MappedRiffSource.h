#pragma once

#include "sample/RiffReader.h"

#include <memory>
#include <string>

// A file read in place through a read-only mapping of the whole of it: the pages come straight from
// the page cache, with nothing copied and no buffer of our own to fault in. The file must not
// shrink while it is mapped.
class CMappedRiffSource : public CMemoryRiffSource {
public:
    // Nothing when the file cannot be opened for reading (`error` then says why, as OpenRegularFile
    // does) or cannot be mapped (an empty file, say: `error` is then 0).
    static std::unique_ptr<CMappedRiffSource> Open(const std::string& path, int& error);
    ~CMappedRiffSource() override;
    CMappedRiffSource(const CMappedRiffSource&) = delete;
    CMappedRiffSource& operator=(const CMappedRiffSource&) = delete;

    const std::uint8_t* Data() const { return m_pMapped; }

private:
    CMappedRiffSource(const std::uint8_t* data, std::size_t size)
        : CMemoryRiffSource(data, size), m_pMapped(data), m_nMapped(size) {}
    const std::uint8_t* m_pMapped;
    std::size_t m_nMapped;
};
