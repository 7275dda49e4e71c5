#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// A buffer for `samples` 16-bit samples, not initialised, or null when memory is short. Large
// buffers ask for transparent huge pages: first touching a long sample then costs a few hundred
// page faults instead of tens of thousands.
std::unique_ptr<std::int16_t[]> AllocateAudio(std::size_t samples);
