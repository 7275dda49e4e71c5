#include "sample/AudioBuffer.h"

#include <cstdint>
#include <new>

std::unique_ptr<std::int16_t[]> AllocateAudio(std::size_t samples) {
    if (samples > SIZE_MAX / sizeof(std::int16_t))
        return nullptr;
    return std::unique_ptr<std::int16_t[]>(new (std::nothrow) std::int16_t[samples]);
}
