#include "sample/AudioBuffer.h"

#include <new>
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;

void AdviseHugePages([[maybe_unused]] void* data, [[maybe_unused]] std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (bytes < 2 * kHugePage)
        return;
    // Only whole huge pages inside the buffer can be backed by them.
    auto first = (reinterpret_cast<std::uintptr_t>(data) + kHugePage - 1) & ~(kHugePage - 1);
    auto last = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(kHugePage - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE); // advice only
#endif
}
} // namespace

std::unique_ptr<std::int16_t[]> AllocateAudio(std::size_t samples) {
    if (samples > SIZE_MAX / sizeof(std::int16_t))
        return nullptr;
    std::unique_ptr<std::int16_t[]> buffer(new (std::nothrow) std::int16_t[samples]);
    if (buffer)
        AdviseHugePages(buffer.get(), samples * sizeof(std::int16_t));
    return buffer;
}
