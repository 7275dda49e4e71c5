#pragma once

// What every resampling kernel shares: the checks of its parameters, an empty source read as
// silence, and its output written a block at a time.

#include "sample/Resample.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace resample_run {
// Destination frames per block: progress is reported, or a block handed on, after each.
inline constexpr std::uint32_t kBlockFrames = 1u << 14;

// Beyond this the running position would no longer fit its integer.
inline constexpr double kFarthestPosition = 0x1p62;

// An empty source reads as one silent frame.
inline constexpr std::int16_t kSilentFrame[2] = {0, 0};

inline void CheckParams(const ResampleParams& params, int channels, bool intoDestination = true) {
    if (params.sourceChannels != params.destinationChannels ||
        (channels != 0 && params.sourceChannels != channels) ||
        (params.sourceChannels != 1 && params.sourceChannels != 2))
        throw std::invalid_argument("resample: source and destination need the same 1 or 2 channels");
    if (!(params.phase >= 0) || !(params.step > 0 && params.step <= kMaxResampleStep) ||
        !(params.phase + params.destinationFrames * params.step < kFarthestPosition))
        throw std::invalid_argument("resample: phase or step out of range");
    if ((params.sourceFrames != 0 && !params.source) ||
        (intoDestination && params.destinationFrames != 0 && !params.destination))
        throw std::invalid_argument("resample: missing buffer");
}

inline ResampleParams WithSource(const ResampleParams& params) {
    ResampleParams local = params;
    if (local.sourceFrames == 0) {
        local.source = kSilentFrame;
        local.sourceFrames = 1;
    }
    return local;
}

// Where the kernels put each block of destination frames: into the destination, telling the
// progress callback after each block; or into one reused block that is handed on each time.
class BlockOutput {
public:
    BlockOutput(float* destination, const ResampleProgress& progress)
        : m_pDestination(destination), m_progress(progress) {}
    BlockOutput(int channels, const ResampleBlockSink& take)
        : m_block(std::size_t{kBlockFrames} * channels), m_take(take) {}

    // Runs `frames(begin, end, out)` over `total` frames in blocks; `out` receives frame `begin`.
    template <int Channels, class Frames> void Run(std::uint32_t total, Frames&& frames) {
        for (std::uint32_t begin = 0; begin < total;) {
            std::uint32_t end = total - begin > kBlockFrames ? begin + kBlockFrames : total;
            float* out = m_pDestination ? m_pDestination + std::size_t{begin} * Channels : m_block.data();
            frames(begin, end, out);
            if (!m_pDestination)
                m_take(m_block.data(), begin, end - begin);
            else if (m_progress)
                m_progress(end);
            begin = end;
        }
    }

private:
    float* m_pDestination = nullptr;
    ResampleProgress m_progress;
    std::vector<float> m_block;
    ResampleBlockSink m_take;
};
} // namespace resample_run
