#pragma once

#include <cstdint>
#include <vector>

// The smallest and largest value of each channel over blocks of 32, 512, 8192, ... frames, so that
// the extremes of any range of frames cost a few hundred reads however long the audio is.
class CWaveSummary {
public:
    struct Extremes {
        std::int16_t min = 0;
        std::int16_t max = 0;
        bool operator==(const Extremes&) const = default;
    };

    // Summarises `frames` frames of interleaved audio, which must stay in place and unchanged
    // until the next Build or Clear. Without the memory for it, ranges are scanned in full.
    void Build(const std::int16_t* samples, std::uint32_t frames, int channels);
    void Clear();
    bool IsBuiltFor(const std::int16_t* samples, std::uint32_t frames, int channels) const {
        return m_bBuilt && samples == m_pSamples && frames == m_nFrames && channels == m_nChannels;
    }

    // Extremes of one channel over frames [first, end); first < end <= frames.
    Extremes Range(int channel, std::uint32_t first, std::uint32_t end) const;

    // Levels of blocks kept (0 when the audio is shorter than one block).
    std::size_t LevelCount() const { return m_levels.size(); }

private:
    static constexpr unsigned kBaseShift = 5;  // 32 frames a block at the first level
    static constexpr unsigned kLevelShift = 4; // each level's blocks hold 16 of the previous level's

    static unsigned Shift(std::size_t level) {
        return kBaseShift + kLevelShift * static_cast<unsigned>(level);
    }

    const std::int16_t* m_pSamples = nullptr;
    std::uint32_t m_nFrames = 0;
    int m_nChannels = 0;
    bool m_bBuilt = false;
    // m_levels[l][block × channels + channel]
    std::vector<std::vector<Extremes>> m_levels;
};
