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
    ReadOnly,
    NotRegular,
};

FileErrorCause FileErrorFromErrno(int error);

// The message for a cause, with the file's path in place of %1.
std::string FileErrorText(FileErrorCause cause, const std::string& path);

// Opens a file for reading, or says why it cannot: the system's error number, or
// kNotRegularFile for anything but a regular file (a directory is EISDIR). Nothing else is opened,
// and nothing waits: a FIFO would block until a writer came.
inline constexpr int kNotRegularFile = -1;
int OpenRegularFile(const std::string& path, int& error);

// The line that tells why a file was refused: "PATH: No such file or directory", or
// "PATH is not a regular file."
std::string FileProblemText(const std::string& path, int error);

struct FileContents {
    std::vector<std::uint8_t> bytes;
    FileErrorCause error = FileErrorCause::None;
};

// Reads a regular file whole; its size bounds what is allocated.
FileContents ReadWholeFile(const std::string& path);

// A regular file that a save must not replace: no write permission for anyone, or none for us.
bool IsReadOnlyFile(const std::string& path);

// Writes a report's text to `path`, saying why when it cannot: "Error opening output file PATH"
// when the file cannot be created or put in place, the file-error text when writing fails.
bool WriteReportFile(const std::string& path, const std::string& text);

// A written temporary file on its way to its target's place: flushed, still open.
struct PendingCommit {
    std::FILE* file = nullptr;
    std::string tempPath;
    std::string path;
    int signalSlot = -1; // its place among the files a signal removes, or -1
};

// The last steps of a commit: syncs the file to the disk, closes it and renames it over its
// target. 0, or the error number with the temporary file removed; `placing` tells whether it was
// the rename that failed.
int CompleteCommit(PendingCommit& commit, bool& placing);

// Writes beside the target and renames over it only on Commit, so a failed save leaves the
// old file untouched. An uncommitted writer removes its temporary file, and so does SIGINT, SIGTERM
// or SIGHUP while it is open; what SIGKILL leaves behind is named ".NAME.wloe-tmp-XXXXXX".
// A symbolic link is followed: the file it names is replaced, keeping its mode, owner and group.
// A target without write permission is refused (ReadOnly).
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
    // Flushes, syncs, closes and renames over the target. On a thread with a CommitQueue the last
    // three are handed to the queue, and a failure there is reported by the queue.
    bool Commit();
    FileErrorCause Error() const { return m_error; }
    // Why, in the system's words (FileProblemText).
    std::string Problem() const;
    // Everything was written, but the file could not take the target's place (a directory
    // stands there, say).
    bool PlacingFailed() const { return m_bPlacingFailed; }

    // Where the temporary file is, while there is one.
    const std::string& TempPath() const { return m_strTempPath; }

private:
    bool Fail(int error);
    void Forget();

    std::string m_strPath;
    std::string m_strTempPath;
    std::FILE* m_pFile = nullptr;
    std::uint64_t m_nPosition = 0;
    FileErrorCause m_error = FileErrorCause::None;
    int m_nErrno = 0;
    bool m_bCommitted = false;
    bool m_bPlacingFailed = false;
    int m_nSignalSlot = -1;
};
