#include "sample/WaveSummary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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
