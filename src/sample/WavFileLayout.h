#pragma once

#include "sample/WavChunks.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class CRiffWriter;

// Everything a 16-bit PCM WAVE file of ours holds but the audio itself.
struct WavFileParts {
    static constexpr std::uint32_t kInfoSize = 56;

    std::uint16_t channels = 1;
    std::uint32_t rate = 0;
    std::array<std::uint8_t, kInfoSize> info{}; // the "vElO" chunk
    std::vector<WavKeptChunk> chunks;           // "smpl" among them
    std::uint64_t dataBytes = 0;

    // What the RIFF chunk's size field must hold; a file needs it to fit 32 bits.
    std::uint64_t RiffSize() const;
};

// The one layout of every WAVE file we write: "fmt ", the kept chunks from before the audio,
// "vElO", "data" filled by `writeAudio` (exactly `dataBytes`), the kept chunks from after it. False
// when the writer failed (its error says how); the caller commits or abandons the file.
bool WriteWavLayout(CRiffWriter& writer, const WavFileParts& parts,
                    const std::function<void(CRiffWriter&)>& writeAudio);
