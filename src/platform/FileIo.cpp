#include "platform/FileIo.h"

#include "platform/CommitQueue.h"
#include "platform/Ui.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

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
    case FileErrorCause::ReadOnly:
        pattern = "%1 is read-only.";
        break;
    case FileErrorCause::NotRegular:
        pattern = "%1 is not a regular file.";
        break;
    }
    std::string text = pattern;
    text.replace(text.find("%1"), 2, path);
    return text;
}

int OpenRegularFile(const std::string& path, int& error) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        error = S_ISDIR(info.st_mode) ? EISDIR : kNotRegularFile;
        return -1;
    }
    // Not waiting, in case the name became something else since.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = S_ISDIR(info.st_mode) ? EISDIR : kNotRegularFile;
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    error = 0;
    return fd;
}

std::string FileProblemText(const std::string& path, int error) {
    if (error == kNotRegularFile)
        return path + " is not a regular file.";
    return path + ": " + std::strerror(error);
}

FileContents ReadWholeFile(const std::string& path) {
    FileContents result;
    int error = 0;
    int fd = OpenRegularFile(path, error);
    if (fd < 0) {
        result.error = error == kNotRegularFile ? FileErrorCause::NotRegular
                       : error == EISDIR        ? FileErrorCause::AccessDenied
                                                : FileErrorFromErrno(error);
        return result;
    }
    struct stat info {};
    ::fstat(fd, &info);
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

namespace {
// The temporary files open right now, where a signal handler can reach them without allocating.
struct TempSlot {
    std::atomic<bool> used{false};
    char path[4096];
};
std::array<TempSlot, 16> g_tempSlots;

extern "C" void RemoveTempFilesAndDie(int signal) {
    for (TempSlot& slot : g_tempSlots)
        if (slot.used.load())
            ::unlink(slot.path);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void InstallSignalHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
            struct sigaction action {};
            struct sigaction previous {};
            ::sigaction(signal, nullptr, &previous);
            // A signal the process ignores stays ignored.
            if (previous.sa_handler == SIG_IGN)
                continue;
            action.sa_handler = RemoveTempFilesAndDie;
            sigemptyset(&action.sa_mask);
            ::sigaction(signal, &action, nullptr);
        }
    });
}

int RememberTempFile(const std::string& path) {
    if (path.size() >= sizeof(TempSlot::path))
        return -1;
    for (std::size_t i = 0; i < g_tempSlots.size(); ++i) {
        TempSlot& slot = g_tempSlots[i];
        if (slot.used.load())
            continue;
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        bool expected = false;
        if (slot.used.compare_exchange_strong(expected, true))
            return static_cast<int>(i);
    }
    return -1;
}

void ForgetTempFile(int slot) {
    if (slot >= 0)
        g_tempSlots[static_cast<std::size_t>(slot)].used.store(false);
}

// The file a save replaces: a symbolic link is followed to the file it names.
std::string SaveTarget(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error))
        return path;
    std::filesystem::path target = std::filesystem::weakly_canonical(path, error);
    return error ? path : target.string();
}

// ".NAME.wloe-tmp-XXXXXX" beside the target, so that a user can tell what a killed save left.
std::string TempPattern(const std::string& path) {
    std::filesystem::path target(path);
    // Appended piece by piece: GCC 12 at -O3 sees an overlap that is not there in `"." + name`.
    std::string name = ".";
    name += target.filename().string();
    name += ".wloe-tmp-XXXXXX";
    return (target.parent_path() / name).string();
}
} // namespace

AtomicFileWriter::AtomicFileWriter(std::string path) : m_strPath(SaveTarget(path)) {}

AtomicFileWriter::~AtomicFileWriter() {
    if (m_pFile)
        std::fclose(m_pFile);
    if (!m_bCommitted && !m_strTempPath.empty())
        ::unlink(m_strTempPath.c_str());
    Forget();
}

void AtomicFileWriter::Forget() {
    ForgetTempFile(std::exchange(m_nSignalSlot, -1));
}

std::string AtomicFileWriter::Problem() const {
    if (m_error == FileErrorCause::ReadOnly)
        return FileErrorText(m_error, m_strPath);
    return FileProblemText(m_strPath, m_nErrno != 0 ? m_nErrno : EIO);
}

bool AtomicFileWriter::Fail(int error) {
    if (m_nErrno == 0)
        m_nErrno = error;
    if (m_error == FileErrorCause::None)
        m_error = FileErrorFromErrno(error);
    if (m_error == FileErrorCause::None)
        m_error = FileErrorCause::Generic;
    return false;
}

bool IsReadOnlyFile(const std::string& path) {
    struct stat info {};
    // Root passes every access() check, so the mode counts too.
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ((info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0);
}

bool AtomicFileWriter::Open() {
    // Renaming would replace a file its owner protected.
    if (IsReadOnlyFile(m_strPath)) {
        m_error = FileErrorCause::ReadOnly;
        return false;
    }
    struct stat existing {};
    bool exists = ::stat(m_strPath.c_str(), &existing) == 0;
    InstallSignalHandlers();
    m_strTempPath = TempPattern(m_strPath);
    std::vector<char> pattern(m_strTempPath.begin(), m_strTempPath.end());
    pattern.push_back('\0');
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        m_strTempPath.clear();
        return Fail(errno);
    }
    m_strTempPath = pattern.data();
    m_nSignalSlot = RememberTempFile(m_strTempPath);
    // mkstemp makes the file private; a saved document gets the usual permissions, or keeps the
    // mode, owner and group it had (as far as this process may give them).
    mode_t mask = ::umask(0);
    ::umask(mask);
    if (exists) {
        [[maybe_unused]] int ignored = ::fchown(fd, existing.st_uid, existing.st_gid);
    }
    ::fchmod(fd, exists ? existing.st_mode & 07777 : 0666 & ~mask);
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

int CompleteCommit(PendingCommit& commit, bool& placing) {
    placing = false;
    int error = ::fsync(::fileno(commit.file)) == 0 ? 0 : errno;
    if (std::fclose(commit.file) != 0 && error == 0)
        error = errno;
    commit.file = nullptr;
    if (error == 0 && ::rename(commit.tempPath.c_str(), commit.path.c_str()) != 0) {
        error = errno;
        placing = true;
    }
    if (error != 0)
        ::unlink(commit.tempPath.c_str());
    ForgetTempFile(commit.signalSlot);
    return error;
}

bool AtomicFileWriter::Commit() {
    if (!m_pFile || m_error != FileErrorCause::None)
        return false;
    if (std::fflush(m_pFile) != 0)
        return Fail(errno);
    PendingCommit pending{std::exchange(m_pFile, nullptr), m_strTempPath, m_strPath,
                          std::exchange(m_nSignalSlot, -1)};
    // The temporary file is no longer this writer's to remove.
    m_bCommitted = true;
    if (CommitQueue* queue = CommitQueue::ForThisThread()) {
        queue->Add(std::move(pending));
        return true;
    }
    if (int error = CompleteCommit(pending, m_bPlacingFailed))
        return Fail(error);
    return true;
}

bool WriteReportFile(const std::string& path, const std::string& text) {
    AtomicFileWriter writer(path);
    if (writer.Open() && writer.Write(text.data(), text.size()) && writer.Commit())
        return true;
    if (writer.PlacingFailed() || writer.TempPath().empty())
        GetUi().Message("Error opening output file " + path, MessageIcon::Exclamation);
    else
        GetUi().Message(FileErrorText(writer.Error(), path), MessageIcon::Exclamation);
    return false;
}
