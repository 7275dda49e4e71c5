#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The "smpl" chunk that samplers and other sample editors read and write: the sample's unity note
// and its loops. Loop ends are inclusive: the last frame of the loop.
struct SmplLoop {
    static constexpr std::uint32_t kForward = 0;

    std::uint32_t cuePointId = 0;
    std::uint32_t type = kForward;
    std::uint32_t start = 0;
    std::uint32_t end = 0;
    std::uint32_t fraction = 0;
    std::uint32_t playCount = 0; // 0: for ever
};

struct SmplChunk {
    std::uint32_t manufacturer = 0;
    std::uint32_t product = 0;
    std::uint32_t samplePeriod = 0; // nanoseconds per frame
    std::uint32_t unityNote = 60;
    std::uint32_t pitchFraction = 0; // of a semitone upwards, in units of 2^-32
    std::uint32_t smpteFormat = 0;
    std::uint32_t smpteOffset = 0;
    std::vector<SmplLoop> loops;
    std::vector<std::uint8_t> samplerData;

    // Nothing when the bytes are too few for the fixed part; loops and sampler data the chunk
    // claims but does not hold are left out.
    static std::optional<SmplChunk> Parse(std::span<const std::uint8_t> bytes);
    std::vector<std::uint8_t> Bytes() const;

    const SmplLoop* FirstForwardLoop() const;
    // The pitch the unity note and its fraction name, in Hz.
    double PitchHz() const;
    // Unity note and fraction for a pitch; a pitch of 0 (none) leaves them as they are.
    void SetPitchHz(double hz);
};
