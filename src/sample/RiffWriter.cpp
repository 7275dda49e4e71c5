#include "sample/RiffWriter.h"

#include "platform/FileIo.h"
#include "sample/LittleEndian.h"

bool CRiffWriter::Fail(Error error, bool seeking) {
    if (m_error != Error::None)
        return false;
    // A seek flushes buffered output, so a full disk may first show itself there.
    FileErrorCause cause = m_file.Error();
    if (seeking && (cause == FileErrorCause::DiskFull || cause == FileErrorCause::HardIo))
        error = Error::CannotWrite;
    m_error = error;
    return false;
}

bool CRiffWriter::Write(const void* data, std::size_t size) {
    if (m_error != Error::None)
        return false;
    return m_file.Write(data, size) || Fail(Error::CannotWrite, false);
}

bool CRiffWriter::CreateChunk(RiffChunk& chunk, std::uint32_t id, std::uint32_t formType) {
    std::uint8_t header[12];
    PutLE32(header, id);
    PutLE32(header + 4, 0);
    PutLE32(header + 8, formType);
    bool hasForm = id == FourCC("RIFF") || id == FourCC("LIST");
    chunk = {id, 0, formType, m_file.Position() + 8};
    return Write(header, hasForm ? 12 : 8);
}

bool CRiffWriter::Ascend(RiffChunk& chunk) {
    if (m_error != Error::None)
        return false;
    std::uint64_t end = m_file.Position();
    std::uint64_t size = end - chunk.start;
    if (size > 0xFFFFFFFFu)
        return Fail(Error::TooLarge, false);
    if ((size & 1) != 0) {
        const std::uint8_t pad = 0;
        if (!Write(&pad, 1))
            return false;
        ++end;
    }
    chunk.size = static_cast<std::uint32_t>(size);
    std::uint8_t bytes[4];
    PutLE32(bytes, chunk.size);
    if (!m_file.Seek(chunk.start - 4))
        return Fail(Error::CannotSeek, true);
    if (!Write(bytes, sizeof bytes))
        return false;
    if (!m_file.Seek(end))
        return Fail(Error::CannotSeek, true);
    return true;
}

bool CRiffWriter::WriteChunk(std::uint32_t id, const void* data, std::size_t size) {
    if (size > 0xFFFFFFFFu)
        return Fail(Error::TooLarge, false);
    std::uint8_t header[8];
    PutLE32(header, id);
    PutLE32(header + 4, static_cast<std::uint32_t>(size));
    const std::uint8_t pad = 0;
    return Write(header, sizeof header) && Write(data, size) && ((size & 1) == 0 || Write(&pad, 1));
}
