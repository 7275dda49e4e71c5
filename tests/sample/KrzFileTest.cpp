#include "sample/KrzFile.h"

#include "sample/RiffReader.h"
#include "support/KrzBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace {
using Bytes = std::vector<std::uint8_t>;

std::vector<std::string> ListTexts(const Bytes& bytes) {
    CMemoryRiffSource source(bytes.data(), bytes.size());
    std::vector<std::string> texts;
    for (const KrzSampleEntry& entry : CKrzFile(source).ListSamples())
        texts.push_back(KrzListText(entry));
    return texts;
}

// Reads the last sample listed; `claimed` makes the file say it is longer than what can be read.
KrzError ReadLast(const Bytes& bytes, KrzSampleAudio& audio, std::uint64_t claimed = 0) {
    struct Source : CMemoryRiffSource {
        using CMemoryRiffSource::CMemoryRiffSource;
        std::uint64_t Size() const override { return m_nClaimed ? m_nClaimed : CMemoryRiffSource::Size(); }
        std::uint64_t m_nClaimed = 0;
    } source(bytes.data(), bytes.size());
    source.m_nClaimed = claimed;
    CKrzFile file(source);
    std::vector<KrzSampleEntry> entries = file.ListSamples();
    EXPECT_FALSE(entries.empty());
    return entries.empty() ? KrzError::None : file.ReadSample(entries.back().headerOffset, audio);
}

const std::string kKept = "Kept (pitch C 4, rate 44099)";
} // namespace

TEST(KrzFile, RateIsTheTruncatedSinglePrecisionQuotient) {
    EXPECT_EQ(KrzRate(22676), 44099u);
    EXPECT_EQ(KrzRate(20833), 48000u);
    EXPECT_EQ(KrzRate(1), 1000000000u);
    EXPECT_EQ(KrzRate(0), 0u);
}

TEST(KrzFile, ListsSampleObjectsInFileOrderSkippingOtherBlocks) {
    KrzBuilder builder;
    builder.Other(0x24, 40)
        .Add({.name = "Piano C4", .audio = {1, 2, 3}})
        .Other(0x70, 12)
        .Add({.name = "Low", .rootKey = -3, .period = 20833, .audio = {4}}, 0x99)
        .Add({.name = std::string("Cr\xE8me\0junk", 10), .rootKey = 127, .period = 31250});
    EXPECT_EQ(ListTexts(builder.Bytes()),
              (std::vector<std::string>{"Piano C4 (pitch C 4, rate 44099)", "Low (pitch ***, rate 48000)",
                                        "Cr\xC3\xA8me (pitch G 9, rate 32000)"}));

    Bytes bytes = builder.Bytes();
    bytes[0] = 'R';
    EXPECT_TRUE(ListTexts(bytes).empty());
    EXPECT_EQ(KrzErrorText(KrzError::NotPram), "File is not a Kurzweil PRAM file");
}

TEST(KrzFile, TheScanEndsAtAZeroOrAStepThatDoesNotMoveOn) {
    KrzBuilder zeroFirst;
    zeroFirst.Block(0, 0x98, Bytes(100)).Add({.name = "After"});
    EXPECT_TRUE(ListTexts(zeroFirst.Bytes()).empty());
    // Stored positive (a backward step), shorter than a block's header, the most negative value.
    for (std::int32_t stored : {120, -4, std::numeric_limits<std::int32_t>::min()}) {
        KrzBuilder builder;
        builder.Add({.name = "Kept"}).Block(stored, 0x10, Bytes(120)).Add({.name = "Lost"});
        EXPECT_EQ(ListTexts(builder.Bytes()), std::vector<std::string>{kKept}) << stored;
    }
}

TEST(KrzFile, DamagedBlocksAreNeverReadPastTheirEnds) {
    // A name running past its block, and a sample block too short for its header, are skipped.
    KrzBuilder builder;
    builder.Add({.name = "Bad", .nameLength = 60000}).Block(-12, 0x98, Bytes(4)).Add({.name = "Kept"});
    EXPECT_EQ(ListTexts(builder.Bytes()), std::vector<std::string>{kKept});

    // Cut anywhere, a file lists at most what it holds whole, and its data offset past the end
    // changes nothing.
    Bytes whole = builder.Add({.name = "Two"}).Bytes();
    for (std::size_t size = 0; size < whole.size(); ++size)
        EXPECT_LE(ListTexts(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size))).size(),
                  size < whole.size() - 4 ? 1u : 2u);
    std::fill_n(whole.begin() + 4, 4, 0xFF);
    EXPECT_EQ(ListTexts(whole).size(), 2u);
}

TEST(KrzFile, ReadsBigEndianAudioWithTheLoopRunningToTheEnd) {
    KrzBuilder builder;
    builder.Add({.name = "Pad", .audio = {9, 9}});
    KrzSampleAudio audio;
    ASSERT_EQ(ReadLast(builder.Bytes(), audio), KrzError::None);
    // A loop start equal to the sample's start loops the whole sample.
    EXPECT_EQ(std::tuple(audio.loopStart, audio.loopLength, audio.rate), std::tuple(0u, 2u, 44099u));

    builder.Add({.name = "S", .period = 20833, .audio = {0x1234, -2, 32767, -32768, 7}, .loopFrame = 3});
    ASSERT_EQ(ReadLast(builder.Bytes(), audio), KrzError::None);
    EXPECT_EQ(std::vector<std::int16_t>(audio.data.get(), audio.data.get() + audio.frames),
              (std::vector<std::int16_t>{0x1234, -2, 32767, -32768, 7}));
    EXPECT_EQ(std::tuple(audio.loopStart, audio.loopLength, audio.rate), std::tuple(3u, 2u, 48000u));

    // The second sample starts at 1: a loop start before or after it gives no loop.
    for (long long loopStart : {0LL, 1000LL}) {
        KrzBuilder outside;
        outside.Add({.name = "Pad", .audio = {9, 9}})
            .Add({.name = "S", .audio = {1, 2, 3}, .loopStart = loopStart});
        ASSERT_EQ(ReadLast(outside.Bytes(), audio), KrzError::None);
        EXPECT_EQ(std::tuple(audio.frames, audio.loopLength), std::tuple(3u, 0u));
    }
}

TEST(KrzFile, DamagedHeadersAreRefusedBeforeAnythingIsAllocated) {
    struct {
        KrzBuilder::Sample sample;
        KrzError error;
    } cases[] = {
        {{.name = "Backwards", .audio = {1, 2}, .start = 10, .end = 4}, KrzError::EndBeforeStart},
        {{.name = "NoRate", .period = 0, .audio = {1}}, KrzError::NoPeriod},
        // Over a second per sample: the rate would truncate to 0.
        {{.name = "TooSlow", .period = 1500000000, .audio = {1}}, KrzError::NoPeriod},
        {{.name = "Huge", .audio = {1}, .start = 0, .end = 0xFFFFFFFF}, KrzError::AudioBeyondFile},
        {{.name = "Far", .audio = {1}, .start = 0x40000000, .end = 0x40000001}, KrzError::AudioBeyondFile},
    };
    for (const auto& c : cases) {
        KrzSampleAudio audio;
        EXPECT_EQ(ReadLast(KrzBuilder().Add(c.sample).Bytes(), audio), c.error) << c.sample.name;
        EXPECT_EQ(audio.data, nullptr);
    }
    Bytes bytes = KrzBuilder().Add({.name = "S"}).Bytes();
    CMemoryRiffSource source(bytes.data(), bytes.size());
    KrzSampleAudio audio;
    EXPECT_EQ(CKrzFile(source).ReadSample(bytes.size() - 10, audio), KrzError::HeaderBeyondFile);
}

TEST(KrzFile, AShortReadLeavesTheRestSilent) {
    Bytes bytes = KrzBuilder().Add({.name = "S", .audio = std::vector<std::int16_t>(20000, -1)}).Bytes();
    // The last 1001 bytes (500 samples and a half) cannot be read, though the size says they are there.
    KrzSampleAudio audio;
    ASSERT_EQ(ReadLast(Bytes(bytes.begin(), bytes.end() - 1001), audio, bytes.size()), KrzError::None);
    ASSERT_EQ(audio.frames, 20000u);
    const std::int16_t* read = audio.data.get();
    EXPECT_EQ(std::count(read, read + 20000 - 501, -1), 20000 - 501);
    EXPECT_EQ(std::count(read + 20000 - 501, read + 20000, 0), 501);
}
