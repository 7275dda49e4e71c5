#include "sample/KrzFile.h"

#include "sample/RiffReader.h"
#include "support/KrzBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
std::vector<std::string> ListTexts(const std::vector<std::uint8_t>& bytes) {
    CMemoryRiffSource source(bytes.data(), bytes.size());
    std::vector<std::string> texts;
    for (const KrzSampleEntry& entry : CKrzFile(source).ListSamples())
        texts.push_back(KrzListText(entry));
    return texts;
}

// Reads the last sample the file lists.
KrzError ReadLast(const std::vector<std::uint8_t>& bytes, KrzSampleAudio& audio) {
    CMemoryRiffSource source(bytes.data(), bytes.size());
    CKrzFile file(source);
    std::vector<KrzSampleEntry> entries = file.ListSamples();
    if (entries.empty())
        ADD_FAILURE() << "no sample listed";
    return entries.empty() ? KrzError::None : file.ReadSample(entries.back().headerOffset, audio);
}

std::vector<std::int16_t> Audio(const KrzSampleAudio& audio) {
    return {audio.data.get(), audio.data.get() + audio.frames};
}

// A file that says it is longer than what can be read from it, as when a read fails midway.
class ShortSource : public CMemoryRiffSource {
public:
    ShortSource(const std::vector<std::uint8_t>& bytes, std::uint64_t claimed)
        : CMemoryRiffSource(bytes.data(), bytes.size()), m_nClaimed(claimed) {}
    std::uint64_t Size() const override { return m_nClaimed; }

private:
    std::uint64_t m_nClaimed;
};
} // namespace

TEST(KrzFile, RateIsTheTruncatedSinglePrecisionQuotient) {
    EXPECT_EQ(KrzRate(22676), 44099u);
    EXPECT_EQ(KrzRate(20833), 48000u);
    EXPECT_EQ(KrzRate(1), 1000000000u);
    EXPECT_EQ(KrzRate(std::numeric_limits<std::uint32_t>::max()), 0u);
    EXPECT_EQ(KrzRate(0), 0u);
}

TEST(KrzFile, ListsSampleObjectsInFileOrderSkippingOtherBlocks) {
    KrzBuilder builder;
    builder.Other(0x24, 40)
        .Add({.name = "Piano C4", .rootKey = 60, .period = 22676, .audio = {1, 2, 3}})
        .Other(0x70, 12)
        .Add({.name = "Low", .rootKey = -3, .period = 20833, .audio = {4}}, 0x99)
        .Add({.name = "Top", .rootKey = 127, .period = 31250, .audio = {5, 6}, .tail = 17});
    EXPECT_EQ(ListTexts(builder.Bytes()),
              (std::vector<std::string>{"Piano C4 (pitch C 4, rate 44099)", "Low (pitch ***, rate 48000)",
                                        "Top (pitch G 9, rate 32000)"}));
}

TEST(KrzFile, NamesAreShownInUtf8AndEndAtTheirZero) {
    KrzBuilder builder;
    builder.Add({.name = std::string("Cr\xE8me\0junk", 10), .audio = {1}});
    EXPECT_EQ(ListTexts(builder.Bytes()), std::vector<std::string>{"Cr\xC3\xA8me (pitch C 4, rate 44099)"});
}

TEST(KrzFile, TheScanEndsAtAZeroOrBackwardSize) {
    KrzBuilder zeroFirst;
    zeroFirst.Raw(0, 0x98, 100).Add({.name = "After", .audio = {1}});
    EXPECT_TRUE(ListTexts(zeroFirst.Bytes()).empty());

    // A stored positive size would move the scan backwards; the most negative one must not overflow.
    for (std::int32_t stored : {120, std::numeric_limits<std::int32_t>::min(), -4}) {
        KrzBuilder builder;
        builder.Add({.name = "Kept", .audio = {1}})
            .Raw(stored, 0x10, 120)
            .Add({.name = "Lost", .audio = {1}});
        EXPECT_EQ(ListTexts(builder.Bytes()), std::vector<std::string>{"Kept (pitch C 4, rate 44099)"})
            << stored;
    }
}

TEST(KrzFile, WithoutTheMagicNothingIsListedOrRead) {
    KrzBuilder builder;
    builder.Magic("RIFF").Add({.name = "S", .audio = {1}});
    std::vector<std::uint8_t> bytes = builder.Bytes();
    CMemoryRiffSource source(bytes.data(), bytes.size());
    CKrzFile file(source);
    EXPECT_FALSE(file.HasMagic());
    EXPECT_TRUE(file.ListSamples().empty());
    KrzSampleAudio audio;
    EXPECT_EQ(file.ReadSample(42, audio), KrzError::NotPram);
    EXPECT_EQ(KrzErrorText(KrzError::NotPram), "File is not a Kurzweil PRAM file");

    for (std::size_t size : {0, 3, 4, 7}) {
        std::vector<std::uint8_t> head(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
        if (size >= 4)
            std::copy_n("PRAM", 4, head.begin());
        EXPECT_TRUE(ListTexts(head).empty()) << size;
    }
}

TEST(KrzFile, DamagedBlocksAreNeverReadPastTheirEnds) {
    // A name length that runs past the block: that sample is skipped, the scan goes on.
    KrzBuilder longName;
    longName.Add({.name = "Bad", .audio = {1}, .nameLength = 60000}).Add({.name = "Good", .audio = {1}});
    EXPECT_EQ(ListTexts(longName.Bytes()), std::vector<std::string>{"Good (pitch C 4, rate 44099)"});

    // A sample block too short to hold its header.
    KrzBuilder shortBlock;
    shortBlock.Raw(-12, 0x98, 4).Add({.name = "Good", .audio = {1}});
    EXPECT_EQ(ListTexts(shortBlock.Bytes()), std::vector<std::string>{"Good (pitch C 4, rate 44099)"});

    // Blocks and data offsets beyond the file's end.
    KrzBuilder beyond;
    beyond.Add({.name = "One", .audio = {1}}).Raw(-1000000, 0x98, 20).DataOffset(0xFFFFFFF0);
    EXPECT_EQ(ListTexts(beyond.Bytes()), std::vector<std::string>{"One (pitch C 4, rate 44099)"});

    // Cut anywhere, a file lists at most what it holds whole, and never fails.
    KrzBuilder two;
    two.Add({.name = "One", .audio = {1, 2}}).Add({.name = "Two", .audio = {3}});
    std::vector<std::uint8_t> whole = two.Bytes();
    for (std::size_t size = 0; size < whole.size(); ++size) {
        std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_LE(ListTexts(cut).size(), 2u);
    }
}

TEST(KrzFile, ReadsBigEndianAudioWithTheLoopRunningToTheEnd) {
    KrzBuilder builder;
    builder.Add({.name = "First", .audio = {100, -200}})
        .Add({.name = "Second", .period = 20833, .audio = {0x1234, -2, 32767, -32768, 7}, .loopFrame = 3});
    std::vector<std::uint8_t> bytes = builder.Bytes();
    CMemoryRiffSource source(bytes.data(), bytes.size());
    CKrzFile file(source);
    std::vector<KrzSampleEntry> entries = file.ListSamples();
    ASSERT_EQ(entries.size(), 2u);

    KrzSampleAudio audio;
    ASSERT_EQ(file.ReadSample(entries[1].headerOffset, audio), KrzError::None);
    EXPECT_EQ(Audio(audio), (std::vector<std::int16_t>{0x1234, -2, 32767, -32768, 7}));
    EXPECT_EQ(audio.rate, 48000u);
    EXPECT_EQ(audio.loopStart, 3u);
    EXPECT_EQ(audio.loopLength, 2u);

    ASSERT_EQ(file.ReadSample(entries[0].headerOffset, audio), KrzError::None);
    EXPECT_EQ(Audio(audio), (std::vector<std::int16_t>{100, -200}));
    EXPECT_EQ(audio.rate, 44099u);
    // A loop start equal to the sample's start loops the whole sample.
    EXPECT_EQ(audio.loopStart, 0u);
    EXPECT_EQ(audio.loopLength, 2u);
}

TEST(KrzFile, ALoopStartOutsideTheSampleGivesNoLoop) {
    for (long long loopStart : {0LL, 1000LL}) {
        KrzBuilder builder;
        // The first sample's 4 bytes of audio put the second's start at 1.
        builder.Add({.name = "Pad", .audio = {9, 9}})
            .Add({.name = "S", .audio = {1, 2, 3}, .loopStart = loopStart});
        KrzSampleAudio audio;
        ASSERT_EQ(ReadLast(builder.Bytes(), audio), KrzError::None);
        EXPECT_EQ(audio.frames, 3u);
        EXPECT_EQ(audio.loopLength, 0u) << loopStart;
    }
}

TEST(KrzFile, DamagedHeadersAreRefusedBeforeAnythingIsAllocated) {
    struct Case {
        KrzBuilder::Sample sample;
        KrzError error;
    } cases[] = {
        {{.name = "Backwards", .audio = {1, 2}, .start = 10, .end = 4}, KrzError::EndBeforeStart},
        {{.name = "NoRate", .period = 0, .audio = {1}}, KrzError::NoPeriod},
        {{.name = "Huge", .audio = {1}, .start = 0, .end = 0xFFFFFFFF}, KrzError::AudioBeyondFile},
        {{.name = "Far", .audio = {1}, .start = 0x40000000, .end = 0x40000001}, KrzError::AudioBeyondFile},
    };
    for (const Case& c : cases) {
        KrzBuilder builder;
        builder.Add(c.sample);
        KrzSampleAudio audio;
        EXPECT_EQ(ReadLast(builder.Bytes(), audio), c.error) << c.sample.name;
        EXPECT_EQ(audio.data, nullptr);
        EXPECT_FALSE(KrzErrorText(c.error).empty());
    }

    KrzBuilder builder;
    builder.Add({.name = "S", .audio = {1}});
    std::vector<std::uint8_t> bytes = builder.Bytes();
    CMemoryRiffSource source(bytes.data(), bytes.size());
    KrzSampleAudio audio;
    EXPECT_EQ(CKrzFile(source).ReadSample(bytes.size() - 10, audio), KrzError::HeaderBeyondFile);
}

TEST(KrzFile, AShortReadLeavesTheRestSilent) {
    std::vector<std::int16_t> samples(20000, -1);
    KrzBuilder builder;
    builder.Add({.name = "S", .audio = samples});
    std::vector<std::uint8_t> bytes = builder.Bytes();
    // The last 1001 bytes cannot be read, though the file's size says they are there.
    std::vector<std::uint8_t> cut(bytes.begin(), bytes.end() - 1001);
    ShortSource source(cut, bytes.size());
    CKrzFile file(source);
    std::vector<KrzSampleEntry> entries = file.ListSamples();
    ASSERT_EQ(entries.size(), 1u);
    KrzSampleAudio audio;
    ASSERT_EQ(file.ReadSample(entries[0].headerOffset, audio), KrzError::None);
    ASSERT_EQ(audio.frames, 20000u);
    std::vector<std::int16_t> read = Audio(audio);
    std::size_t whole = 20000 - 501; // 1001 bytes: 500 samples and one half
    EXPECT_TRUE(std::all_of(read.begin(), read.begin() + whole, [](std::int16_t s) { return s == -1; }));
    EXPECT_TRUE(std::all_of(read.begin() + whole, read.end(), [](std::int16_t s) { return s == 0; }));
}
