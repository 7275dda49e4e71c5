#include "sample/MappedRiffSource.h"

#include "platform/FileIo.h"

#include <cstdint>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

std::unique_ptr<CMappedRiffSource> CMappedRiffSource::Open(const std::string& path, int& error) {
    int fd = OpenRegularFile(path, error);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    void* mapped = MAP_FAILED;
    if (::fstat(fd, &info) == 0 && info.st_size > 0 && static_cast<std::uint64_t>(info.st_size) <= SIZE_MAX)
        // Populated at once: one pass of the kernel over the page tables costs less than a fault for
        // every few pages as the audio is read.
        mapped = ::mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ,
                        MAP_PRIVATE | MAP_POPULATE, fd, 0);
    ::close(fd);
    if (mapped == MAP_FAILED)
        return nullptr;
    return std::unique_ptr<CMappedRiffSource>(new CMappedRiffSource(static_cast<const std::uint8_t*>(mapped),
                                                                    static_cast<std::size_t>(info.st_size)));
}

CMappedRiffSource::~CMappedRiffSource() {
    ::munmap(const_cast<std::uint8_t*>(m_pMapped), m_nMapped);
}
