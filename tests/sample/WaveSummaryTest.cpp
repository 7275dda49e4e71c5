#include "sample/WaveSummary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {
CWaveSummary::Extremes Scan(const std::vector<std::int16_t>& audio, int channels, int channel,
                            std::uint32_t first, std::uint32_t end) {
    std::int16_t lo = audio[std::size_t{first} * channels + channel], hi = lo;
    for (std::uint32_t i = first; i < end; ++i) {
        lo = std::min(lo, audio[std::size_t{i} * channels + channel]);
        hi = std::max(hi, audio[std::size_t{i} * channels + channel]);
    }
    return {lo, hi};
}
} // namespace

TEST(WaveSummary, AnyRangeHasTheExtremesOfItsFrames) {
    std::mt19937 random(3);
    std::uniform_int_distribution<int> value(-32768, 32767);
    for (int channels : {1, 2}) {
        const std::uint32_t frames = 100000;
        std::vector<std::int16_t> audio(std::size_t{frames} * channels);
        for (auto& v : audio)
            v = static_cast<std::int16_t>(value(random));
        CWaveSummary summary;
        summary.Build(audio.data(), frames, channels);
        EXPECT_GE(summary.LevelCount(), 3u);
        std::uniform_int_distribution<std::uint32_t> position(0, frames - 1);
        for (int trial = 0; trial < 300; ++trial) {
            std::uint32_t a = position(random), b = position(random);
            // Short ranges, long ranges, and ranges on block boundaries.
            if (trial % 3 == 0)
                b = std::min(frames - 1, a + trial % 70);
            if (trial % 5 == 0)
                a &= ~511u;
            auto [first, last] = std::minmax(a, b);
            int channel = trial % channels;
            ASSERT_EQ(summary.Range(channel, first, last + 1),
                      Scan(audio, channels, channel, first, last + 1))
                << first << ".." << last;
        }
        EXPECT_EQ(summary.Range(0, 0, frames), Scan(audio, channels, 0, 0, frames));
    }
}

TEST(WaveSummary, NoRangeReadsAFrameOutsideItself) {
    // Rising in one channel and falling in the other: any frame too many or too few at either end
    // changes an extreme.
    const std::uint32_t frames = 10000;
    std::vector<std::int16_t> audio(frames * 2);
    for (std::uint32_t i = 0; i < frames; ++i) {
        audio[2 * i] = static_cast<std::int16_t>(int(i) - 5000);
        audio[2 * i + 1] = static_cast<std::int16_t>(5000 - int(i));
    }
    CWaveSummary summary;
    summary.Build(audio.data(), frames, 2);
    ASSERT_EQ(summary.LevelCount(), 3u);
    for (std::uint32_t first : {0u, 1u, 31u, 32u, 33u, 500u, 511u, 512u, 513u, 8191u, 8192u, 8193u}) {
        for (std::uint32_t end = first + 1; end <= frames; ++end) {
            const auto lo = static_cast<std::int16_t>(int(first) - 5000);
            const auto hi = static_cast<std::int16_t>(int(end) - 1 - 5000);
            ASSERT_EQ(summary.Range(0, first, end), (CWaveSummary::Extremes{lo, hi})) << first << ".." << end;
            ASSERT_EQ(summary.Range(1, first, end), (CWaveSummary::Extremes{static_cast<std::int16_t>(-hi),
                                                                            static_cast<std::int16_t>(-lo)}))
                << first << ".." << end;
        }
    }
}

TEST(WaveSummary, ShortAudioHasNoLevelsAndIsScanned) {
    std::vector<std::int16_t> audio{5, -3, 9, 0, 2};
    CWaveSummary summary;
    summary.Build(audio.data(), 5, 1);
    EXPECT_EQ(summary.LevelCount(), 0u);
    EXPECT_EQ(summary.Range(0, 1, 4), (CWaveSummary::Extremes{-3, 9}));
    EXPECT_EQ(summary.Range(0, 4, 5), (CWaveSummary::Extremes{2, 2}));
}

TEST(WaveSummary, KnowsWhichAudioItSummarises) {
    std::vector<std::int16_t> audio(64, 1);
    CWaveSummary summary;
    EXPECT_FALSE(summary.IsBuiltFor(audio.data(), 64, 1));
    summary.Build(audio.data(), 64, 1);
    EXPECT_TRUE(summary.IsBuiltFor(audio.data(), 64, 1));
    EXPECT_FALSE(summary.IsBuiltFor(audio.data(), 32, 2));
    EXPECT_FALSE(summary.IsBuiltFor(audio.data(), 63, 1));
    summary.Clear();
    EXPECT_FALSE(summary.IsBuiltFor(audio.data(), 64, 1));
}
