#include "platform/FileIo.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileErrorCause FileErrorFromErrno(int error) {
    switch (error) {
    case 0:
        return FileErrorCause::None;
    case ENOENT:
        return FileErrorCause::NotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
        return FileErrorCause::BadPath;
    case EMFILE:
    case ENFILE:
        return FileErrorCause::TooManyOpen;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return FileErrorCause::AccessDenied;
    case EIO:
        return FileErrorCause::HardIo;
    case EBUSY:
    case ETXTBSY:
        return FileErrorCause::Sharing;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileErrorCause::DiskFull;
    default:
        return FileErrorCause::Generic;
    }
}

std::string FileErrorText(FileErrorCause cause, const std::string& path) {
    const char* pattern = "An unknown error occurred while accessing %1.";
    switch (cause) {
    case FileErrorCause::None:
    case FileErrorCause::Generic:
        break;
    case FileErrorCause::NotFound:
        pattern = "%1 was not found.";
        break;
    case FileErrorCause::BadPath:
        pattern = "%1 contains an invalid path.";
        break;
    case FileErrorCause::TooManyOpen:
        pattern = "%1 could not be opened because there are too many open files.";
        break;
    case FileErrorCause::AccessDenied:
        pattern = "Access to %1 was denied.";
        break;
    case FileErrorCause::HardIo:
        pattern = "A hardware I/O error was reported while accessing %1.";
        break;
    case FileErrorCause::Sharing:
        pattern = "A sharing violation occurred while accessing %1.";
        break;
    case FileErrorCause::DiskFull:
        pattern = "Disk full while accessing %1.";
        break;
    case FileErrorCause::EndOfFile:
        pattern = "An attempt was made to access %1 past its end.";
        break;
    }
    std::string text = pattern;
    text.replace(text.find("%1"), 2, path);
    return text;
}

FileContents ReadWholeFile(const std::string& path) {
    FileContents result;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.error = FileErrorFromErrno(errno);
        return result;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        result.error = S_ISDIR(info.st_mode) ? FileErrorCause::AccessDenied : FileErrorFromErrno(errno);
        ::close(fd);
        return result;
    }
    result.bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < result.bytes.size()) {
        ssize_t got = ::read(fd, result.bytes.data() + done, result.bytes.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            if (got < 0)
                result.error = FileErrorFromErrno(errno);
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    // A file that shrank while being read is read as far as it goes.
    result.bytes.resize(done);
    ::close(fd);
    return result;
}

AtomicFileWriter::AtomicFileWriter(std::string path) : m_strPath(std::move(path)) {}

AtomicFileWriter::~AtomicFileWriter() {
    if (m_pFile)
        std::fclose(m_pFile);
    if (!m_bCommitted && !m_strTempPath.empty())
        ::unlink(m_strTempPath.c_str());
}

bool AtomicFileWriter::Fail(int error) {
    if (m_error == FileErrorCause::None)
        m_error = FileErrorFromErrno(error);
    if (m_error == FileErrorCause::None)
        m_error = FileErrorCause::Generic;
    return false;
}

bool AtomicFileWriter::Open() {
    m_strTempPath = m_strPath + ".XXXXXX";
    std::vector<char> pattern(m_strTempPath.begin(), m_strTempPath.end());
    pattern.push_back('\0');
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        m_strTempPath.clear();
        return Fail(errno);
    }
    m_strTempPath = pattern.data();
    // mkstemp makes the file private; a saved document gets the usual permissions.
    mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat existing {};
    ::fchmod(fd, ::stat(m_strPath.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0666 & ~mask);
    m_pFile = ::fdopen(fd, "wb");
    if (!m_pFile) {
        int error = errno;
        ::close(fd);
        return Fail(error);
    }
    return true;
}

bool AtomicFileWriter::Write(const void* data, std::size_t size) {
    if (!m_pFile || m_error != FileErrorCause::None)
        return false;
    if (size != 0 && std::fwrite(data, 1, size, m_pFile) != size)
        return Fail(errno);
    m_nPosition += size;
    return true;
}

bool AtomicFileWriter::Seek(std::uint64_t position) {
    if (!m_pFile || m_error != FileErrorCause::None)
        return false;
    if (::fseeko(m_pFile, static_cast<off_t>(position), SEEK_SET) != 0)
        return Fail(errno);
    m_nPosition = position;
    return true;
}

bool AtomicFileWriter::Commit() {
    if (!m_pFile || m_error != FileErrorCause::None)
        return false;
    bool flushed = std::fflush(m_pFile) == 0 && ::fsync(::fileno(m_pFile)) == 0;
    int error = errno;
    bool closed = std::fclose(m_pFile) == 0;
    if (!closed && flushed)
        error = errno;
    m_pFile = nullptr;
    if (!flushed || !closed)
        return Fail(error);
    if (::rename(m_strTempPath.c_str(), m_strPath.c_str()) != 0)
        return Fail(errno);
    m_bCommitted = true;
    return true;
}
