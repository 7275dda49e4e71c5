#include "sample/RiffReader.h"

#include "platform/FileIo.h"
#include "sample/LittleEndian.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CRiffSource::~CRiffSource() = default;

std::size_t CMemoryRiffSource::ReadAt(std::uint64_t offset, void* data, std::size_t size) {
    if (offset >= m_nSize)
        return 0;
    std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(size, m_nSize - offset));
    std::memcpy(data, m_pData + offset, count);
    return count;
}

std::unique_ptr<CFileRiffSource> CFileRiffSource::Open(const std::string& path, int& error) {
    int fd = OpenRegularFile(path, error);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    ::fstat(fd, &info);
    return std::unique_ptr<CFileRiffSource>(
        new CFileRiffSource(fd, static_cast<std::uint64_t>(info.st_size)));
}

CFileRiffSource::~CFileRiffSource() {
    ::close(m_fd);
}

std::size_t CFileRiffSource::ReadAt(std::uint64_t offset, void* data, std::size_t size) {
    std::size_t done = 0;
    auto* bytes = static_cast<std::uint8_t*>(data);
    while (done < size) {
        ssize_t got = ::pread(m_fd, bytes + done, size - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break; // an error reads as the end of the file
        done += static_cast<std::size_t>(got);
    }
    return done;
}

bool CRiffReader::ReadHeader(std::uint64_t at, std::uint32_t& id, std::uint32_t& size) {
    std::uint8_t header[8];
    if (m_source.ReadAt(at, header, sizeof header) != sizeof header)
        return false;
    id = GetLE32(header);
    size = GetLE32(header + 4);
    return true;
}

bool CRiffReader::DescendRiff(RiffChunk& riff, std::uint32_t formType) {
    std::uint64_t end = m_source.Size();
    for (std::uint64_t at = m_nPos; at + 8 <= end;) {
        std::uint32_t id = 0;
        std::uint32_t size = 0;
        if (!ReadHeader(at, id, size))
            return false;
        std::uint8_t form[4];
        if (id == FourCC("RIFF") && size >= 4 && m_source.ReadAt(at + 8, form, 4) == 4 &&
            GetLE32(form) == formType) {
            riff = {id, size, formType, at + 8};
            m_nPos = at + 12;
            return true;
        }
        at += 8 + Padded(size);
    }
    return false;
}

bool CRiffReader::Descend(RiffChunk& chunk, const RiffChunk& parent, std::uint32_t id) {
    std::uint64_t end = std::min(parent.End(), m_source.Size());
    for (std::uint64_t at = m_nPos; at + 8 <= end;) {
        std::uint32_t foundId = 0;
        std::uint32_t size = 0;
        if (!ReadHeader(at, foundId, size))
            return false;
        if (foundId == id) {
            chunk = {foundId, size, 0, at + 8};
            m_nPos = at + 8;
            return true;
        }
        at += 8 + Padded(size);
    }
    return false;
}

bool CRiffReader::Next(RiffChunk& chunk, const RiffChunk& parent) {
    std::uint32_t id = 0;
    std::uint32_t size = 0;
    if (m_nPos + 8 > std::min(parent.End(), m_source.Size()) || !ReadHeader(m_nPos, id, size))
        return false;
    chunk = {id, size, 0, m_nPos + 8};
    m_nPos += 8;
    return true;
}

void CRiffReader::Ascend(const RiffChunk& chunk) {
    m_nPos = chunk.start + Padded(chunk.size);
}

std::uint64_t CRiffReader::Available(const RiffChunk& chunk) const {
    std::uint64_t fileSize = m_source.Size();
    if (chunk.start >= fileSize)
        return 0;
    return std::min<std::uint64_t>(chunk.size, fileSize - chunk.start);
}

std::size_t CRiffReader::Read(void* data, std::size_t size) {
    std::size_t got = m_source.ReadAt(m_nPos, data, size);
    m_nPos += got;
    return got;
}
