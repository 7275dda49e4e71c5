#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Why a file could not be opened, read or written, in the words the user is shown.
enum class FileErrorCause {
    None,
    Generic,
    NotFound,
    BadPath,
    TooManyOpen,
    AccessDenied,
    HardIo,
    Sharing,
    DiskFull,
    EndOfFile,
};

FileErrorCause FileErrorFromErrno(int error);

// The message for a cause, with the file's path in place of %1.
std::string FileErrorText(FileErrorCause cause, const std::string& path);

struct FileContents {
    std::vector<std::uint8_t> bytes;
    FileErrorCause error = FileErrorCause::None;
};

// Reads a regular file whole; its size bounds what is allocated.
FileContents ReadWholeFile(const std::string& path);

// Writes beside the target and renames over it only on Commit, so a failed save leaves the
// old file untouched. An uncommitted writer removes its temporary file.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file; false (and Error()) when it cannot be.
    bool Open();
    bool Write(const void* data, std::size_t size);
    bool Write(const std::vector<std::uint8_t>& bytes) { return Write(bytes.data(), bytes.size()); }
    // Moves to an absolute position; used to fill in sizes written ahead.
    bool Seek(std::uint64_t position);
    std::uint64_t Position() const { return m_nPosition; }
    // Flushes, closes and renames over the target.
    bool Commit();
    FileErrorCause Error() const { return m_error; }

private:
    bool Fail(int error);

    std::string m_strPath;
    std::string m_strTempPath;
    std::FILE* m_pFile = nullptr;
    std::uint64_t m_nPosition = 0;
    FileErrorCause m_error = FileErrorCause::None;
    bool m_bCommitted = false;
};
