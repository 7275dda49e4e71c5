#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// A buffer for `samples` 16-bit samples, not initialised, or null when memory is short. Plain
// pages: asking for transparent huge pages made first touches cheaper on average but, on virtual
// machines that hand freed memory back to the host, now and then twenty times dearer.
std::unique_ptr<std::int16_t[]> AllocateAudio(std::size_t samples);
